#include "shell/application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiArea>
#include <QPrinter>
#include <QScreen>
#include <QTranslator>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "chart/ui/chart_window.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "data/settings.h"
#include "data/town_card.h"
#include "data/town_refresh.h"
#include "data/ui/base_commands.h"
#include "forecast/report_commands.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"
#include "platform/workspace.h"
#include "shell/app_state.h"
#include "shell/chart_opener.h"
#include "shell/main_frame.h"
#include "shell/message_box.h"
#include "shell/qt_text.h"
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
    commands_.Set(kCmdExit, [this] { frame_->close(); });
    commands_.Set(kCmdCascade, [this] { frame_->Client()->cascadeSubWindows(); });
    commands_.Set(kCmdTile, [this] { frame_->Client()->tileSubWindows(); });
    commands_.Set(kCmdArrangeIcons, [this] { frame_->ArrangeIcons(); });
    commands_.Set(kCmdCloseAll, [this] { frame_->Client()->closeAllSubWindows(); });
}

void Application::AddChartWindowCommands() {
    ChartWindow::SetCommand(2011,
                            [](ChartWindow& w) { RunDayReport(ProfileContext(), w.Chart1()); });
    ChartWindow::SetCommand(2012, [](ChartWindow& w) {
        RunAgePointReport(w.Chart1(), App().orbTable, App().settings);
    });
    ChartWindow::SetCommand(2013, [](ChartWindow& w) { StoreChartInBase(&w, w.Chart1()); });
}

void Application::Start() {
    AppState& app = App();
    RegisterFonts();

    LoadUiTexts("orbtw.t");
    LoadProfile(kProfileFile, app.settings, app.currentChart);
    app.orbTable = LoadOrbSlot(app.settings.orbFiles, kOrbSlotCurrent);

    AddFrameCommands();
    AddConfigurationCommands(commands_);
    AddBaseCommands(commands_);
    InstallTextWindows(services_, commands_);
    commands_.Set(200, [] { EnterChartAndOpenWindow(); });
    commands_.Set(201, [] { OpenOverlayOfPair(); });
    InstallChartWindowOpener();
    AddChartWindowCommands();
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

void Usage() {
    std::fprintf(stderr, "usage: orbeta [--workspace DIR]\n");
}

}  // namespace

int RunOrbeta(int argc, char** argv) {
    QApplication qt(argc, argv);
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
    if (RefreshTownCards(TemplateDir() + "/" + kTownsStem, kTownsStem) == TownRefresh::Failed)
        app.Services().Warning("Справочник городов не обновлен"_cp);
    app.Start();
    return qt.exec();
}

}  // namespace orbeta
