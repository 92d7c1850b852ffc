// orbeta-cli graph forecast|ephemeris: the graphic forecast (aspect periods of the
// moving bodies as bars) and the graphic ephemerides (longitudes modulo a modulus) of a
// chart over a period, as text, JSON or a picture file.
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "aspects/orb_file.h"
#include "commands.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "data/settings.h"
#include "forecast/graph_layout.h"
#include "forecast/graph_settings.h"
#include "forecast/time_search.h"
#include "graph_command.h"
#include "platform/format.h"
#include "platform/ui_text.h"
#include "wheel_command.h"

namespace orbeta::cli {
namespace {

// The codes of the method list "MetChet".
constexpr int kMovingMethods[] = {1,  17, 6,  7,  8,  25, 30, 18, 19,
                                  20, 26, 31, 33, 32, 11, 12, 15, 24};

uint32_t MaskOf(const std::string& list, int last, const char* option) {
    uint32_t mask = 0;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        int n = 0;
        auto r = std::from_chars(item.data(), item.data() + item.size(), n);
        if (r.ec != std::errc() || r.ptr != item.data() + item.size() || n < 1 || n > last)
            throw CommandError(std::string("wrong number in ") + option + ": " + item);
        mask |= 1u << (n - 1);
    }
    return mask;
}

// The refusal of a period, in the program's words.
[[noreturn]] void RefusePeriod(const std::string& key) {
    throw CommandError(Utf8(LookupText(key).c_str()));
}

GraphPeriod PeriodOf(const GraphArgs& a) {
    GraphPeriodInput in;
    if (a.year != 0) {
        in.kind = a.month != 0 ? kPeriodMonth : kPeriodYear;
        in.yearText = std::to_string(a.year);
        in.monthText = std::to_string(a.month);
    } else {
        in.kind = kPeriodFree;
        in.startText = a.from;
        in.endText = a.to;
    }
    GraphPeriod period;
    std::string refusal = MakeGraphPeriod(in, period);
    if (!refusal.empty()) RefusePeriod(refusal);
    return period;
}

std::vector<HitRecord> SearchPeriods(Computation& c, const GraphArgs& a, const GraphPeriod& period,
                                     const ForecastOptions& options, const ChartRecord& natal) {
    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    OrbTable orbs = a.orbs.empty() ? LoadOrbSlot(settings.orbFiles, kOrbSlotTransits)
                                   : LoadOrbTable(a.orbs, kDefaultOrbFile, false);
    SearchRequest rq = MakeForecastRequest(period, options, a.movingMethod, orbs, natal);
    std::string problem = CheckSearchRequest(rq);
    if (!problem.empty()) throw CommandError(Utf8(problem.c_str()));
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("orbeta-graph-" + std::to_string(::getpid()) + ".tmp");
    HitFileWriter out;
    if (!out.Open(file)) throw CommandError("cannot write " + file.string());
    RunSearch(c, rq, natal, out);
    bool closed = out.Close();
    std::vector<HitRecord> hits = closed ? ReadHitFile(file) : std::vector<HitRecord>{};
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (!closed) throw CommandError("cannot write " + file.string());
    return hits;
}

const char* PointName(int point) {
    static const char* const cusps[] = {"ASC", "H.2", "H.3", "H.4", "H.5",  "H.6",
                                        "H.7", "H.8", "H.9", "MC",  "H.11", "H.12"};
    if (point >= 1 && point <= kBodyCount) return BodyAbbreviation(point);
    if (point > kBodyCount && point <= kPointCount) return cusps[point - kBodyCount - 1];
    return "?";
}

nlohmann::ordered_json LegendJson(const std::vector<GraphLabel>& legend) {
    auto j = nlohmann::ordered_json::array();
    for (const auto& l : legend)
        j.push_back({{"point", l.point}, {"lon", l.lon}, {"retrograde", l.retrograde}});
    return j;
}

void PrintForecast(const ForecastModel& m, bool json) {
    if (json) {
        nlohmann::ordered_json out;
        out["start"] = m.period.start;
        out["end"] = m.period.end;
        out["divisions"] = m.period.divisions;
        out["cursor"] = m.cursor;
        out["bands"] = nlohmann::ordered_json::array();
        for (const auto& band : m.bands) {
            nlohmann::ordered_json b{{"point", band.label.point}, {"lon", band.label.lon}};
            b["bars"] = nlohmann::ordered_json::array();
            for (const auto& bar : band.bars) {
                nlohmann::ordered_json j{{"start", bar.start}, {"end", bar.end}};
                j["exact"] = bar.exact >= 0 ? nlohmann::ordered_json(bar.exact) : nullptr;
                j["aspect"] = bar.aspect;
                j["partner"] = bar.partner;
                j["level"] = bar.level;
                j["motion"] = nlohmann::ordered_json::array();
                for (const auto& mark : bar.motion)
                    j["motion"].push_back(
                        {{"jd", mark.jd}, {"letter", std::string(1, mark.letter)}});
                b["bars"].push_back(j);
            }
            out["bands"].push_back(b);
        }
        out["legend"] = LegendJson(m.legend);
        std::printf("%s\n", out.dump().c_str());
        return;
    }
    std::string text;
    for (const auto& band : m.bands) {
        text +=
            Format("%s %s\n", PointName(band.label.point), PositionText(band.label.lon).c_str());
        for (const auto& bar : band.bars) {
            std::string motion = "-";
            if (!bar.motion.empty()) {
                motion = std::string(1, bar.motion.front().letter);
                for (size_t i = 1; i < bar.motion.size(); ++i)
                    motion += " " + DateTimeText(bar.motion[i].jd) + " " + bar.motion[i].letter;
            }
            text += Format("\t%s\t%s\t%s\t%.1f\t%s\t%d\t%s\n", DateTimeText(bar.start).c_str(),
                           DateTimeText(bar.end).c_str(),
                           bar.exact >= 0 ? DateTimeText(bar.exact).c_str() : "-", bar.aspect,
                           PointName(bar.partner), bar.level, motion.c_str());
        }
    }
    std::fputs(text.c_str(), stdout);
}

void PrintEphemeris(const EphemerisModel& m, const GraphArgs& a, bool json) {
    if (json) {
        auto [w, h] = a.Size();
        GraphLayout l = EphemerisLayout(w, h, false);
        std::vector<BodyCurve> curves;
        std::vector<CurveWrap> wraps;
        BuildCurves(m, PlotBox{l.x0, l.x1, l.y0, l.y1}, curves, wraps);
        nlohmann::ordered_json out;
        out["start"] = m.period.start;
        out["end"] = m.period.end;
        out["divisions"] = m.period.divisions;
        out["modulus"] = m.modulus;
        out["bodies"] = m.bodies;
        out["steps"] = nlohmann::ordered_json::array();
        for (size_t k = 0; k < m.jd.size(); ++k) {
            auto lon = nlohmann::ordered_json::array();
            for (size_t i = 0; i < m.bodies.size(); ++i) lon.push_back(m.lon[k][i]);
            out["steps"].push_back({{"jd", m.jd[k]}, {"lon", lon}});
        }
        out["natal"] = nlohmann::ordered_json::array();
        for (const auto& n : m.natalLines)
            out["natal"].push_back({{"point", n.point}, {"lon", n.lon}});
        out["wraps"] = nlohmann::ordered_json::array();
        for (const auto& wrap : wraps)
            out["wraps"].push_back(
                {{"body", wrap.body}, {"jd", wrap.jd}, {"through", wrap.top ? "top" : "bottom"}});
        out["legend"] = LegendJson(m.legend);
        std::printf("%s\n", out.dump().c_str());
        return;
    }
    std::string text;
    for (size_t k = 0; k < m.jd.size(); ++k) {
        text += DateTimeText(m.jd[k]);
        for (size_t i = 0; i < m.bodies.size(); ++i) text += Format("\t%.4f", m.lon[k][i]);
        text += '\n';
    }
    std::fputs(text.c_str(), stdout);
}

}  // namespace

