#include "shell/application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiArea>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "aspects/ui/orb_dialogs.h"
#include "chart/ui/chart_window.h"
#include "chart/ui/derived_dialogs.h"
#include "chart/ui/display_dialog.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "core/hypothetical.h"
#include "data/settings.h"
#include "data/town_card.h"
#include "data/town_refresh.h"
#include "data/towns_check.h"
#include "data/ui/base_commands.h"
#include "forecast/report_commands.h"
#include "forecast/search_tables.h"
#include "forecast/ui/eclipse_commands.h"
#include "forecast/ui/graph_windows.h"
#include "forecast/ui/table_commands.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/help_window.h"
#include "gui/interval_dialog.h"
#include "gui/message_box.h"
#include "gui/notepad_window.h"
#include "gui/printer_settings_dialog.h"
#include "gui/progress_dialog.h"
#include "gui/qt_text.h"
#include "interp/ui/interpretation_dialog.h"
#include "interp/ui/star_commands.h"
#include "interp/ui/text_edit_dialogs.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"
#include "platform/workspace.h"
#include "rectify/ui/rectify_command.h"
#include "shell/forecast_commands.h"
#include "shell/relationship_horary_commands.h"
#include "shell/main_frame.h"
#include "shell/text_commands.h"
#include "shell/ui/configuration_commands.h"

