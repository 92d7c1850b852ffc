// orbeta-cli rectify: scores candidate birth times against the dated events of an
// event file and prints the ranked report or the scores as JSON.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "aspects/orb_file.h"
#include "chart_args.h"
#include "commands.h"
#include "core/calendar.h"
#include "data/settings.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"
#include "rectify/rectification.h"

namespace orbeta::cli {
namespace {

struct RectifyArgs {
    ChartArgs chart;
    std::string events;
    std::string from, to;
    std::string step = "60";
    std::string methods = "TPD";
    std::string threshold = "10";
    long maskP = 1023;
    std::array<std::string, kMovingKinds> orbs;
    bool json = false;
};

[[noreturn]] void Refuse(const std::string& cp1251) {
    throw CommandError(Utf8(cp1251.c_str()));
}

double LocalMoment(const std::string& text) {
    double jd = JulianDayOfDateTimeText(text);
    if (jd < 0 || !ImpossibleDateArgument(text).empty()) Refuse(LookupText("erdt"));
    return jd;
}

// The whole text as a number; false for anything else.
bool WholeNumber(const std::string& text, double& value) {
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(value);
}

unsigned MethodMask(const std::string& letters) {
    unsigned mask = 0;
    for (char ch : letters) {
        const char* at = std::strchr("TPD", ch);
        if (!ch || !at) throw CommandError("--methods: только буквы T, P, D");
        mask |= 1u << (at - "TPD");
    }
    if (!mask) throw CommandError("--methods: нужен хотя бы один метод");
    return mask;
}

void Run(const RectifyArgs& a) {
    RectifyParams p;
    p.startLocal = LocalMoment(a.from);
    p.endLocal = LocalMoment(a.to);
    double step = 0, threshold = 0;
    if (!WholeNumber(a.step, step) || step < 1)
        Refuse("Шаг должен быть числом не меньше 1 секунды"_cp);
    if (!WholeNumber(a.threshold, threshold) || threshold < 1 ||
        threshold != std::floor(threshold) || threshold > 1e6)
        Refuse("Порог отчета должен быть целым числом не меньше 1"_cp);
    p.stepSeconds = step;
    p.threshold = static_cast<int>(threshold);
    p.methods = MethodMask(a.methods);
    p.bodyMask = a.maskP;
    p.report = !a.json;

    ChartPlace place = a.chart.chart;
    place.date = a.from;
    ChartRecord natal = RecordOf(place, a.chart.house);
    p.correction = natal.gmtCorr;

    Settings settings;
    ChartRecord current = DefaultProfileChart();
    if (FileExists(kProfileFile)) LoadProfile(kProfileFile, settings, current);
    for (int k = 0; k < kMovingKinds; ++k)
        p.orbs[k] = a.orbs[k].empty() ? LoadOrbSlot(settings.orbFiles, kOrbSlotTransits + k)
                                      : LoadOrbTable(a.orbs[k], kDefaultOrbFile, false);

    p.eventFileName = Utf8ToAnsi(std::filesystem::path(a.events).filename().string());
    std::optional<EventFile> file = ReadEventFile(a.events);
    if (!file) Refuse(Format("Нет файла описания событий '%s'"_cp, Utf8ToAnsi(a.events).c_str()));

    Computation c(ContextOf(a.chart));
    RectifyResult res = RunRectification(c, p, *file, natal);
    TellDiagnostics(c.diagnostics);
    if (!res.ok) Refuse(res.error);

    if (!a.json) {
        std::string text = " " + std::string("Ректификация - Отчет"_cp) + "\n " +
                           LookupText("Mark") + "\n" + res.report;
        std::fputs(Utf8(text.c_str()).c_str(), stdout);
        return;
    }
    nlohmann::ordered_json out;
    out["events"] = nlohmann::ordered_json::array();
    for (const PreparedEvent& e : res.events)
        out["events"].push_back({{"name", Utf8(e.event.name.c_str())},
                                 {"date", Utf8(e.event.dateText.c_str())},
                                 {"jdUT", e.jdUT}});
    out["candidates"] = nlohmann::ordered_json::array();
    for (const CandidateScore& s : res.candidates)
        out["candidates"].push_back({{"local", CandidateTimeText(s.jdLocal)},
                                     {"jdUT", s.jdUT},
                                     {"S", s.total},
                                     {"T", s.parts[kRuleTransit]},
                                     {"P", s.parts[kRuleProgression]},
                                     {"D", s.parts[kRuleDirection]},
                                     {"eventsHit", s.eventsHit}});
    out["listed"] = res.listed;
    std::printf("%s\n", out.dump().c_str());
}

}  // namespace

void AddRectifyCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("rectify", "score candidate birth times against dated events");
    auto a = std::make_shared<RectifyArgs>();
    auto& ch = a->chart.chart;
    cmd->add_option("--gmt", ch.gmtHours, "hours added to local time to get UT")->required();
    cmd->add_option("--lat", ch.lat, "latitude, packed d.mm, north positive")->required();
    cmd->add_option("--lon", ch.lon, "longitude, packed d.mm, east positive")->required();
    cmd->add_option("--house", a->chart.house, "house system code 1..11")
        ->check(CLI::Range(-32768, 32767));
    cmd->add_flag("--true-node", a->chart.trueNode, "true lunar node");
    cmd->add_flag("--true-lilith", a->chart.trueLilith, "osculating lunar apogee");
    cmd->add_option("--events", a->events, "event file (*.sb)")->required();
    cmd->add_option("--from", a->from, "first candidate, local \"DD.MM.YYYY HH:MM\"")->required();
    cmd->add_option("--to", a->to, "last candidate, local \"DD.MM.YYYY HH:MM\"")->required();
    cmd->add_option("--step", a->step, "step in seconds (default 60)");
    cmd->add_option("--methods", a->methods, "letters of the methods used: T, P, D (default TPD)");
    cmd->add_option("--threshold", a->threshold, "candidates listed at least (default 10)");
    cmd->add_option("--mask-p", a->maskP,
                    "bodies taken for house occupants, bit b-1 (default 1023)");
    cmd->add_option("--orbs-t", a->orbs[kRuleTransit], "orb file of transits (default: profile)");
    cmd->add_option("--orbs-p", a->orbs[kRuleProgression], "orb file of progressions");
    cmd->add_option("--orbs-d", a->orbs[kRuleDirection], "orb file of directions");
    cmd->add_flag("--json", a->json, "JSON output");
    cmd->callback([a, &action] {
        std::error_code ec;
        // Relative names are the invoker's: the workspace is entered later.
        a->events = std::filesystem::absolute(a->events, ec).string();
        for (auto& orbs : a->orbs)
            if (!orbs.empty()) orbs = std::filesystem::absolute(orbs, ec).string();
        action.ephemeris = true;
        action.run = [a] { Run(*a); };
    });
}

}  // namespace orbeta::cli
