// orbeta-cli forecast: the forecast report of a natal chart over a period, as the
// report file is written, or its entries as JSON.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "chart_args.h"
#include "commands.h"
#include "data/settings.h"
#include "forecast/forecast_report.h"
#include "interp/text_report.h"
#include "platform/codepage.h"

namespace orbeta::cli {
namespace {

struct ForecastArgs {
    ChartArgs chart;
    std::string from, to;
    std::string correction;  // hours; the chart's --gmt when empty
    std::string methods = "0,1,2,3,4,5,6";
    std::string natal, transit, progressed, directed;
    bool texts = false, houses = false;
    std::string orbsTransits = "tr.ao", orbsProgressions = "pr.ao", orbsDirections = "dir.ao";
    std::string eclipseInfluence = "180 180 90 90";
    bool json = false;
    bool listKeys = false;
};

std::optional<double> NumberOf(const std::string& text) {
    double x = 0;
    const char* b = text.data();
    const char* e = b + text.size();
    while (b < e && *b == ' ') ++b;
    if (b < e && *b == '+') ++b;
    auto r = std::from_chars(b, e, x);
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(x)) return std::nullopt;
    return x;
}

// Comma-separated numbers and ranges "1-10" within first..last, as a mask (bit n − offset).
uint32_t ListMask(const std::string& list, int first, int last, int offset, const char* option) {
    uint32_t mask = 0;
    std::stringstream in(list);
    std::string item;
    auto bad = [&] {
        return CommandError(std::string(option) + ": not a list of numbers " +
                            std::to_string(first) + ".." + std::to_string(last) + ": \"" + list +
                            "\"");
    };
    while (std::getline(in, item, ',')) {
        size_t dash = item.find('-', 1);
        auto lo = NumberOf(item.substr(0, dash));
        auto hi = dash == std::string::npos ? lo : NumberOf(item.substr(dash + 1));
        if (!lo || !hi || *lo != std::floor(*lo) || *hi != std::floor(*hi) || *lo < first ||
            *hi > last || *lo > *hi)
            throw bad();
        for (int n = static_cast<int>(*lo); n <= static_cast<int>(*hi); ++n)
            mask |= 1u << (n - offset);
    }
    if (list.empty() || list.back() == ',') throw bad();
    return mask;
}

OrbTable OrbsOf(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw CommandError("cannot read the orb file \"" + path + "\"");
    return LoadOrbTable(path, kDefaultOrbFile, false);
}

std::string AbsoluteIfFile(const std::string& name) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(name, ec))
        return std::filesystem::absolute(name, ec).string();
    return name;
}

void Run(const ForecastArgs& a, ForecastRequest rq) {
    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    for (int k = 0; k < 2; ++k)
        for (int p = 0; p < kPointCount; ++p)
            rq.eclipses.orbs[k][static_cast<size_t>(p)] =
                (k ? settings.orbEclM : settings.orbEclS)[p];
    rq.transitOrbs = OrbsOf(a.orbsTransits);
    rq.progressionOrbs = OrbsOf(a.orbsProgressions);
    rq.directionOrbs = OrbsOf(a.orbsDirections);

    Computation c(ContextOf(a.chart));
    ChartRecord natal = ComputeChartOf(c, a.chart);
    if (a.correction.empty()) rq.correction = natal.gmtCorr;
    std::string problem = CheckForecastRequest(rq);
    if (!problem.empty()) throw CommandError(AnsiToUtf8(problem));

    ForecastTexts texts;
    texts.open = [] { return OpenTextBase("gnoz"); };
    texts.print = [json = a.json](const std::string& key) {
        if (!FindText(key)) return false;
        if (!json) PrintTextF("%s", key.c_str());
        return true;
    };
    texts.close = [] { CloseTextBase(); };
    auto hitFile = std::filesystem::temp_directory_path() /
                   ("orbeta-forecast-" + std::to_string(::getpid()) + ".tmp");
    int precision = settings.ov[3];
    ForecastReport report = RunForecastReport(c, rq, natal, hitFile, precision, texts, !a.json);
    std::error_code ec;
    std::filesystem::remove(hitFile, ec);
    TellDiagnostics(c.diagnostics);
    if (!report.run.ok) throw CommandError(AnsiToUtf8(report.run.error));
    if (!a.json) return;

    nlohmann::ordered_json out;
    out["title"] = AnsiToUtf8(ForecastTitleLine(natal, rq));
    out["correction"] = rq.correction;
    out["eclipses"] = nlohmann::ordered_json::array();
    if (rq.Uses(kForecastEclipses))
        for (const auto& e : report.run.eclipses)
            out["eclipses"].push_back(
                {{"moment", e.moment}, {"type", e.type}, {"luminary", e.luminary}});
    out["entries"] = nlohmann::ordered_json::array();
    for (size_t i = 0; i < report.entries.size(); ++i) {
        const ForecastEntry& e = report.entries[i];
        const HitRecord& h = e.record;
        std::string heading = e.heading;
        if (!heading.empty() && heading.front() == ' ') heading.erase(0, 1);
        if (!heading.empty() && heading.back() == '\n') heading.pop_back();
        auto exact = nlohmann::ordered_json::array();
        for (int k = 0; k < h.exactCount; ++k) exact.push_back(h.exact[k]);
        nlohmann::ordered_json hasText = nullptr;
        if (rq.options & kForecastWithTexts) hasText = report.withTexts && report.printed[i];
        out["entries"].push_back({{"type", h.type},
                                  {"a", h.a},
                                  {"b", h.b},
                                  {"aspect", h.aspect},
                                  {"calcMethod", h.calcMethod},
                                  {"start", h.start},
                                  {"end", h.end},
                                  {"exact", exact},
                                  {"flags", h.flags},
                                  {"orb", h.orb},
                                  {"key", e.key},
                                  {"heading", AnsiToUtf8(heading)},
                                  {"hasText", hasText}});
    }
    std::printf("%s\n", out.dump().c_str());
}