namespace orbeta {

Application::Application() {
    InstallServices(&services_);
}

Application::~Application() {
    if (frame_) frame_->SetCloseQuery({});
    frame_.reset();
    InstallServices(nullptr);
}

void Application::RegisterFonts() {
    // A font that cannot be registered is not reported: the system substitutes one.
    for (const char* file : {"sigilum.ttf", "tabmono.ttf"})
        if (int id = QFontDatabase::addApplicationFont(file); id >= 0) fontIds_.push_back(id);
}

void Application::UnregisterFonts() {
    for (int id : fontIds_) QFontDatabase::removeApplicationFont(id);
    fontIds_.clear();
}

QStringList Application::RegisteredFamilies() const {
    QStringList families;
    for (int id : fontIds_) families += QFontDatabase::applicationFontFamilies(id);
    return families;
}

void Application::AddFrameCommands() {
    using namespace cmd::menu;
    commands_.Set(kExit, [this] { frame_->close(); });
    commands_.Set(kCascade, [this] { frame_->Cascade(); });
    commands_.Set(kTile, [this] { frame_->Tile(); });
    commands_.Set(kArrangeIcons, [this] { frame_->ArrangeIcons(); });
    commands_.Set(kCloseAll, [this] { frame_->Client()->closeAllSubWindows(); });
}

void Application::AddMenuCommands() {
    using namespace cmd::menu;
    commands_.Set(kHoroscope, [] { EnterChartAndOpenWindow(); });
    commands_.Set(kOverlay, [] { OpenOverlayOfPair(); });
    commands_.Set(kActiveBodies, [] { ChooseActiveBodies(nullptr); });
    commands_.Set(kAspectBodies, [] { ChooseAspectBodies(nullptr); });
    commands_.Set(kArcBody, [] { ChooseArcBody(nullptr); });
    commands_.Set(kHouseSystem, [] { ChooseHouseSystem(nullptr); });
    commands_.Set(kDisplaySettings, [] { EditDisplaySettings(nullptr); });
    commands_.Set(kCalculationMethods, [] { ChooseCalculationMethods(nullptr); });
    commands_.Set(kPrinterSettings, [] { EditPrinterSettings(nullptr); });
    commands_.Set(kExternalEditor, [] { ChooseExternalEditor(); });
    commands_.Set(kOrbFiles, [] { RunOrbFilesDialog(nullptr); });
    commands_.Set(kChartBase, [] { ShowChartBase(nullptr); });
    commands_.Set(kNotepad, [] { RunNotepad(nullptr); });
    commands_.Set(kChangeBase, [] { ChangeChartBase(nullptr); });
    commands_.Set(kNewBase, [] { CreateNewBase(nullptr); });
    commands_.Set(kHelp, [] { HelpWindow::Open("GenHelp"); });
    // One handler for the eight tables: the id chooses the kind.
    for (int kind = 0; kind < kTableKindCount; ++kind)
        commands_.Set(kCurrentAspects + kind,
                      [kind] { RunTableMenuCommand(kind, App().currentChart); });
    commands_.Set(kGraphicEphemeris, [] { RunGraphicEphemeris(App().frame.data()); });
    commands_.Set(kGraphicForecast, [] { RunGraphicForecast(App().frame.data()); });
    commands_.Set(kEclipses, [] { RunEclipseList(App().frame.data()); });
    commands_.Set(kSunIngress, [] { RunSunIngress(App().frame.data()); });
    commands_.Set(kLunations, [] { RunLunation(App().frame.data()); });
    commands_.Set(kInterpretationTexts, [] { RunTextEditing(nullptr); });
    commands_.Set(kNatalInterpretation, [] { RunInterpretationCommand(0); });
    commands_.Set(kChildInterpretation, [] { RunInterpretationCommand(1); });
    commands_.Set(kRelocationInterpretation, [] { RunInterpretationCommand(2); });
    commands_.Set(kFixedStarsInterpretation, [] { RunInterpretationCommand(kFixedStarsKind); });
    commands_.Set(kRectification, [] { RunRectificationCommand(App().frame.data()); });
}

void Application::AddChartWindowCommands() {
    ChartWindow::SetCommand(cmd::chart::kRiseSet,
                            [](ChartWindow& w) { RunDayReport(ProfileContext(), w.Chart1()); });
    ChartWindow::SetCommand(cmd::chart::kAgePoints, [](ChartWindow& w) {
        RunAgePointReport(w.Chart1(), App().orbTable, App().settings);
    });
    ChartWindow::SetCommand(cmd::chart::kFixedStars, [](ChartWindow& w) {
        RunStarConjunctionReport(w.Chart1(), App().settings);
    });
    ChartWindow::SetCommand(cmd::chart::kDegreeTexts, [](ChartWindow& w) {
        RunDegreeTextReport(w.Chart1(), App().settings);
    });
    ChartWindow::SetCommand(cmd::chart::kLots,
                            [](ChartWindow& w) { RunLotReport(w.Chart1(), App().settings); });
    ChartWindow::SetCommand(cmd::chart::kMidpoints, [](ChartWindow& w) {
        RunMidpointReport(w.Chart1(), App().orbTable, App().settings);
    });
    // The interval reports ask their interval first; the window's chart stays as it is.
    for (int id : {cmd::chart::kDirectionsLongitude, cmd::chart::kDirectionsRightAscension,
                   cmd::chart::kProgressedMoon})
        ChartWindow::SetCommand(id, [id](ChartWindow& w) {
            double start = 0, end = 0;
            if (!RunIntervalDialog(&w, App().settings.interV, start, end)) return;
            RunDirectionReport(ProfileContext(), id, w.Chart1(), App().orbTable, App().settings,
                               start, end);
        });
    // The returns to this window's chart, as if it were the current chart.
    ChartWindow::SetCommand(cmd::chart::kReturnsTable, [](ChartWindow& w) {
        RunTableMenuCommand(kTableReturns, w.Chart1(), &w);
    });
    ChartWindow::SetCommand(cmd::chart::kStoreInBase,
                            [](ChartWindow& w) { StoreChartInBase(&w, w.Chart1()); });
    ChartWindow::SetCommand(cmd::chart::kSolarLunar,
                            [](ChartWindow& w) { RunSolarLunar(&w, w.Chart1()); });
    ChartWindow::SetCommand(cmd::chart::kInterpretation,
                            [](ChartWindow& w) { RunInterpretation(&w, w.Chart1(), 0); });
    ChartWindow::SetCommand(cmd::chart::kChartAnalysis,
                            [](ChartWindow& w) { RunAnalysisTable(w.Chart1()); });
    ChartWindow::SetCommand(cmd::chart::kAsteroids,
                            [](ChartWindow& w) { RunAsteroidTable(w.Chart1()); });
    ChartWindow::SetCommand(cmd::chart::kHypotheticalPlanets,
                            [](ChartWindow& w) { RunHypotheticalTable(w.Chart1()); });
    // Relocation asks its place with the chart window's dialog 1019.
    SetNewPlaceAsker([](QWidget* parent, const ChartRecord& chart) -> std::optional<NewPlace> {
        auto place = RunRelocationDialog(parent, chart);
        if (!place) return std::nullopt;
        return NewPlace{place->town, place->latitude, place->longitude};
    });
}

void Application::Start() {
    AppState& app = App();
    RegisterFonts();

    LoadUiTexts("orbtw.t");
    LoadProfile(kProfileFile, app.settings, app.currentChart);
    app.orbTable = LoadOrbSlot(app.settings.orbFiles, kOrbSlotCurrent);

    AddFrameCommands();
    AddMenuCommands();
    InstallBaseDialogs();
    InstallTextWindows(services_);
    InstallChartWindowOpener();
    AddChartWindowCommands();
    AddForecastCommands(commands_);
    AddRelationshipHoraryCommands(commands_);
    frame_ = std::make_unique<MainFrame>(commands_);
    frame_->setWindowTitle(FromAnsi(LookupText("UW")));
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    frame_->resize(screen.width() - 10, screen.height() - 25);
    frame_->move(0, 0);
    frame_->SetCloseQuery([this] { return CloseQuery(); });
    app.frame = frame_.get();
    app.client = frame_->Client();
    services_.SetBeforeQuit([this] { SaveSettings(); });
    frame_->show();

    OpenEphemeris();
    Computation c(ProfileContext());
    // The hypothetical bodies' elements are read with the profile, so that a fault in
    // them is told now, with the start-up charts, not in the middle of a later search.
    c.context.hypothetical = CurrentHypotheticalSet(c.diagnostics);
    ComputeStartupCharts(c, app.currentChart, app.inputChart);
    TellDiagnostics(c.diagnostics);

    app.printer = std::make_unique<QPrinter>();
    OpenChart(app.currentChart, NewChartText(app.currentChart));
}

void Application::SaveSettings() {
    if (!SaveProfile(kProfileFile, App().settings, App().currentChart))
        services_.Warning(Format("Не записывается файл %s"_cp, kProfileFile));
}

bool Application::CloseQuery() {
    // A running search owns the program until it ends or is stopped.
    if (ProgressActive()) return false;
    SaveSettings();
    auto answer =
        ShowMessageBox(frame_ ? frame_->Client() : nullptr, QMessageBox::Question, "Orbeta",
                       "Закончить Работу?"_cp, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return false;
    UnregisterFonts();
    App().printer.reset();
    return true;
}

void StampProfileWithPresentMoment(const std::string& profilePath) {
    auto bytes = ReadFileBytes(profilePath);
    if (!bytes) return;
    Settings settings;
    ChartRecord chart = DefaultProfileChart();
    ReadProfileText(*bytes, settings, chart);
    using namespace std::chrono;
    double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    double jdUT = 2440587.5 + seconds / 86400.0;
    chart.jdLocal = jdUT - chart.gmtCorr;
    SaveProfile(profilePath, settings, chart);
}

namespace {

// New town data replace some forty thousand cards, a few seconds' work: the progress
// dialog shows it. It has no "Прервать": a refresh cut short is only done again at the
// next start.
TownRefresh RefreshTownsShowingProgress() {
    std::unique_ptr<ProgressDialog> dialog;
    auto progress = [&dialog](size_t done, size_t total) {
        if (!dialog) {
            dialog = std::make_unique<ProgressDialog>(static_cast<int>(total), nullptr);
            dialog->setWindowTitle(FromAnsi("Обновление справочника городов"_cp));
            if (auto* abort = dialog->findChild<QPushButton*>("2000")) abort->setEnabled(false);
            dialog->show();
        }
        dialog->Advance(static_cast<int>(done) - dialog->Value());
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    return CheckTownCards(TemplateDir(), kTownsStem, progress);
}

void Usage() {
    std::fprintf(stderr, "usage: orbeta [--workspace DIR]\n");
}

// For measuring the start (bench/startup.sh): with ORBETA_QUIT_AFTER_FIRST_CHART set,
// the program ends as soon as the first chart window has been painted and prints the
// time since it entered main.
class FirstChartTimer : public QObject {
  public:
    explicit FirstChartTimer(std::chrono::steady_clock::time_point start) : start_(start) {}
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<ChartWindow*>(object) && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [this] {
                std::chrono::duration<double, std::milli> ms =
                    std::chrono::steady_clock::now() - start_;
                std::fprintf(stderr, "orbeta: first chart painted %.1f ms after start\n",
                             ms.count());
                std::fflush(stderr);
                std::_Exit(0);
            });
        }
        return false;
    }

  private:
    std::chrono::steady_clock::time_point start_;
    bool seen_ = false;
};

}  // namespace

