#pragma once
// The commands of orbeta-cli; each registers its options and its action.
#include <CLI/CLI.hpp>
#include <functional>
#include <stdexcept>
#include <string>

namespace orbeta::cli {

// A failure of a command: the message goes to stderr, the exit status is 1.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Actions run after the workspace is entered; ephemeris says whether the command
// needs the ephemeris opened first.
struct Action {
    std::function<void()> run;
    bool ephemeris = false;
    bool draws = false;  // needs the drawing libraries: see wheel_command.h
    int status = 0;      // exit status of an action that ran to its end
};

void AddCalendarCommand(CLI::App& app, Action& action);
void AddChartCommand(CLI::App& app, Action& action);
void AddAspectsCommand(CLI::App& app, Action& action);
void AddHousesCommand(CLI::App& app, Action& action);
void AddDbCommand(CLI::App& app, Action& action);
void AddTownCommand(CLI::App& app, Action& action);
void AddWheelCommand(CLI::App& app, Action& action);
void AddReportCommand(CLI::App& app, Action& action);
void AddSearchCommand(CLI::App& app, Action& action);
void AddEclipsesCommand(CLI::App& app, Action& action);
void AddReturnCommands(CLI::App& app, Action& action);
void AddTextBaseCommand(CLI::App& app, Action& action);
void AddRectifyCommand(CLI::App& app, Action& action);
void AddTableCommand(CLI::App& app, Action& action);
void AddInterpretCommand(CLI::App& app, Action& action);
void AddGraphCommand(CLI::App& app, Action& action);
void AddForecastCommand(CLI::App& app, Action& action);
void AddDegreeReportCommands(CLI::App& app, Action& action);
void AddStarCommands(CLI::App& app, Action& action);
void AddSynastryCommands(CLI::App& app, Action& action);

}  // namespace orbeta::cli
