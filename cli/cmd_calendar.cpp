#include <cstdio>
#include <nlohmann/json.hpp>

#include "chart_args.h"
#include "commands.h"
#include "core/calendar.h"

namespace orbeta::cli {

void AddCalendarCommand(CLI::App& app, Action& action) {
    auto* cmd =
        app.add_subcommand("calendar", "Julian day of a date text, or texts of a Julian day");
    struct Args {
        std::string date;
        double jd = 0;
        bool json = false;
    };
    auto args = std::make_shared<Args>();
    auto* date = cmd->add_option("--date", args->date, "date and time text DD.MM.YYYY HH:MM:SS");
    auto* jd = cmd->add_option("--jd", args->jd, "Julian day");
    date->excludes(jd);
    cmd->add_flag("--json", args->json, "JSON output");
    cmd->callback([cmd, args, &action] {
        if (!cmd->count("--date") && !cmd->count("--jd"))
            throw CommandError("calendar needs --date or --jd");
        if (cmd->count("--date")) {
            std::string fault = ImpossibleDateArgument(args->date);
            if (!fault.empty()) throw CommandError(fault);
        }
        action.run = [cmd, args] {
            if (cmd->count("--date")) {
                double value = JulianDayOfDateTimeText(args->date);
                if (args->json)
                    std::printf("%s\n", nlohmann::json{{"jd", value}}.dump().c_str());
                else
                    std::printf("%.9f\n", value);
            } else {
                std::string dateTime = DateTimeText(args->jd), dateOnly = DateText(args->jd);
                if (args->json)
                    std::printf(
                        "%s\n",
                        nlohmann::json{{"dateTime", dateTime}, {"date", dateOnly}}.dump().c_str());
                else
                    std::printf("%s\n%s\n", dateTime.c_str(), dateOnly.c_str());
            }
        };
    });
}

}  // namespace orbeta::cli
