// orbeta-cli return, ingress and lunation: the charts of returns of the Sun and the
// Moon, of the Sun's entry into a degree and of full and new moons, with steps to the
// neighbouring returns as Page Up and Page Down take them in a chart window.
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "chart_args.h"
#include "commands.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "forecast/returns.h"
#include "platform/codepage.h"

namespace orbeta::cli {
namespace {

struct PlaceArgs {
    double lat = 0, lon = 0, gmtHours = 0;
    std::string place;
    int house = 3;
    int step = 0;
    bool json = false;
};

struct ReturnArgs {
    ChartArgs natal;
    PlaceArgs at;
    std::string kind;
    int year = 0, month = 0;
    bool atLat = false;
};

struct IngressArgs {
    PlaceArgs at;
    double degree = 0;
    int year = 0;
};

struct LunationArgs {
    PlaceArgs at;
    std::string phase, date;
};

void CheckYear(int year) {
    if (!EphemerisCoversYear(year))
        throw CommandError("Год " + std::to_string(year) + " вне эфемерид (-4712..5399)");
}

ReturnPlace PlaceOf(const PlaceArgs& a) {
    CheckCoordinates(a.lat, a.lon, "--");
    if (!(a.gmtHours >= -24.0 && a.gmtHours <= 24.0))
        throw CommandError("Поправка вне -24..24 часов");
    ReturnPlace p;
    p.place = Utf8ToAnsi(a.place);
    p.latitude = a.lat;
    p.longitude = StoredLongitude(a.lon);
    p.gmtCorr = a.gmtHours / 24.0;
    p.houseSystem = a.house;
    return p;
}

// Steps, tells what the computations noted and prints the chart.
void Finish(Computation& c, std::optional<ChartRecord> chart, const PlaceArgs& a,
            std::string title) {
    for (int i = 0; chart && i < std::abs(a.step); ++i) {
        if (!StepReturnChart(c, *chart, a.step))
            chart.reset();
        else
            title = ReturnChartText(*chart);
    }
    // The failure is this command's message, not a warning besides it.
    Diagnostics told;
    for (auto& d : c.diagnostics.Take())
        if (d.kind != DiagnosticKind::Warning) told.Add(d.kind, d.text);
    TellDiagnostics(told);
    if (!chart) throw CommandError(AnsiToUtf8(NoEphemerisText()));
    if (a.json) {
        nlohmann::json j = ChartJson(*chart);
        j["title"] = AnsiToUtf8(title);
        j["returnLongitude"] = chart->returnLongitude;
        std::printf("%s\n", j.dump().c_str());
        return;
    }
    std::printf("%s\n", AnsiToUtf8(title).c_str());
    PrintChartTable(*chart);
}

void AddPlaceOptions(CLI::App& cmd, PlaceArgs& a, bool required) {
    auto* lat = cmd.add_option("--lat", a.lat, "latitude, packed d.mm, north positive");
    auto* lon = cmd.add_option("--lon", a.lon, "longitude, packed d.mm, east positive");
    if (required) {
        lat->required();
        lon->required();
    }
    cmd.add_option("--house", a.house, "house system code 1..11 (default 3)")
        ->check(CLI::Range(1, 11));
    cmd.add_option("--step", a.step, "N times the next return (previous when negative)")
        ->check(CLI::Range(-1000, 1000));
    cmd.add_flag("--json", a.json, "JSON output");
}

void RunReturn(ReturnArgs& a) {
    CheckYear(a.year);
    ChartArgs natal = a.natal;
    natal.method = 1;
    ChartRecord base = ComputeChartOf(natal);
    if (!a.atLat) {
        a.at.lat = a.natal.chart.lat;
        a.at.lon = a.natal.chart.lon;
    }
    a.at.gmtHours = a.natal.chart.gmtHours;  // the base chart's correction
    a.at.house = a.natal.house;
    ReturnPlace place = PlaceOf(a.at);
    int kind = a.kind == "annual" ? 0 : a.kind == "monthly" ? 1 : a.kind == "lunar" ? 2 : 7;
    Computation c(ContextOf(natal));
    auto chart = SolarLunarReturn(c, base, kind, a.year, a.month, place);
    std::string title = chart ? ReturnChartText(*chart, a.year, a.month) : std::string();
    Finish(c, chart, a.at, title);
}

void RunIngress(const IngressArgs& a) {
    CheckYear(a.year);
    if (CheckPackedLongitude(a.degree) == PackedFault::Minutes)
        throw CommandError("--degree: минуты должны быть меньше 60 (d.mm)");
    if (!(a.degree >= 0 && a.degree < 360)) throw CommandError("--degree: вне 0..359.59 (d.mm)");
    ReturnPlace place = PlaceOf(a.at);
    Computation c;
    auto chart = SunIngressChart(c, place, a.year, a.degree);
    std::string title = chart ? ReturnChartText(*chart) : std::string();
    Finish(c, chart, a.at, title);
}

void RunLunation(const LunationArgs& a) {
    double day = std::floor(DateArgument(a.date) - 0.5) + 0.5;  // 0 h of the date
    CheckYear(DatePartsOf(day).year);
    ReturnPlace place = PlaceOf(a.at);
    Computation c;
    auto chart = LunationChart(c, place, a.phase == "full", day);
    std::string title = chart ? ReturnChartText(*chart) : std::string();
    Finish(c, chart, a.at, title);
}

}  // namespace

void AddReturnCommands(CLI::App& app, Action& action) {
    auto* ret = app.add_subcommand("return", "solar, monthly and lunar returns of a natal chart");
    auto r = std::make_shared<ReturnArgs>();
    AddChartOptions(*ret, r->natal);
    ret->add_option("--kind", r->kind, "annual, monthly, lunar or embolismic")
        ->required()
        ->check(CLI::IsMember({"annual", "monthly", "lunar", "embolismic"}));
    ret->add_option("--year", r->year, "year of the return")->required();
    ret->add_option("--month", r->month, "month 1..12 (not for annual)")->check(CLI::Range(1, 12));
    auto* atLat = ret->add_option("--at-lat", r->at.lat, "latitude of the place (default natal)");
    auto* atLon = ret->add_option("--at-lon", r->at.lon, "longitude of the place");
    atLat->needs(atLon);
    atLon->needs(atLat);
    ret->add_option("--at-place", r->at.place, "name of the place");
    ret->add_option("--step", r->at.step, "N times the next return (previous when negative)")
        ->check(CLI::Range(-1000, 1000));
    ret->add_flag("--json", r->at.json, "JSON output");
    ret->callback([ret, r, &action] {
        FinishChartArgs(*ret, r->natal);
        r->atLat = ret->count("--at-lat") > 0;
        if (r->kind != "annual" && r->month == 0) throw CommandError("Нужен --month");
        if (r->month == 0) r->month = 1;
        action.ephemeris = true;
        action.run = [r] { RunReturn(*r); };
    });

    auto* ing = app.add_subcommand("ingress", "the Sun's entry into a degree in a year");
    auto g = std::make_shared<IngressArgs>();
    ing->add_option("--degree", g->degree, "longitude, packed d.mm (15.00 = 15 Aries 00')")
        ->required();
    ing->add_option("--year", g->year, "year")->required();
    ing->add_option("--gmt", g->at.gmtHours, "hours added to local time to get UT");
    AddPlaceOptions(*ing, g->at, true);
    ing->callback([g, &action] {
        action.ephemeris = true;
        action.run = [g] { RunIngress(*g); };
    });

    auto* lun = app.add_subcommand("lunation", "the full or new moon after a day");
    auto l = std::make_shared<LunationArgs>();
    lun->add_option("--phase", l->phase, "full or new")
        ->required()
        ->check(CLI::IsMember({"full", "new"}));
    lun->add_option("--date", l->date, "day \"DD.MM.YYYY\", searched from its 0 h")->required();
    lun->add_option("--gmt", l->at.gmtHours, "hours added to local time to get UT")->required();
    AddPlaceOptions(*lun, l->at, true);
    lun->callback([l, &action] {
        action.ephemeris = true;
        action.run = [l] { RunLunation(*l); };
    });
}

}  // namespace orbeta::cli
