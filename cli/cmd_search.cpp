// orbeta-cli search: the time-search tables and the horary lists of a base chart.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "core/calendar.h"
#include "forecast/horary_search.h"
#include "forecast/search_tables.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta::cli {
namespace {

struct SearchArgs {
    ChartArgs chart;
    std::string table;
    std::string from, to;
    double step = 1.0;
    int movingMethod = 1;
    std::string moving = "1,2,3,4,5,6,7,8,9,10";
    std::string targets;
    std::string aspects = "0 60 90 120 180";
    bool exact = false, periods = false;
    std::string orbs;
    std::string points;
    int planet = MER;
    int precision = 0;
    std::string hitFile;
    bool json = false;
};

// A bit mask of comma-separated numbers first..last (bit n - 1).
uint32_t MaskOf(const std::string& list, int last, const char* what) {
    uint32_t mask = 0;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        int n = 0;
        auto r = std::from_chars(item.data(), item.data() + item.size(), n);
        if (r.ec != std::errc() || r.ptr != item.data() + item.size() || n < 1 || n > last)
            throw CommandError(std::string("Неверный номер в списке ") + what + ": " + item);
        mask |= 1u << (n - 1);
    }
    return mask;
}

// Blank-separated decimal numbers, at most `limit` taken.
std::vector<double> NumbersOf(const std::string& text, size_t limit, const char* what) {
    std::vector<double> v;
    std::stringstream in(text);
    std::string item;
    while (in >> item) {
        double x = 0;
        auto r = std::from_chars(item.data(), item.data() + item.size(), x);
        if (r.ec != std::errc() || r.ptr != item.data() + item.size() || !std::isfinite(x))
            throw CommandError(std::string("Неверное число в списке ") + what + ": " + item);
        if (v.size() < limit) v.push_back(x);
    }
    return v;
}

double MomentOf(const std::string& text, const char* what) {
    double jd = JulianDayOfDateTimeText(text);
    if (jd < 0) throw CommandError(std::string("Неверная дата ") + what + ": \"" + text + "\"");
    return jd;
}

// A year's table has thousands of hits: they go straight into the text, numbers as
// the JSON library writes them, instead of through a JSON value each.
void AppendNumber(std::string& s, double x) {
    if (!std::isfinite(x)) {
        s += "null";
        return;
    }
    char buf[64];
    s.append(buf, nlohmann::detail::to_chars(buf, buf + sizeof buf, x));
}

