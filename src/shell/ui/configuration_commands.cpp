#include "shell/ui/configuration_commands.h"

#include "core/ephemeris.h"
#include "gui/app_state.h"
#include "gui/choice_dialogs.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/journal.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {

namespace {
std::vector<std::string> BodyNames() {
    std::vector<std::string> names;
    for (int id = SUN; id <= LIL; ++id) names.push_back(PlanetName(id));
    return names;
}
}  // namespace

void ChooseActiveBodies(QWidget* parent) {
    RunCheckBoxDialog(parent, 1002, "InsP", "Выбор активных планет"_cp, BodyNames(),
                      App().settings.maskP);
}

void ChooseAspectBodies(QWidget* parent) {
    RunCheckBoxDialog(parent, 1002, "InsPA", LookupText("VAPL"), BodyNames(), App().settings.maskA);
}

void ChooseArcBody(QWidget* parent) {
    uint8_t& body = App().settings.ov[kOptArcBody];
    int chosen =
        RunRadioDialog(parent, 1007, "PlanDug", "Выбор планеты для метода планетных дуг"_cp,
                       BodyNames(), 501, body > 14 ? 0 : body);
    if (chosen >= 0) body = static_cast<uint8_t>(chosen);
}

void ChooseHouseSystem(QWidget* parent) {
    std::vector<std::string> names;
    for (int code = 1; code <= 11; ++code) names.push_back(HouseSystemName(code));
    int& houseSet = App().settings.houseSet;
    int chosen = RunRadioDialog(parent, 1004, "Hous", "Система Домов"_cp, names, 201, houseSet - 1);
    // The buttons are counted from 0 and the systems from 1.
    if (chosen >= 0) houseSet = chosen + 1;
}

void ChooseCalculationMethods(QWidget* parent) {
    Settings& s = App().settings;
    MethodsDialog dialog(parent, s);
    if (dialog.exec() != QDialog::Accepted) return;
    bool wasDebug = s.Option(kOptDebugJournal);
    dialog.StoreInto(s);
    // Switched on now, the journal keeps what this run already wrote.
    if (s.Option(kOptDebugJournal) != wasDebug)
        TheJournal().SetDebug(s.Option(kOptDebugJournal), false);
}

}  // namespace orbeta
