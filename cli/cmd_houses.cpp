#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

#include "chart_args.h"
#include "commands.h"
#include "core/angles.h"
#include "core/chart_record.h"
#include "core/houses.h"

namespace orbeta::cli {

void AddHousesCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("houses", "house cusps of a moment and place");
    struct Args {
        double jd = 0;
        double lat = 0;
        double lon = 0;
        int house = 3;
        double sun = 0;
        std::optional<double> fromMc;
        bool json = false;
    };
    auto args = std::make_shared<Args>();
    cmd->add_option("--jd", args->jd, "Julian day UT of the houses")->required();
    cmd->add_option("--lat", args->lat, "latitude, packed d.mm, north positive")
        ->required()
        ->check(CLI::Range(-90.0, 90.0));
    cmd->add_option("--lon", args->lon, "longitude, packed d.mm, east positive (west negative)")
        ->required()
        ->check(CLI::Range(-180.0, 359.9999));
    cmd->add_option("--house", args->house, "house system code 1..11")
        ->required()
        ->check(CLI::Range(-32768, 32767));
    cmd->add_option("--sun", args->sun, "longitude of the Sun in degrees (codes 7 and 9)");
    cmd->add_option("--from-mc", args->fromMc,
                    "houses from this Midheaven longitude in degrees (no polar rule)");
    cmd->add_flag("--json", args->json, "JSON output");
    cmd->callback([args, &action] {
        action.run = [args] {
            CheckCoordinates(args->lat, args->lon, "--");
            ChartRecord c;
            c.jdLocal = c.jdUT = c.jdCalc = args->jd;
            c.latitude = args->lat;
            c.longitude = StoredLongitude(args->lon);
            c.houseSystem = static_cast<int16_t>(args->house);
            c.lon[SUN] = args->sun;
            bool warned = false;
            Diagnostics diagnostics;
            if (args->fromMc)
                HousesFromMidheaven(c, *args->fromMc);
            else
                warned = ComputeHouses(c, diagnostics);
            TellDiagnostics(diagnostics);
            if (args->json) {
                auto cusp = nlohmann::json::array();
                for (int i = 1; i <= 12; ++i) cusp.push_back(c.cusp[i]);
                nlohmann::json j{
                    {"houseSystem", c.houseSystem}, {"cusp", cusp}, {"warned", warned}};
                std::printf("%s\n", j.dump().c_str());
                return;
            }
            std::printf("house system %d\n", c.houseSystem);
            for (int i = 1; i <= 12; ++i)
                std::printf("H%-3d %s  %11.6f\n", i, PositionText(c.cusp[i]).c_str(), c.cusp[i]);
        };
    });
}

}  // namespace orbeta::cli
