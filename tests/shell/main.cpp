// The window tests: each test class runs when named on the command line (ctest runs
// one class per test, from the list "--list" prints at build time); a name that
// matches no class fails. "--child-startup DIR" starts the program in DIR inside this
// process and reports every message box with the state of the start-up at that
// moment, for the tests that must see the process end.
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "gui/app_state.h"
#include "shell/application.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace {

int ChildStartup(const char* dir) {
    using namespace orbeta;
    std::filesystem::current_path(dir);
    Application app;
    test::BoxAnswerer boxes;
    boxes.onBox = [&app](const test::SeenBox& box) {
        const AppState& state = App();
        std::printf(
            "BOX %s|%s|frame=%d|visible=%d|title=%s|families=%s|maskP=%ld|sun=%.3f|printer=%d\n",
            box.title.toUtf8().constData(), box.text.toUtf8().constData(), state.frame ? 1 : 0,
            state.frame && state.frame->isVisible() ? 1 : 0,
            state.frame ? state.frame->windowTitle().toUtf8().constData() : "",
            app.RegisteredFamilies().join(",").toUtf8().constData(), state.settings.maskP,
            state.currentChart.lon[1], state.printer ? 1 : 0);
        std::fflush(stdout);
    };
    app.Start();
    std::printf("STARTED\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const auto& entry : orbeta::test::TestClasses())
            std::printf("%s\n", entry.first.c_str());
        return orbeta::test::TestClasses().empty() ? 1 : 0;
    }
    QApplication qt(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--child-startup") return ChildStartup(argv[2]);
    std::string only = argc > 1 ? argv[1] : "";
    int failures = 0, ran = 0;
    for (auto& [name, make] : orbeta::test::TestClasses()) {
        if (!only.empty() && only != name) continue;
        auto object = make();
        failures += QTest::qExec(object.get(), 1, argv);
        ++ran;
    }
    if (ran == 0) {
        std::fprintf(stderr, "no test class named \"%s\"\n", only.c_str());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