// The request from the arguments, checked before anything is computed.
ForecastRequest RequestOf(const ForecastArgs& a) {
    if (a.from.empty() || a.to.empty()) throw CommandError("--from and --to are required");
    ForecastRequest rq;
    rq.start = DateArgument(a.from);
    rq.end = DateArgument(a.to);
    if (!a.correction.empty()) {
        auto hours = NumberOf(a.correction);
        if (!hours || std::fabs(*hours) > 24)
            throw CommandError("--correction: not a number of hours from -24 to 24: \"" +
                               a.correction + "\"");
        rq.correction = *hours / 24.0;
    }
    if (!(rq.end > rq.start)) throw CommandError("--to must come after --from");
    const ForecastMasks& shipped = kShippedForecastMasks;
    auto mask = [](const std::string& list, uint32_t fallback, int last, const char* option) {
        return list.empty() ? fallback : ListMask(list, 1, last, 1, option);
    };
    rq.masks.methods = ListMask(a.methods, 0, kForecastMethodCount - 1, 0, "--methods");
    rq.masks.natal = mask(a.natal, shipped.natal, kPointCount, "--natal");
    rq.masks.transit = mask(a.transit, shipped.transit, kBodyCount, "--transit");
    rq.masks.progressed = mask(a.progressed, shipped.progressed, kPointCount, "--progressed");
    rq.masks.directed = mask(a.directed, shipped.directed, kPointCount, "--directed");
    rq.options = (a.texts ? kForecastWithTexts : 0) | (a.houses ? kForecastHouseLinks : 0);
    std::stringstream in(a.eclipseInfluence);
    std::string item;
    int n = 0;
    for (; in >> item; ++n) {
        auto days = NumberOf(item);
        if (n >= 4 || !days || *days < 0 || *days > 3650)
            throw CommandError("--eclipse-influence: four day counts 0..3650: \"" +
                               a.eclipseInfluence + "\"");
        (n % 2 == 0 ? rq.eclipses.before : rq.eclipses.after)[n / 2] = *days;
    }
    if (n != 4)
        throw CommandError("--eclipse-influence: four day counts: \"" + a.eclipseInfluence + "\"");
    return rq;
}

// The family of a forecast key, as the texts of the base are grouped.
const char* KeyFamily(const std::string& key) {
    bool slow = key.size() > 3 && key[1] == 'p' && (key.compare(2, 2, "06") >= 0) &&
                key.compare(2, 2, "10") <= 0;
    if (key.size() > 1 && (key[0] == 'S' || key[0] == 'M') && (key[1] == '+' || key[1] == '-'))
        return "eclipses";
    if (key.rfind("Rp02z", 0) == 0) return "progressed Moon in a sign";
    if (key.find('x') != std::string::npos)
        return key[0] == 'R' ? "progressed point through a house" : "transit through a house";
    bool minorDirected =
        key.find("a045") != std::string::npos || key.find("a135") != std::string::npos;
    if (key[0] == 'D')
        return minorDirected ? "directed semisquare and sesquiquadrate"
               : slow        ? "directed Jupiter..Pluto"
                             : "progression and direction";
    if (key[0] == 'R')
        return key.find("a150") != std::string::npos ? "progressed quincunx"
               : slow                                ? "progressed Jupiter..Pluto"
                                                     : "progression and direction";
    return "transit to a natal point";
}

std::vector<double> AnglesOf(const OrbTable& t) {
    std::vector<double> angles;
    for (const auto& x : t.aspects) angles.push_back(x.angle);
    return angles;
}

