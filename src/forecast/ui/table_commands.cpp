#include "forecast/ui/table_commands.h"

#include "forecast/search_tables.h"
#include "forecast/ui/table_dialog.h"
#include "gui/app_state.h"

namespace orbeta {
namespace {

// The records of the last search stay in the working directory until the next one.
constexpr const char* kHitFile = "allob.tmp";
// Option element of the tables' time precision: 0 seconds, 1 minutes, other date only.
constexpr int kOptTablePrecision = 3;

}  // namespace

bool RunTableMenuCommand(int kind, const ChartRecord& base, QWidget* parent) {
    AppState& app = App();
    auto request = RunTableDialog(parent, kind, app.settings, &app.orbTable);
    if (!request) return false;
    request->pairs = MakePairs(kind, *request, base);
    return RunTableCommand(ProfileContext(), kind, *request, base, kHitFile,
                           app.settings.ov[kOptTablePrecision]);
}

}  // namespace orbeta
