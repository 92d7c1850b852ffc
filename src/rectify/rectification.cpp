#include "rectify/rectification.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/houses.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr char kMovingLetters[] = "TPD";
constexpr char kTargetLetters[] = "TPDN";
constexpr int kChartMethods[kMovingKinds] = {kNatal, kSecondary, kDegreeDirections};

std::string SlotName(int slot) {
    return slot >= kFirstSignSlot ? SignStartName(slot - kFirstSignSlot) : PointName(slot);
}

double SlotLongitude(const ChartRecord& chart, int slot) {
    if (slot >= kFirstSignSlot) return (slot - kFirstSignSlot) * 30.0;
    return PointLongitude(chart, slot);
}

bool SlotAvailable(const ChartRecord& chart, int slot) {
    if (slot <= kBodyCount) return BodyAvailable(chart, slot);
    return slot >= kFirstSignSlot || std::isfinite(PointLongitude(chart, slot));
}

// The orb of an angle for a moving point: the table's row of that angle, else the
// default of the method.
double OrbOf(const OrbTable& table, int kind, double angle, int point) {
    if (const AspectRecord* row = table.Find(static_cast<float>(angle))) return row->Orb(point);
    return kind == kRuleDirection ? 0.5 : 1.0;
}

void AppendLE(std::string& out, double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int k = 0; k < 8; ++k) out.push_back(static_cast<char>(bits >> (8 * k) & 0xFF));
}

