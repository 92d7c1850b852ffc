#include "rectify/ui/rectify_command.h"

#include <QMdiSubWindow>
#include <cstring>
#include <filesystem>
#include <optional>

#include "aspects/orb_file.h"
#include "core/angles.h"
#include "core/dated_line.h"
#include "gui/app_state.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/report.h"
#include "platform/services.h"
#include "rectify/ui/rectify_dialog.h"
#include "rectify/ui/rectify_window.h"

namespace orbeta {
namespace {

// The first free "rs0001.tmp" … of the working directory; empty when all are taken.
std::filesystem::path FreeResultFile() {
    std::error_code ec;
    for (int n = 1; n <= 9999; ++n) {
        std::filesystem::path p = Format("rs%04d.tmp", n);
        if (!std::filesystem::exists(p, ec)) return p;
    }
    return {};
}

void CopyText(char (&field)[30], const std::string& text) {
    std::memset(field, 0, sizeof field);
    std::strncpy(field, text.c_str(), sizeof field - 1);
}

}  // namespace

RectifyWindow* RunRectificationCommand(QWidget* parent) {
    AppState& app = App();
    RectifyDialogData d;
    {  // the dialog hands the focus back when it goes: before the window opens
        RectifyDialog dialog(parent, app.settings, app.currentChart);
        if (dialog.exec() != QDialog::Accepted) return nullptr;
        d = dialog.Data();
    }
    RectifyParams p = d.params;
    ChartRecord natal = app.currentChart;
    CopyText(natal.place, d.town);
    natal.latitude = d.latitude;
    natal.longitude = StoredLongitude(d.longitude);
    natal.houseSystem = static_cast<int16_t>(app.settings.houseSet);
    natal.gmtCorr = p.correction;
    for (int k = 0; k < kMovingKinds; ++k)
        p.orbs[k] = LoadOrbSlot(app.settings.orbFiles, kOrbSlotTransits + k);

    std::optional<EventFile> file;
    if (!app.settings.sbName.empty()) file = ReadEventFile(PathOfProfileName(app.settings.sbName));
    if (!file) {
        Svc().Warning(Format("Нет файла описания событий '%s'"_cp, app.settings.sbName.c_str()));
        return nullptr;
    }
    std::filesystem::path resultFile = FreeResultFile();
    if (resultFile.empty()) {
        Svc().Warning("Не создается временный файл результатов"_cp);
        return nullptr;
    }

    int total = CandidateCount(p.startLocal, p.endLocal, p.stepSeconds);
    StartProgress(total);
    p.progress = [](int, int) {
        StepProgress(1);
        return ProgressAborted();
    };
    Computation c(ProfileContext());
    RectifyResult res = RunRectification(c, p, *file, natal, resultFile);
    EndProgress();
    p.progress = nullptr;
    TellDiagnostics(c.diagnostics);
    if (!res.ok) {
        std::error_code ec;
        std::filesystem::remove(resultFile, ec);
        Svc().Warning(res.error);
        return nullptr;
    }

    RectifyRun run;
    run.params = p;
    run.natal = natal;
    run.resultFile = resultFile;
    run.best = res.best;
    for (const CandidateScore& s : res.candidates) run.totals.push_back(s.total);
    auto* window = new RectifyWindow(std::move(run));
    window->ShowInFrame(FromAnsi("Ректификация"_cp));
    if (p.report && BeginReport("Ректификация - Отчет"_cp)) {
        ReportWrite(res.report);
        ShowReport("Ректификация - Отчет"_cp, "Rect", ReportOriginOf(natal));
    }
    return window;
}

}  // namespace orbeta
