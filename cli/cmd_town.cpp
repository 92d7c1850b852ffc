#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "chart_args.h"
#include "commands.h"
#include "core/calendar.h"
#include "data/open_base.h"
#include "data/town_directory.h"
#include "platform/codepage.h"

namespace orbeta::cli {

void AddTownCommand(CLI::App& app, Action& action) {
    auto* cmd =
        app.add_subcommand("town", "towns whose names begin with a prefix, with their corrections");
    struct Args {
        std::string prefix, date;
        bool json = false;
    };
    auto args = std::make_shared<Args>();
    cmd->add_option("--find", args->prefix, "first letters of the town's name")->required();
    cmd->add_option("--date", args->date,
                    "local date and time DD.MM.YYYY HH:MM (default: none, correction 0)");
    cmd->add_flag("--json", args->json, "JSON output");
    cmd->callback([cmd, args, &action] {
        double moment = 0;
        if (cmd->count("--date")) {
            moment = DateArgument(args->date);
        }
        action.run = [args, moment] {
            std::vector<TownCard> cards;
            if (FindTownCards(Utf8ToAnsi(args->prefix), cards) == TownSearch::NoDirectory) {
                // A damaged store says so itself: one message for the one fault.
                std::string told;
                for (const auto& m : TakeBaseMessages())
                    told += (told.empty() ? "" : "\n") + AnsiToUtf8(m);
                throw CommandError(told.empty() ? "the towns directory (abasa) cannot be opened"
                                                : told);
            }
            auto json = nlohmann::json::array();
            for (const auto& card : cards) {
                TownChoice c = FillTownChoice(card, moment);
                if (args->json) {
                    json.push_back({{"key", OemToUtf8(card.key)},
                                    {"name", AnsiToUtf8(c.name)},
                                    {"latitude", std::strtod(c.latitude.c_str(), nullptr)},
                                    {"longitude", std::strtod(c.longitude.c_str(), nullptr)},
                                    {"correction", c.correction}});
                } else {
                    std::printf("%s  %s %s  %g\n", AnsiToUtf8(c.name).c_str(), c.latitude.c_str(),
                                c.longitude.c_str(), c.correction);
                }
            }
            if (args->json) std::printf("%s\n", json.dump().c_str());
        };
    });
}

}  // namespace orbeta::cli
