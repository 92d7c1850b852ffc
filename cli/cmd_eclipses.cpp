// orbeta-cli eclipses: the eclipse list of an interval, as the eclipse report writes it.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "chart_args.h"
#include "commands.h"
#include "core/chart_record.h"
#include "core/ephemeris.h"
#include "forecast/eclipses.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

struct EclipseArgs {
    std::string from, to;
    std::string only;
    double gmtHours = 0;
    bool json = false;
};

void Run(const EclipseArgs& a) {
    double from = DateArgument(a.from), to = DateArgument(a.to);
    if (to < from) throw CommandError("Конец интервала раньше начала");
    Computation c;
    std::vector<EclipseRecord> list;
    if (a.only != "lunar") FindEclipses(c, list, from, to, kSolarEclipse);
    if (a.only != "solar") FindEclipses(c, list, from, to, kLunarEclipse);
    double correction = a.gmtHours / 24.0;
    std::string text = EclipseListText(c, list, correction);
    if (!a.json) {
        std::string report = " " + EclipseTitleLine(from, to) + "\n " + LookupText("Mark") + "\n";
        std::fputs(Utf8((report + text).c_str()).c_str(), stdout);
    } else {
        std::stable_sort(
            list.begin(), list.end(),
            [](const EclipseRecord& x, const EclipseRecord& y) { return x.moment < y.moment; });
        nlohmann::ordered_json out;
        out["from"] = from;
        out["to"] = to;
        out["eclipses"] = nlohmann::ordered_json::array();
        for (const auto& e : list) {
            int body = e.luminary == kLunarEclipse ? MON : SUN;
            std::string line = EclipseListText(c, {e}, correction);
            if (!line.empty() && line.back() == '\n') line.pop_back();
            out["eclipses"].push_back({{"moment", e.moment},
                                       {"luminary", e.luminary},
                                       {"type", e.type},
                                       {"typeName", Utf8(EclipseTypeName(e.type).c_str())},
                                       {"longitude", BodyLongitude(c, e.moment, body)},
                                       {"line", Utf8(line.c_str())}});
        }
        std::printf("%s\n", out.dump().c_str());
    }
    TellDiagnostics(c.diagnostics);
}

}  // namespace

void AddEclipsesCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("eclipses", "solar and lunar eclipses of an interval");
    auto a = std::make_shared<EclipseArgs>();
    cmd->add_option("--from", a->from, "beginning, \"DD.MM.YYYY[ HH:MM:SS]\" (UT)")->required();
    cmd->add_option("--to", a->to, "end, \"DD.MM.YYYY[ HH:MM:SS]\" (UT), not included")->required();
    cmd->add_option("--only", a->only, "solar or lunar eclipses only")
        ->check(CLI::IsMember({"solar", "lunar"}));
    cmd->add_option("--gmt", a->gmtHours, "hours added to local time to get UT: local moments")
        ->check(CLI::Range(-24.0, 24.0));
    cmd->add_flag("--json", a->json, "JSON output");
    cmd->callback([a, &action] {
        action.ephemeris = true;
        action.run = [a] { Run(*a); };
    });
}

}  // namespace orbeta::cli