std::pair<int, int> GraphArgs::Size() const {
    if (!size.empty()) return ParseWheelSize(size);
    if (print) return landscape ? std::pair{1754, 1240} : std::pair{1240, 1754};
    return {1600, 900};
}

GraphData ComputeGraph(const GraphArgs& a) {
    ChartRecord natal = ComputeChartOf(a.chart);
    Computation c(ContextOf(a.chart));
    struct Tell {
        Computation& c;
        ~Tell() { TellDiagnostics(c.diagnostics); }
    } tell{c};
    GraphPeriod period = PeriodOf(a);
    double cursor = period.start;
    if (!a.cursor.empty()) {
        cursor = JulianDayOfDateTimeText(a.cursor);
        if (cursor < 0) RefusePeriod("erdt");
    }
    uint32_t bodies = MaskOf(a.bodies, kBodyCount, "--bodies");
    uint32_t natalPoints = MaskOf(a.natal, kPointCount, "--natal");
    GraphData data;
    data.forecast = a.kind == "forecast";
    if (data.forecast) {
        ForecastOptions o;
        o.current = a.current;
        o.vertical = a.vertical && !a.current;
        o.matrix = a.matrix == "lower" ? 0 : a.matrix == "full" ? 2 : 1;
        o.hideMotion = a.hideMotion;
        o.bodyMask = bodies;
        o.natalMask = natalPoints;
        std::vector<HitRecord> hits = SearchPeriods(c, a, period, o, natal);
        data.forecastModel = BuildForecastModel(c, hits, natal, a.movingMethod, period, o, cursor);
    } else {
        data.ephemerisModel = BuildEphemerisModel(c, natal, a.movingMethod, period, a.modulus,
                                                  bodies, natalPoints, cursor);
    }
    return data;
}

void AddGraphCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "graph", "the graphic forecast or the graphic ephemerides as text, JSON or a picture");
    auto a = std::make_shared<GraphArgs>();
    cmd->add_option("kind", a->kind, "forecast or ephemeris")
        ->required()
        ->check(CLI::IsMember({"forecast", "ephemeris"}));
    AddChartOptions(*cmd, a->chart);
    cmd->add_option("--moving-method", a->movingMethod,
                    "calculation method of the moving points (default 1)");
    cmd->add_option("--from", a->from, "beginning, \"DD.MM.YYYY HH:MM\" (UT)");
    cmd->add_option("--to", a->to, "end, \"DD.MM.YYYY HH:MM\" (UT)");
    cmd->add_option("--year", a->year, "the whole year Y instead of --from and --to");
    cmd->add_option("--month", a->month, "with --year: the month 1..12 of it");
    cmd->add_option("--bodies", a->bodies, "BodyIds, comma-separated (default 1..15)");
    cmd->add_option("--natal", a->natal, "natal PointIds, comma-separated (default 1..15)");
    cmd->add_option("--cursor", a->cursor, "cursor moment (UT, default the start)");
    cmd->add_option("--size", a->size, "picture size WIDTHxHEIGHT (default 1600x900)");
    cmd->add_flag("--current", a->current, "forecast: the bodies with each other");
    cmd->add_flag("--vertical", a->vertical, "forecast: a band for every natal point");
    cmd->add_option("--matrix", a->matrix, "forecast with --current: lower, upper or full")
        ->check(CLI::IsMember({"lower", "upper", "full"}));
    cmd->add_flag("--hide-motion", a->hideMotion, "forecast: no r/d letters");
    cmd->add_option("--orbs", a->orbs, "forecast: aspect-and-orb file (default the transit one)");
    cmd->add_option("--modulus", a->modulus, "ephemeris: 360, 180, ... 10 (default 30)");
    cmd->add_option("--out", a->out, "picture file: .png, .svg or .pdf");
    cmd->add_flag("--print", a->print, "with --out: the printer layout on an A4 page");
    cmd->add_flag("--landscape", a->landscape, "with --print: the page on its side");
    cmd->add_flag("--json", a->json, "JSON output");
    cmd->callback([cmd, a, &action] {
        FinishChartArgs(*cmd, a->chart);
        if (std::find(std::begin(kMovingMethods), std::end(kMovingMethods), a->movingMethod) ==
            std::end(kMovingMethods))
            throw CommandError("--moving-method must be a code of the method list");
        bool byYear = a->year != 0;
        if (byYear && (!a->from.empty() || !a->to.empty()))
            throw CommandError("--year excludes --from and --to");
        if (!byYear && (a->from.empty() || a->to.empty()))
            throw CommandError("--from and --to, or --year, are needed");
        if (a->month != 0 && !byYear) throw CommandError("--month needs --year");
        if (!IsListedModulus(a->modulus))
            throw CommandError(
                "--modulus must be one of 360 180 120 90 72 60 45 40 36 30 24 "
                "20 18 15 12 10");
        a->Size();
        if (a->print && a->out.empty()) throw CommandError("--print needs --out");
        if (a->landscape && !a->print) throw CommandError("--landscape needs --print");
        std::error_code ec;
        if (!a->orbs.empty()) a->orbs = std::filesystem::absolute(a->orbs, ec).string();
        action.ephemeris = true;
        if (!a->out.empty()) {
            a->out = std::filesystem::absolute(a->out, ec).string();
            action.draws = true;
            action.run = [a] { DrawGraph(*a); };
            return;
        }
        action.run = [a] {
            GraphData data = ComputeGraph(*a);
            if (data.forecast)
                PrintForecast(data.forecastModel, a->json);
            else
                PrintEphemeris(data.ephemerisModel, *a, a->json);
        };
    });
}

}  // namespace orbeta::cli
