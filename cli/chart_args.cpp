#include "chart_args.h"

#include "commands.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta::cli {

void AddChartOptions(CLI::App& cmd, ChartArgs& a) {
    cmd.add_option("--date", a.chart.date, "local date and time \"DD.MM.YYYY HH:MM:SS\"")
        ->required();
    cmd.add_option("--gmt", a.chart.gmtHours, "hours added to local time to get UT")->required();
    cmd.add_option("--lat", a.chart.lat, "latitude, packed d.mm, north positive")->required();
    cmd.add_option("--lon", a.chart.lon, "longitude, packed d.mm, east positive")->required();
    cmd.add_option("--house", a.house, "house system code 1..11")->check(CLI::Range(-32768, 32767));
    cmd.add_option("--method", a.method, "calculation method code")
        ->check(CLI::Range(-32768, 32767));
    cmd.add_option("--arc-body", a.arcBody,
                   "body of planetary arcs (method 24): 0 = Sun .. 14 = Lilith, others the Sun");
    auto* bd = cmd.add_option("--base-date", a.baseInput.date, "date and time of the base chart");
    auto* bg = cmd.add_option("--base-gmt", a.baseInput.gmtHours, "GMT correction of the base");
    a.baseInput.option = "--base-";
    auto* bl = cmd.add_option("--base-lat", a.baseInput.lat, "latitude of the base chart");
    auto* bo = cmd.add_option("--base-lon", a.baseInput.lon, "longitude of the base chart");
    bd->needs(bg)->needs(bl)->needs(bo);
    bg->needs(bd);
    bl->needs(bd);
    bo->needs(bd);
    cmd.add_flag("--true-node", a.trueNode, "true lunar node");
    cmd.add_flag("--true-lilith", a.trueLilith, "osculating lunar apogee");
    cmd.add_flag("--helio", a.helio, "heliocentric positions");
}

void FinishChartArgs(CLI::App& cmd, ChartArgs& a) {
    if (cmd.count("--base-date")) a.base = a.baseInput;
}

void AddPartnerOptions(CLI::App& cmd, PartnerArgs& args) {
    auto& p = args.input;
    auto* pd = cmd.add_option("--partner-date", p.date, "date and time of the partner's chart");
    auto* pg = cmd.add_option("--partner-gmt", p.gmtHours, "GMT correction of the partner");
    p.option = "--partner-";
    auto* pl = cmd.add_option("--partner-lat", p.lat, "latitude of the partner's chart");
    auto* po = cmd.add_option("--partner-lon", p.lon, "longitude of the partner's chart");
    pd->needs(pg)->needs(pl)->needs(po);
    pg->needs(pd);
    pl->needs(pd);
    po->needs(pd);
}

void FinishPartnerArgs(CLI::App& cmd, PartnerArgs& args) {
    if (cmd.count("--partner-date")) args.partner = args.input;
}

ChartRecord ComputePartnerOf(Computation& c, const ChartArgs& chart, const ChartPlace& partner) {
    ChartArgs p = chart;
    p.chart = partner;
    p.base.reset();
    p.method = 1;  // the partner is a natal chart
    return ComputeChartOf(c, p);
}

void CheckCoordinates(double lat, double lon, const std::string& prefix) {
    auto check = [&prefix](PackedFault fault, const char* name, double v, const char* range) {
        std::string option = prefix + name + " " + Format("%g", v);
        if (fault == PackedFault::Minutes)
            throw CommandError(option + ": minutes must be below 60 (packed d.mm)");
        if (fault == PackedFault::Range)
            throw CommandError(option + ": out of range " + range + " (packed d.mm)");
    };
    check(CheckPackedLatitude(lat), "lat", lat, "-90.00..90.00");
    check(CheckPackedLongitude(lon), "lon", lon, "-180.00..360.00");
}

std::string ImpossibleDateArgument(const std::string& text) {
    DateParts parts;
    if (!DatePartsOfDateTimeText(text, parts)) return {};
    std::string fault = ImpossibleDateText(parts);
    return fault.empty() ? fault : "impossible date \"" + text + "\": " + AnsiToUtf8(fault);
}

double DateArgument(const std::string& text) {
    double jd = JulianDayOfDateTimeText(text);
    if (jd < 0) throw CommandError("cannot read the date \"" + text + "\"");
    std::string fault = ImpossibleDateArgument(text);
    if (!fault.empty()) throw CommandError(fault);
    return jd;
}

ChartRecord RecordOf(const ChartPlace& place, int houseSystem) {
    double jd = DateArgument(place.date);
    if (!(place.lat >= -90.0 && place.lat <= 90.0))
        throw CommandError("latitude out of range: " + std::to_string(place.lat));
    if (!(place.lon >= -180.0 && place.lon < 360.0))
        throw CommandError("longitude out of range: " + std::to_string(place.lon));
    CheckCoordinates(place.lat, place.lon, place.option);
    if (!(place.gmtHours >= -24.0 && place.gmtHours <= 24.0))
        throw CommandError("GMT correction out of range: " + std::to_string(place.gmtHours));
    ChartRecord r;
    r.jdLocal = jd;
    r.gmtCorr = place.gmtHours / 24.0;
    r.jdUT = r.jdLocal + r.gmtCorr;
    r.jdCalc = r.jdUT;
    r.latitude = place.lat;
    r.longitude = StoredLongitude(place.lon);
    r.houseSystem = static_cast<int16_t>(houseSystem);
    r.calcMethod = 1;
    return r;
}

ChartContext ContextOf(const ChartArgs& a) {
    ChartContext context;
    context.options = {a.trueNode, a.trueLilith, a.helio};
    return context;
}

ChartRecord ComputeChartOf(const ChartArgs& a) {
    Computation c(ContextOf(a));
    ChartRecord target = ComputeChartOf(c, a);
    TellDiagnostics(c.diagnostics);
    return target;
}

ChartRecord ComputeChartOf(Computation& c, const ChartArgs& a) {
    ChartRecord target = RecordOf(a.chart, a.house);
    ChartRecord base = a.base ? RecordOf(*a.base, a.house) : target;
    // The chart at its own moment needs only the base's moment.
    if (a.method != kNatal && a.method != kConverse) ComputeChart(c, base, base, kNatal);
    ComputeChart(c, target, base, a.method, a.arcBody);
    return target;
}

std::string Utf8(const char* cp1251) {
    return AnsiToUtf8(cp1251);
}

nlohmann::json ChartJson(const ChartRecord& c) {
    nlohmann::json j;
    j["jdLocal"] = c.jdLocal;
    j["jdUT"] = c.jdUT;
    j["jdCalc"] = c.jdCalc;
    j["gmtCorr"] = c.gmtCorr;
    j["latitude"] = c.latitude;
    j["longitude"] = c.longitude;
    j["houseSystem"] = c.houseSystem;
    j["calcMethod"] = c.calcMethod;
    auto lon = nlohmann::json::array(), lat = nlohmann::json::array(),
         speed = nlohmann::json::array(), cusp = nlohmann::json::array(),
         available = nlohmann::json::array();
    for (int i = SUN; i <= LIL; ++i) {
        lon.push_back(c.lon[i]);
        lat.push_back(c.lat[i]);
        speed.push_back(c.speed[i]);
        available.push_back(BodyAvailable(c, i));
    }
    for (int i = 1; i <= 12; ++i) cusp.push_back(c.cusp[i]);
    j["lon"] = lon;
    j["lat"] = lat;
    j["speed"] = speed;
    j["cusp"] = cusp;
    j["available"] = available;
    return j;
}

}  // namespace orbeta::cli