double ReadLE(const unsigned char* p) {
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = bits << 8 | p[k];
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace

std::string CandidateTimeText(double jdLocal) {
    return DateTimeText(jdLocal);
}

std::string CorrectionHoursText(double hours) {
    std::string text = Format("%.4f", hours);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

int CandidateCount(double startLocal, double endLocal, double stepSeconds) {
    // Julian days near 2.4 million hold a moment to some 40 µs: the interval is taken
    // to the millisecond, so that an hour at 60 s is 60 steps, not 59.9999.
    double seconds = std::round((endLocal - startLocal) * 86400.0 * 1000.0) / 1000.0;
    double n = seconds / stepSeconds;
    if (!(n >= 0)) return 0;
    return static_cast<int>(std::floor(n + 1e-9)) + 1;
}

std::vector<int> ListedCandidates(const std::vector<CandidateScore>& candidates, int threshold) {
    std::vector<int> order(candidates.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        if (candidates[a].total != candidates[b].total)
            return candidates[a].total > candidates[b].total;
        return a > b;  // equal totals: the later candidate first
    });
    size_t n = std::min(order.size(), static_cast<size_t>(std::max(threshold, 1)));
    while (n > 0 && n < order.size() &&
           candidates[order[n]].total == candidates[order[n - 1]].total)
        ++n;
    order.resize(n);
    return order;
}

bool ScoreEvent(const PreparedEvent& event,
                const std::array<const ChartRecord*, kMovingKinds>& moving,
                const ChartRecord& natal, const RectifyParams& params, CandidateScore& score,
                std::string* report) {
    bool hit = false;
    for (const Rule& rule : event.rules) {
        if (!rule.complete) return false;  // a broken rule line ends the event
        for (const RulePair& pair : RulePairs(rule, natal, params.bodyMask)) {
            int a = pair.moving, m = pair.target;
            if (!(params.methods >> a & 1) || !moving[a]) continue;
            const ChartRecord* targetChart = &natal;
            if (m != kRuleNatal) {
                if (!(params.methods >> m & 1) || !moving[m]) continue;
                targetChart = moving[m];
            }
            if (!SlotAvailable(*moving[a], pair.i) || !SlotAvailable(*targetChart, pair.j))
                continue;
            double distance =
                Separation(SlotLongitude(*moving[a], pair.i), SlotLongitude(*targetChart, pair.j));
            for (double x : rule.angles) {
                if (!(std::fabs(distance - x) <= OrbOf(params.orbs[a], a, x, pair.i))) continue;
                score.total += pair.weight;
                score.parts[a] += pair.weight;
                if (report) {
                    if (!hit)
                        *report += Format(" Событие: %s %s\n"_cp, event.event.dateText.c_str(),
                                          event.event.name.c_str());
                    *report += Format(" %s-%c - %s-%c : %5.1f = %4.1f\n", SlotName(pair.i).c_str(),
                                      kMovingLetters[a], SlotName(pair.j).c_str(),
                                      kTargetLetters[m], x, pair.weight);
                }
                hit = true;
                break;  // the first hit of a pair
            }
        }
    }
    return hit;
}

int ScoreCandidate(Computation& c, const RectifyParams& params, std::vector<PreparedEvent>& events,
                   const ChartRecord& natal, CandidateScore& score, std::string* report) {
    score.total = 0;
    score.parts = {};
    score.eventsHit = 0;
    score.jdUT = natal.jdUT;
    score.jdLocal = natal.jdLocal;
    if (report) *report += CandidateTimeText(natal.jdLocal) + "\n";
    ChartRecord charts[kMovingKinds];
    for (PreparedEvent& e : events) {
        std::array<const ChartRecord*, kMovingKinds> moving{};
        for (int k = 0; k < kMovingKinds; ++k) {
            if (!(params.methods >> k & 1)) continue;
            if (k == kRuleTransit) {
                moving[k] = &e.transit;
                continue;
            }
            charts[k] = natal;
            charts[k].jdUT = e.jdUT;
            charts[k].jdLocal = e.event.jdLocal;
            ComputeChart(c, charts[k], natal, kChartMethods[k]);
            moving[k] = &charts[k];
        }
        if (ScoreEvent(e, moving, natal, params, score, report)) ++score.eventsHit;
    }
    return score.eventsHit;
}

std::string ResultRecordBytes(const CandidateScore& score) {
    std::string out;
    AppendLE(out, score.total);
    for (double part : score.parts) AppendLE(out, part);
    return out;
}

bool ReadResultRecord(const std::filesystem::path& path, int k, CandidateScore& score) {
    if (k < 0) return false;
    std::ifstream in(path, std::ios::binary);
    unsigned char buf[kResultRecordSize];
    if (!in.seekg(static_cast<std::streamoff>(k) * kResultRecordSize) ||
        !in.read(reinterpret_cast<char*>(buf), sizeof buf))
        return false;
    score.total = ReadLE(buf);
    for (int p = 0; p < kMovingKinds; ++p) score.parts[p] = ReadLE(buf + 8 * (p + 1));
    return true;
}

RectifyResult RunRectification(Computation& c, const RectifyParams& params, const EventFile& file,
                               const ChartRecord& natalIn,
                               const std::filesystem::path& resultFile) {
    RectifyResult res;
    auto fail = [&res](std::string text) {
        res.error = std::move(text);
        return res;
    };
    double length = params.endLocal - params.startLocal;
    if (!(length > 0)) return fail(LookupText("N>K"));
    if (length > 1.0 + 1e-9) return fail(LookupText("I1"));
    if (!(params.stepSeconds >= 1.0)) return fail("Шаг должен быть числом не меньше 1 секунды"_cp);
    if (params.threshold < 1) return fail("Порог отчета должен быть целым числом не меньше 1"_cp);
    if (!(params.methods & 7)) return fail("Не выбран ни один метод"_cp);

    ChartRecord natal = natalIn;
    natal.gmtCorr = params.correction;
    double startUT = params.startLocal + params.correction;
    // Zodiac houses, chosen or forced by the polar rule, do not move with the birth time.
    {
        ChartRecord probe = natal;
        probe.jdUT = startUT;
        probe.jdLocal = params.startLocal;
        Computation quiet(c.context);
        ComputeChart(quiet, probe, probe, kNatal);
        if (natal.houseSystem == kZodiacHouses)
            return fail(
                "Дома по знакам зодиака не зависят от времени рождения: выберите другую систему домов"_cp);
        if (probe.houseSystem == kZodiacHouses)
            return fail(
                "За полярным кругом дома становятся знаками зодиака: время рождения по ним не уточнить"_cp);
    }

    int skipped = 0;
    bool malformedTold = false;
    for (const DatedEvent& e : file.events) {
        PreparedEvent p;
        p.event = e;
        p.jdUT = e.jdLocal + params.correction;
        if (p.jdUT < startUT) {
            ++skipped;
            continue;
        }
        for (const RuleLine& line : e.rules) {
            p.rules.push_back(ParseRule(line.text));
            if (p.rules.back().Malformed() && !malformedTold) {
                malformedTold = true;
                c.diagnostics.Add(
                    DiagnosticKind::Warning,
                    Format("Ошибка в правиле: файл %s, строка %d: %s"_cp,
                           params.eventFileName.c_str(), line.line, line.text.c_str()));
            }
        }
        p.transit = natal;
        p.transit.jdUT = p.jdUT;
        p.transit.jdLocal = e.jdLocal;
        if (params.methods & 1u << kRuleTransit) ComputeChart(c, p.transit, p.transit, kNatal);
        res.events.push_back(std::move(p));
    }
    if (file.unreadableDates)
        c.diagnostics.Add(DiagnosticKind::Warning,
                          Format("В файле %s пропущено событий с неверной датой: %d"_cp,
                                 params.eventFileName.c_str(), file.unreadableDates));
    if (skipped)
        c.diagnostics.Add(DiagnosticKind::Warning,
                          Format("Пропущено событий раньше начала интервала: %d"_cp, skipped));
    if (file.events.empty())
        return fail(Format("В файле событий '%s' нет ни одного события с датой"_cp,
                           params.eventFileName.c_str()));
    if (res.events.empty())
        return fail(
            Format("В файле событий '%s' нет ни одного события с датой после начала интервала"_cp,
                   params.eventFileName.c_str()));

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(nullptr, std::fclose);
    if (!resultFile.empty()) {
        out.reset(std::fopen(resultFile.c_str(), "wb"));
        if (!out) return fail(Format("Не записывается файл %s"_cp, resultFile.string().c_str()));
    }

    res.total = CandidateCount(params.startLocal, params.endLocal, params.stepSeconds);
    double step = params.stepSeconds / 86400.0;
    std::string* report = params.report ? &res.report : nullptr;
    res.candidates.reserve(res.total);
    double best = 0;
    for (int k = 0; k < res.total; ++k) {
        natal.jdUT = startUT + k * step;
        natal.jdLocal = natal.jdUT - params.correction;
        ComputeChart(c, natal, natal, kNatal);
        CandidateScore score;
        ScoreCandidate(c, params, res.events, natal, score, report);
        if (report)
            *report += Format("%d событий, %.1f баллов\n\n"_cp, score.eventsHit, score.total);
        if (out) {
            std::string bytes = ResultRecordBytes(score);
            if (std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size())
                return fail(Format("Не записывается файл %s"_cp, resultFile.string().c_str()));
        }
        best = std::max(best, score.total);
        res.candidates.push_back(score);
        if (params.progress && params.progress(k + 1, res.total)) {
            res.aborted = k + 1 < res.total;
            break;
        }
    }
    if (out && std::fflush(out.get()) != 0)
        return fail(Format("Не записывается файл %s"_cp, resultFile.string().c_str()));
    res.best = best > 0 ? best : 1;
    res.listed = ListedCandidates(res.candidates, params.threshold);
    if (report) {
        *report += " --------------\n";
        for (int k : res.listed)
            *report += Format(" %s = %5.1f\n", CandidateTimeText(res.candidates[k].jdLocal).c_str(),
                              res.candidates[k].total);
    }
    res.ok = true;
    return res;
}

}  // namespace orbeta
