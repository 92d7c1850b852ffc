// orbeta-cli: the engine from the command line, for batch work, scripts and tests.
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/ephemeris.h"
#include "platform/ui_text.h"
#include "platform/workspace.h"
#include "wheel_command.h"

int main(int argc, char** argv) {
    using namespace orbeta::cli;
    CLI::App app{"Orbeta command line"};
    app.require_subcommand(1);
    std::string workspace;
    app.add_option("--workspace", workspace, "working directory (default: the per-user workspace)");
    Action action;
    AddCalendarCommand(app, action);
    AddChartCommand(app, action);
    AddAspectsCommand(app, action);
    AddHousesCommand(app, action);
    AddDbCommand(app, action);
    AddTownCommand(app, action);
    AddWheelCommand(app, action);
    AddReportCommand(app, action);
    AddSearchCommand(app, action);
    AddEclipsesCommand(app, action);
    AddReturnCommands(app, action);
    AddTextBaseCommand(app, action);
    AddRectifyCommand(app, action);
    AddTableCommand(app, action);
    AddInterpretCommand(app, action);
    AddGraphCommand(app, action);
    AddForecastCommand(app, action);
    AddDegreeReportCommands(app, action);
    AddStarCommands(app, action);
    AddSynastryCommands(app, action);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "orbeta-cli: %s\n", e.what());
        return e.get_exit_code() ? e.get_exit_code() : 2;
    } catch (const CommandError& e) {
        std::fprintf(stderr, "orbeta-cli: %s\n", e.what());
        return 1;
    }
    if (action.draws) {
        // Before the workspace is entered, so that relative names stay the invoker's.
        int status = HandOverDrawing(argv);
        if (status >= 0) return status;
    }
    std::string error;
    if (!orbeta::EnterWorkspace(workspace, error)) {
        std::fprintf(stderr, "orbeta-cli: %s\n", error.c_str());
        return 1;
    }
    orbeta::LoadUiTexts();  // messages such as the polar house warning
    try {
        if (action.ephemeris) orbeta::OpenEphemeris();
        if (action.run) action.run();
    } catch (const CommandError& e) {
        std::fprintf(stderr, "orbeta-cli: %s\n", e.what());
        return 1;
    }
    return action.status;
}
