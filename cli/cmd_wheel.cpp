// orbeta-cli wheel: the chart wheel into a PNG, SVG or PDF file (drawn by
// orbeta-cli-draw, see wheel_command.h).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "commands.h"
#include "wheel_command.h"

namespace orbeta::cli {
namespace {

bool IsWheelFileName(const std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == "png" || ext == "svg" || ext == "pdf";
}

}  // namespace

std::pair<int, int> ParseWheelSize(const std::string& text) {
    constexpr int kLargestSide = 20000;
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 ||
        w > kLargestSide || h > kLargestSide)
        throw CommandError("the size must be WIDTHxHEIGHT, each 1.." +
                           std::to_string(kLargestSide) + ": " + text);
    return {w, h};
}

void AddWheelCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "wheel", "the chart wheel (with a partner: both charts) as a PNG, SVG or PDF file");
    auto args = std::make_shared<WheelArgs>();
    AddChartOptions(*cmd, args->chart);
    AddPartnerOptions(*cmd, args->partner);
    cmd->add_option("--out", args->out, "output file; .png, .svg or .pdf")->required();
    cmd->add_option("--size", args->size,
                    "picture size WIDTHxHEIGHT in pixels (default 1600x900; with --print "
                    "1240x1754, and a PDF is an A4 page)");
    cmd->add_flag("--print", args->print, "the printer layout");
    cmd->add_flag("--tables", args->tables, "with --print: the aspect grid under the wheel");
    cmd->callback([cmd, args, &action] {
        FinishChartArgs(*cmd, args->chart);
        FinishPartnerArgs(*cmd, args->partner);
        if (!IsWheelFileName(args->out))
            throw CommandError("the output file must end in .png, .svg or .pdf: " + args->out);
        if (!args->size.empty()) ParseWheelSize(args->size);
        if (args->tables && !args->print) throw CommandError("--tables needs --print");
        // The workspace becomes the working directory: a relative name is the invoker's.
        std::error_code ec;
        args->out = std::filesystem::absolute(args->out, ec).string();
        action.ephemeris = true;
        action.draws = true;
        action.run = [args] { DrawWheel(*args); };
    });
}

}  // namespace orbeta::cli
