#include "shell/main_menu.h"

#include "platform/codepage.h"

namespace orbeta {
namespace {

using namespace cmd::menu;

MenuEntry Item(const char* text, int id) {
    return {MenuEntry::Command, text, id, {}};
}
MenuEntry Popup(const char* text, std::vector<MenuEntry> items) {
    return {MenuEntry::Popup, text, 0, std::move(items)};
}
MenuEntry Separator() {
    return {MenuEntry::Separator, "", 0, {}};
}

std::vector<MenuEntry> Build() {
    return {
        Item("Гороскоп"_cp, kHoroscope),
        Popup("Интерпретация"_cp, {Item("Натальная карта"_cp, kNatalInterpretation),
                                   Item("Гороскоп ребенка"_cp, kChildInterpretation),
                                   Item("Переезд"_cp, kRelocationInterpretation),
                                   Item("Хорарная астрология"_cp, kHoraryInterpretation),
                                   Item("Прогноз"_cp, kForecastInterpretation),
                                   Item("Неподвижные звезды"_cp, kFixedStarsInterpretation),
                                   Item("Взаимоотношения"_cp, kRelationshipInterpretation)}),
        Popup(
            "Анализ"_cp,
            {Item("Наложение карт"_cp, kOverlay),
             Popup("Специальные карты"_cp, {Item("Вход Солнца в градус"_cp, kSunIngress),
                                            Item("Полно/Ново-луния"_cp, kLunations)}),
             Popup("Таблицы"_cp,
                   {Item("Текущие аспекты"_cp, kCurrentAspects),
                    Item("Текущие аспекты к выбранным"_cp, kCurrentAspectsToChosen),
                    Item("Аспекты к натальной карте"_cp, kAspectsToNatal),
                    Item("Ингрессии"_cp, kIngresses),
                    Item("Аспекты к заданным точкам"_cp, kAspectsToPoints),
                    Item("Петли"_cp, kLoops), Item("Петлевые аспекты"_cp, kLoopAspects),
                    Item("Возвращения"_cp, kReturns), Separator(), Item("Затмения"_cp, kEclipses)}),
             Item("Графические эфемериды"_cp, kGraphicEphemeris),
             Popup("Хорарная астрология"_cp,
                   {Item("Хорарные аспекты мгновенные"_cp, kHoraryAspectsInstant),
                    Item("Хорарные аспекты суточные"_cp, kHoraryAspectsDaily),
                    Item("Хорарная(Элективная) карта"_cp, kHoraryChart),
                    Item("Ответ на вопрос"_cp, kHoraryAnswer)}),
             Item("Графический прогноз"_cp, kGraphicForecast),
             Item("Ректификация"_cp, kRectification)}),
        Popup("Конфигурация"_cp,
              {Item("Планеты"_cp, kActiveBodies), Item("Аспекты к планетам"_cp, kAspectBodies),
               Item("Планетные дуги"_cp, kArcBody), Separator(), Item("Орбисы"_cp, kOrbFiles),
               Item("Дома"_cp, kHouseSystem), Separator(),
               Item("Графическое представление и цвета"_cp, kDisplaySettings),
               Item("Методы вычислений"_cp, kCalculationMethods), Separator(),
               Item("Настройка принтера"_cp, kPrinterSettings),
               Item("Установка внешнего редактора"_cp, kExternalEditor),
               Item("Редактирование текстов интерпретации"_cp, kInterpretationTexts)}),
        Popup("  База "_cp,
              {Item("База данных"_cp, kChartBase), Item("Блокнот (Файлер)"_cp, kNotepad),
               Item("Смена базы"_cp, kChangeBase), Item("Создание базы"_cp, kNewBase)}),
        Popup("   Окна "_cp, {Item("Каскад"_cp, kCascade), Item("Мозаика"_cp, kTile),
                              Item("Упорядочить Иконки"_cp, kArrangeIcons), Separator(),
                              Item("Закрыть все"_cp, kCloseAll)}),
        Item("Помощь"_cp, kHelp),
        Item("Выход"_cp, kExit),
    };
}

}  // namespace

const std::vector<MenuEntry>& MainMenu() {
    static const std::vector<MenuEntry> menu = Build();
    return menu;
}

}  // namespace orbeta