void AppendNumber(std::string& s, long x) {
    char buf[24];
    s.append(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

void AppendHit(std::string& s, const HitRecord& h) {
    auto field = [&](const char* key, auto value) {
        s += key;
        AppendNumber(s, value);
    };
    field("{\"start\":", h.start);
    field(",\"end\":", h.end);
    s += ",\"exact\":[";
    for (int k = 0; k < h.exactCount; ++k) field(k ? "," : "", h.exact[k]);
    s += ']';
    field(",\"flags\":", long{h.flags});
    field(",\"calcMethod\":", long{h.calcMethod});
    field(",\"a\":", long{h.a});
    field(",\"b\":", long{h.b});
    field(",\"type\":", long{h.type});
    field(",\"aspect\":", h.aspect);
    field(",\"fixedLongitude\":", h.fixedLongitude);
    field(",\"orb\":", h.orb);
    field(",\"filePos\":", long{h.filePos});
    s += '}';
}

// The output object with the hits written in place of its empty "hits" array.
std::string JsonWithHits(const nlohmann::ordered_json& out, const std::vector<HitRecord>& hits) {
    std::string s;
    s.reserve(200 * hits.size() + 1024);  // a hit takes some 190 characters
    s = "{\"hits\":[";
    for (size_t i = 0; i < hits.size(); ++i) {
        if (i) s += ',';
        AppendHit(s, hits[i]);
    }
    s += ']';
    for (auto it = out.begin(); it != out.end(); ++it) {
        if (it.key() == "hits") continue;
        s += ",\"" + it.key() + "\":" + it.value().dump();
    }
    return s + '}';
}

nlohmann::ordered_json AspectJson(const NextAspect& a) {
    return {{"a", a.bodyA},     {"b", a.bodyB}, {"aspect", a.aspect},
            {"begin", a.begin}, {"end", a.end}, {"exact", a.exact}};
}

void Run(const SearchArgs& a) {
    ChartRecord base = ComputeChartOf(a.chart);
    Computation c(ContextOf(a.chart));
    // What the computations noted is told once, after the work, whichever way it ends.
    struct Tell {
        Computation& c;
        ~Tell() { TellDiagnostics(c.diagnostics); }
    } tell{c};
    nlohmann::ordered_json out;
    out["hits"] = nlohmann::ordered_json::array();
    out["stations"] = nlohmann::ordered_json::array();
    out["loops"] = nlohmann::ordered_json::array();
    out["periods"] = nlohmann::ordered_json::array();
    out["aspects"] = nlohmann::ordered_json::array();
    out["voidOfCourse"] = nlohmann::ordered_json::array();
    std::string title, body;
    if (a.table == "1001" || a.table == "1002" || a.table == "horary") {
        std::vector<NextAspect> found;
        if (a.table == "1001") {
            body = HoraryMomentText(c, base, a.precision, &found);
        } else if (a.table == "1002") {
            std::vector<VoidOfCourse> voids;
            std::vector<SignPeriod> periods;
            body = HoraryDayText(c, base, a.precision, &found, &voids, &periods);
            for (const auto& v : voids)
                out["voidOfCourse"].push_back({{"begin", v.begin}, {"end", v.end}});
            for (const auto& p : periods)
                out["periods"].push_back(
                    {{"body", p.body}, {"sign", p.sign}, {"begin", p.begin}, {"end", p.end}});
        } else {
            HoraryChartList list = ComputeHoraryChartList(c, base);
            found = list.list;
            for (const auto& e : found)
                if (e.aspect >= 0) body += HoraryAspectLine(e, ' ', base.gmtCorr, a.precision);
        }
        for (const auto& f : found) out["aspects"].push_back(AspectJson(f));
        title = a.table == "1001" ? "Хорарные аспекты мгновенные" : "Хорарные аспекты суточные";
        if (a.table == "horary") title = "Хорарная карта";
        if (a.json) {
            std::printf("%s\n", out.dump().c_str());
        } else {
            std::string text =
                " " + title + "\n " + Utf8(LookupText("Mark").c_str()) + "\n" + Utf8(body.c_str());
            std::fputs(text.c_str(), stdout);
        }
        return;
    }
    int kind = std::stoi(a.table);
    SearchRequest rq;
    rq.start = MomentOf(a.from, "начала");
    rq.end = MomentOf(a.to, "конца");
    rq.step = a.step;
    rq.calcMethod = a.movingMethod;
    rq.exactMode = a.periods ? 0 : 1;
    rq.aspects = NumbersOf(a.aspects, kMaxSearchAspects, "аспектов");
    rq.points = NumbersOf(a.points, kMaxSearchPoints, "точек");
    rq.movingMask = MaskOf(a.moving, kPointCount, "движущихся точек");
    bool signs = kind == kTableIngress;
    std::string targets = a.targets;
    if (targets.empty()) targets = signs ? "1,2,3,4,5,6,7,8,9,10,11,12" : "1,2,3,4,5,6,7,8,9,10";
    rq.targetMask = MaskOf(targets, signs ? 12 : kPointCount, "целей");
    rq.planet = a.planet;
    if ((kind == kTableLoops || kind == kTableLoopAspects) && (a.planet < MER || a.planet > LIL))
        throw CommandError("Неверный номер планеты");
    OrbTable orbTable;
    if (!rq.exactMode)
        orbTable = LoadOrbTable(a.orbs.empty() ? kDefaultOrbFile : a.orbs, kDefaultOrbFile, false);
    PrepareTableRequest(kind, rq, &orbTable);
    if (kind == kTableLoopAspects) rq.planet = a.planet;
    std::string problem = CheckSearchRequest(rq);
    if (!problem.empty()) throw CommandError(problem);
    rq.pairs = MakePairs(kind, rq, base);
    std::filesystem::path hitFile = a.hitFile;
    bool temporary = hitFile.empty();
    if (temporary)
        hitFile = std::filesystem::temp_directory_path() /
                  ("orbeta-search-" + std::to_string(::getpid()) + ".tmp");
    TableResult res = RunTable(c, kind, rq, base, hitFile, a.precision, {}, !a.json);
    if (temporary) {
        std::error_code ec;
        std::filesystem::remove(hitFile, ec);
    }
    if (a.json) {
        for (const auto& s : res.stations)
            out["stations"].push_back(
                {{"moment", s.moment}, {"lon", s.lon}, {"retrograde", s.retrograde}});
        for (const auto& l : res.loops)
            out["loops"].push_back({{"entry", l.entry},
                                    {"exit", l.exit},
                                    {"retrograde", l.retrograde},
                                    {"direct", l.direct}});
        std::printf("%s\n", JsonWithHits(out, res.hits).c_str());
        return;
    }
    std::string text =
        " " + TableTitleLine(kind, rq) + "\n " + LookupText("Mark") + "\n" + res.text;
    std::fputs(Utf8(text.c_str()).c_str(), stdout);
}

}  // namespace

void AddSearchCommand(CLI::App& app, Action& action) {
    auto* cmd =
        app.add_subcommand("search", "time-search tables and horary aspect lists of a base chart");
    auto a = std::make_shared<SearchArgs>();
    AddChartOptions(*cmd, a->chart);
    cmd->add_option("--table", a->table, "0..7, 1001, 1002 or horary")
        ->required()
        ->check(CLI::IsMember({"0", "1", "2", "3", "4", "5", "6", "7", "1001", "1002", "horary"}));
    cmd->add_option("--from", a->from, "beginning, \"DD.MM.YYYY HH:MM\" (UT)");
    cmd->add_option("--to", a->to, "end, \"DD.MM.YYYY HH:MM\" (UT)");
    cmd->add_option("--step", a->step, "step in days (default 1)");
    cmd->add_option("--moving-method", a->movingMethod,
                    "calculation method of the samples (default 1)");
    cmd->add_option("--moving", a->moving, "moving PointIds, comma-separated (default 1..10)");
    cmd->add_option("--targets", a->targets, "partner PointIds, or signs 1..12 for table 3");
    cmd->add_option("--aspects", a->aspects, "aspect angles, blank-separated");
    auto* ex = cmd->add_flag("--exact", a->exact, "exact moments (default)");
    cmd->add_flag("--periods", a->periods, "orb periods with the --orbs table")->excludes(ex);
    cmd->add_option("--orbs", a->orbs, "aspect-and-orb file of --periods (default 0.ao)");
    cmd->add_option("--points", a->points, "given longitudes of table 4, blank-separated degrees");
    cmd->add_option("--planet", a->planet, "BodyId of tables 5 and 6 (default 3)");
    cmd->add_option("--precision", a->precision, "0 seconds, 1 minutes, 2 date only");
    cmd->add_option("--hit-file", a->hitFile, "keep the raw hit records in this file");
    cmd->add_flag("--json", a->json, "JSON output");
    cmd->callback([cmd, a, &action] {
        FinishChartArgs(*cmd, a->chart);
        bool table = a->table.size() == 1;
        if (table && (a->from.empty() || a->to.empty())) throw CommandError("Нужны --from и --to");
        std::error_code ec;
        if (!a->orbs.empty() && std::filesystem::is_regular_file(a->orbs, ec))
            a->orbs = std::filesystem::absolute(a->orbs, ec).string();
        if (!a->hitFile.empty()) a->hitFile = std::filesystem::absolute(a->hitFile, ec).string();
        action.ephemeris = true;
        action.run = [a] { Run(*a); };
    });
}

}  // namespace orbeta::cli