// Every key of the forecast base's texts: transits of SUN..PLT, progressions and
// directions of SUN..PLT, ASC and MC, to the natal SUN..PLT, ASC and MC with the aspects
// of the orb files, house passages, the progressed Moon's signs, and eclipses on every
// natal point. The profile's choice of points and methods must stay within it, or a
// forecast would look up keys that have no text.
void ListKeys(const ForecastArgs& a) {
    auto transit = AnglesOf(OrbsOf(a.orbsTransits));
    auto progression = AnglesOf(OrbsOf(a.orbsProgressions));
    auto direction = AnglesOf(OrbsOf(a.orbsDirections));
    ForecastMasks core = kShippedForecastMasks;
    core.transit = 1023u;  // SUN..PLT
    core.methods &= ~(1u << kForecastEclipses);
    auto keys = ForecastKeys(core, transit, progression, direction);
    ForecastMasks eclipses{(1u << kPointCount) - 1, 1u << kForecastEclipses, 0, 0, 0};
    for (auto& key : ForecastKeys(eclipses, {}, {}, {})) keys.push_back(key);
    std::set<std::string> known(keys.begin(), keys.end());

    Settings settings;
    ChartRecord current = DefaultProfileChart();
    LoadProfile(kProfileFile, settings, current);
    auto lp = [&](int i) { return static_cast<uint32_t>(settings.lp[static_cast<size_t>(i)]); };
    ForecastMasks chosen{lp(0), lp(1), lp(2), lp(3), lp(4)};
    std::string outside;
    for (const auto& key : ForecastKeys(chosen, transit, progression, direction))
        if (!known.count(key)) outside += " " + key;
    if (!outside.empty())
        throw CommandError("the profile's forecast points (LP) look up keys outside the base:" +
                           outside.substr(0, 400));
    for (const auto& key : known) std::printf("%s\t%s\trequired\n", key.c_str(), KeyFamily(key));
}

}  // namespace

void AddForecastCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "forecast", "transits, progressions, directions and eclipses of a natal chart");
    auto a = std::make_shared<ForecastArgs>();
    AddChartOptions(*cmd, a->chart);
    for (const char* name : {"--date", "--gmt", "--lat", "--lon"})
        cmd->get_option(name)->required(false);  // not for --list-keys
    cmd->add_option("--from", a->from, "beginning, \"DD.MM.YYYY HH:MM\" (local)");
    cmd->add_option("--to", a->to, "end, \"DD.MM.YYYY HH:MM\" (local)");
    cmd->add_option("--correction", a->correction, "hours from local time to UT (default --gmt)");
    cmd->add_option("--methods", a->methods, "method bits 0..6, comma-separated (default all)");
    cmd->add_option("--natal", a->natal, "natal PointIds, e.g. 1-10,16,25");
    cmd->add_option("--transit", a->transit, "transit BodyIds (default 1,3-10)");
    cmd->add_option("--progressed", a->progressed, "progressed PointIds");
    cmd->add_option("--directed", a->directed, "directed PointIds");
    cmd->add_flag("--texts", a->texts, "interpretation texts of the forecast base");
    cmd->add_flag("--houses", a->houses, "house links");
    cmd->add_option("--orbs-transits", a->orbsTransits, "orb file of transits (default tr.ao)");
    cmd->add_option("--orbs-progressions", a->orbsProgressions,
                    "orb file of progressions (default pr.ao)");
    cmd->add_option("--orbs-directions", a->orbsDirections,
                    "orb file of directions (default dir.ao)");
    cmd->add_option("--eclipse-influence", a->eclipseInfluence,
                    "days: solar before, after, lunar before, after (default \"180 180 90 90\")");
    cmd->add_flag("--json", a->json, "JSON output");
    cmd->add_flag(
        "--list-keys", a->listKeys,
        "every key of the forecast base's texts, one line \"KEY<tab>FAMILY<tab>required\"");
    cmd->callback([cmd, a, &action] {
        if (a->listKeys) {
            for (std::string* f : {&a->orbsTransits, &a->orbsProgressions, &a->orbsDirections})
                *f = AbsoluteIfFile(*f);
            action.run = [a] { ListKeys(*a); };
            return;
        }
        for (const char* name : {"--date", "--gmt", "--lat", "--lon"})
            if (cmd->count(name) == 0) throw CommandError(std::string(name) + " is required");
        FinishChartArgs(*cmd, a->chart);
        ForecastRequest rq = RequestOf(*a);
        for (std::string* f : {&a->orbsTransits, &a->orbsProgressions, &a->orbsDirections})
            *f = AbsoluteIfFile(*f);
        action.ephemeris = true;
        action.run = [a, rq] { Run(*a, rq); };
    });
}

}  // namespace orbeta::cli
