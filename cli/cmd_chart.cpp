#include <cstdio>

#include "chart_args.h"
#include "commands.h"
#include "core/angles.h"
#include "core/calendar.h"

namespace orbeta::cli {

void PrintChartTable(const ChartRecord& c) {
    std::printf("%s  UT %s  jdCalc %.6f\n", DateTimeText(c.jdLocal).c_str(),
                DateTimeText(c.jdUT).c_str(), c.jdCalc);
    for (int i = SUN; i <= LIL; ++i) {
        if (!BodyAvailable(c, i)) {
            std::printf("%-4s  --\n", BodyAbbreviation(i));
            continue;
        }
        std::printf("%-4s %s  %9.4f %10.5f%s\n", BodyAbbreviation(i),
                    PositionText(c.lon[i]).c_str(), c.lat[i], c.speed[i],
                    c.speed[i] < 0 ? " R" : "");
    }
    bool houses = false;
    for (int i = 1; i <= 12; ++i) houses = houses || c.cusp[i] != 0.0;
    if (houses)
        for (int i = 1; i <= 12; ++i) std::printf("H%-3d %s\n", i, PositionText(c.cusp[i]).c_str());
}

void AddChartCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("chart", "compute a chart");
    auto args = std::make_shared<ChartArgs>();
    auto json = std::make_shared<bool>(false);
    AddChartOptions(*cmd, *args);
    cmd->add_flag("--json", *json, "JSON output");
    cmd->callback([cmd, args, json, &action] {
        FinishChartArgs(*cmd, *args);
        action.ephemeris = true;
        action.run = [args, json] {
            ChartRecord c = ComputeChartOf(*args);
            if (*json)
                std::printf("%s\n", ChartJson(c).dump().c_str());
            else
                PrintChartTable(c);
        };
    });
}

}  // namespace orbeta::cli
