// orbeta-cli without the drawing libraries: a wheel command, and a graph into a file, go
// to orbeta-cli-draw.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "commands.h"
#include "graph_command.h"
#include "wheel_command.h"

namespace orbeta::cli {

int HandOverDrawing(char** argv) {
    // orbeta-cli-draw is built and kept beside this program.
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = argv[0];
    std::string draw = (self.parent_path() / "orbeta-cli-draw").string();
    ::execv(draw.c_str(), argv);
    std::fprintf(stderr, "orbeta-cli: cannot start %s: %s\n", draw.c_str(), std::strerror(errno));
    return 1;
}

void DrawWheel(const WheelArgs&) {
    throw CommandError("the wheel is drawn by orbeta-cli-draw");
}

void DrawGraph(const GraphArgs&) {
    throw CommandError("the graphs are drawn by orbeta-cli-draw");
}

}  // namespace orbeta::cli
