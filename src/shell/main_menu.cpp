#include "shell/main_menu.h"

#include "platform/codepage.h"

namespace orbeta {
namespace {

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
        Item("Гороскоп"_cp, kCmdHoroscope),
        Popup(
            "Интерпретация"_cp,
            {Item("Натальная карта"_cp, 901), Item("Гороскоп ребенка"_cp, 902),
             Item("Переезд"_cp, 903), Item("Хорарная астрология"_cp, 904), Item("Прогноз"_cp, 905),
             Item("Неподвижные звезды"_cp, 906), Item("Взаимоотношения"_cp, 907)}),
        Popup("Анализ"_cp,
              {Item("Наложение карт"_cp, 201),
               Popup("Специальные карты"_cp,
                     {Item("Вход Солнца в градус"_cp, 801), Item("Полно/Ново-луния"_cp, 802)}),
               Popup("Таблицы"_cp,
                     {Item("Текущие аспекты"_cp, 701), Item("Текущие аспекты к выбранным"_cp, 702),
                      Item("Аспекты к натальной карте"_cp, 703), Item("Ингрессии"_cp, 704),
                      Item("Аспекты к заданным точкам"_cp, 705), Item("Петли"_cp, 706),
                      Item("Петлевые аспекты"_cp, 707), Item("Возвращения"_cp, 708), Separator(),
                      Item("Затмения"_cp, 604)}),
               Item("Графические эфемериды"_cp, 209),
               Popup("Хорарная астрология"_cp, {Item("Хорарные аспекты мгновенные"_cp, 1001),
                                                Item("Хорарные аспекты суточные"_cp, 1002),
                                                Item("Хорарная(Элективная) карта"_cp, 1003),
                                                Item("Ответ на вопрос"_cp, 1004)}),
               Item("Графический прогноз"_cp, 210), Item("Ректификация"_cp, 211)}),
        Popup("Конфигурация"_cp,
              {Item("Планеты"_cp, 301), Item("Аспекты к планетам"_cp, 302),
               Item("Планетные дуги"_cp, 303), Separator(), Item("Орбисы"_cp, 312),
               Item("Дома"_cp, 304), Separator(), Item("Графическое представление и цвета"_cp, 305),
               Item("Методы вычислений"_cp, 306), Separator(), Item("Настройка принтера"_cp, 310),
               Item("Установка внешнего редактора"_cp, 311),
               Item("Редактирование текстов интерпретации"_cp, 314)}),
        Popup("  База "_cp, {Item("База данных"_cp, 401), Item("Блокнот (Файлер)"_cp, 402),
                             Item("Смена базы"_cp, 404), Item("Создание базы"_cp, 405)}),
        Popup("   Окна "_cp, {Item("Каскад"_cp, kCmdCascade), Item("Мозаика"_cp, kCmdTile),
                              Item("Упорядочить Иконки"_cp, kCmdArrangeIcons), Separator(),
                              Item("Закрыть все"_cp, kCmdCloseAll)}),
        Item("Помощь"_cp, kCmdHelp),
        Item("Выход"_cp, kCmdExit),
    };
}

}  // namespace

const std::vector<MenuEntry>& MainMenu() {
    static const std::vector<MenuEntry> menu = Build();
    return menu;
}

}  // namespace orbeta