int RunOrbeta(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    QApplication qt(argc, argv);
    FirstChartTimer firstChart(start);
    if (std::getenv("ORBETA_QUIT_AFTER_FIRST_CHART")) qt.installEventFilter(&firstChart);
    // Qt's own dialogs format dates, sizes and file types in Russian, whatever the
    // system's locale.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The standard dialogs of Qt (print, page set-up, files, colours) speak Russian
    // like the rest of the program, when the system has Qt's translations.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qt.installTranslator(&qtTexts);
    // Numbers in files and formats are read and written with a decimal point,
    // whatever the user's locale (Qt set it from the environment).
    std::setlocale(LC_NUMERIC, "C");
    std::string workspace;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--workspace" && i + 1 < argc) {
            workspace = argv[++i];
        } else if (arg.rfind("--workspace=", 0) == 0) {
            workspace = arg.substr(std::strlen("--workspace="));
        } else {
            Usage();
            return 2;
        }
    }
    Application app;
    std::string error;
    std::vector<std::string> fresh;
    if (!EnterWorkspace(workspace, error, &fresh))
        app.Services().Fatal(
            Format("Не удается подготовить рабочий каталог: %s"_cp, Utf8ToAnsi(error).c_str()));
    for (const auto& name : fresh)
        if (name == kProfileFile) StampProfileWithPresentMoment(kProfileFile);
    // The towns store also keeps the user's cards, so new towns come card by card.
    if (RefreshTownsShowingProgress() == TownRefresh::Failed)
        app.Services().Warning("Справочник городов не обновлен"_cp);
    app.Start();
    return qt.exec();
}

}  // namespace orbeta
