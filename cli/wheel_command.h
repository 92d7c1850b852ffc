#pragma once
// The wheel command's arguments, and the drawing, which only orbeta-cli-draw holds:
// it alone links the drawing libraries, so the other commands start without loading
// them. orbeta-cli hands a wheel command over to it, same arguments, same workspace.
#include <string>
#include <utility>

#include "chart_args.h"

namespace orbeta::cli {

struct WheelArgs {
    ChartArgs chart;
    PartnerArgs partner;
    std::string out;
    std::string size;
    bool print = false;
    bool tables = false;  // with --print: the aspect grid under the wheel
};

// WIDTHxHEIGHT, each 1..20000; a CommandError otherwise.
std::pair<int, int> ParseWheelSize(const std::string& text);

// Draws the wheel file (orbeta-cli-draw); in orbeta-cli it is never reached.
void DrawWheel(const WheelArgs& args);

// Before the workspace is entered: in orbeta-cli, replaces the process by
// orbeta-cli-draw with the same arguments and returns only when that fails (exit
// status 1, the message printed); in orbeta-cli-draw returns -1 to draw here.
int HandOverDrawing(char** argv);

}  // namespace orbeta::cli
