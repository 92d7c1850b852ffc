#include "forecast/degree_reports.h"

#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "forecast/sensitive_points.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

// Distances are compared with this much slack, so that a point exactly one degree
// away counts whatever the last bit of its arithmetic.
constexpr double kOrbSlack = 1e-9;

bool IsComment(std::string_view line) {
    return !line.empty() && line.front() == '*';
}

bool IsBlank(std::string_view line) {
    for (char ch : line)
        if (ch != ' ' && ch != '\t' && ch != '\r') return false;
    return true;
}

std::string TrimEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::string OwnerName(int owner) {
    if (owner >= kSignStartOwner) return SignStartName(owner - kSignStartOwner);
    return PointName(owner);
}

std::string LineMessage(const char* file, int line, const char* what) {
    return Format("%s, %s %d: %s"_cp, file, "строка"_cp, line, what);
}

// A whole degree 0..359 after "@": digits only, blanks around allowed.
std::optional<int> DegreeOfHeader(std::string_view line) {
    std::string_view rest = line.substr(1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r'))
        rest.remove_suffix(1);
    if (rest.empty() || rest.size() > 3) return std::nullopt;
    int n = 0;
    for (char ch : rest) {
        if (ch < '0' || ch > '9') return std::nullopt;
        n = n * 10 + (ch - '0');
    }
    if (n > 359) return std::nullopt;
    return n;
}

}  // namespace

std::optional<std::string> ReadControlFile(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return OemToAnsi(*bytes);
}

std::vector<int> ExaminedPoints(const ChartRecord& chart, long maskP) {
    std::vector<int> out;
    int last = ChartHasHouses(chart) ? kPointCount : kBodyCount;
    for (int p = 1; p <= last; ++p)
        if (SensitivePointActive(chart, p, maskP)) out.push_back(p);
    return out;
}

// ---- Degree texts -------------------------------------------------------------------

DegreeTextResult ComputeDegreeTexts(const ChartRecord& chart, long maskP,
                                    const std::optional<std::string>& file) {
    DegreeTextResult r;
    if (!file) return r;
    r.opened = true;
    // The whole degree of each point: 359.6 is in 359, never rounded up to 0.
    std::vector<std::pair<int, int>> occupied;
    for (int p : ExaminedPoints(chart, maskP)) {
        int d = static_cast<int>(std::floor(Normalize(PointLongitude(chart, p))));
        occupied.push_back({p, d % 360});
    }
    std::optional<DegreeTextBlock> block;
    auto finish = [&] {
        if (block && !block->points.empty()) r.blocks.push_back(std::move(*block));
        block.reset();
    };
    bool skipping = false;  // text of a damaged "@" line belongs to no block
    auto lines = SplitLines(*file);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (IsComment(line)) continue;
        if (!line.empty() && line.front() == '@') {
            finish();
            auto degree = DegreeOfHeader(line);
            if (!degree) {
                r.messages.push_back(LineMessage(kDegreeTextFile, static_cast<int>(i) + 1,
                                                 "после @ нет градуса 0..359"_cp));
                skipping = true;
                continue;
            }
            skipping = false;
            block.emplace();
            block->degree = *degree;
            for (auto [p, d] : occupied)
                if (d == *degree) block->points.push_back(p);
            continue;
        }
        if (block && !skipping) block->lines.push_back(TrimEnd(line));
    }
    finish();
    return r;
}

std::string DegreeTextReport(const DegreeTextResult& result) {
    std::string out;
    for (const std::string& m : result.messages) out += " " + m + "\n";
    for (const DegreeTextBlock& b : result.blocks) {
        for (int p : b.points) out += Format(" `%s` ", PointName(p).c_str());
        out += Format(" %s %2d град. -\n"_cp, SignName(b.degree / 30).c_str(), b.degree % 30);
        for (const std::string& line : b.lines) out += line + "\n";
        out += "\n";
    }
    return out;
}

// ---- Star conjunctions ----------------------------------------------------------------

StarReportResult ComputeStarConjunctions(const ChartRecord& chart, long maskP,
                                         const std::optional<std::string>& file) {
    StarReportResult r;
    r.jdUT = chart.jdUT;
    r.jdLocal = chart.jdLocal;
    if (!file) return r;
    r.opened = true;
    std::vector<int> points = ExaminedPoints(chart, maskP);
    std::optional<StarBlock> block;
    bool skipping = false;  // inside a block whose star line was refused
    auto lines = SplitLines(*file);
    auto finish = [&] {
        if (block) r.stars.push_back(std::move(*block));
        block.reset();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line.front() == '@') {
            finish();
            skipping = false;
            continue;
        }
        if (IsComment(line)) continue;
        if (block) {
            block->lines.push_back(TrimEnd(line));
            continue;
        }
        if (skipping || IsBlank(line)) continue;
        StarLineError error = StarLineError::None;
        auto star = ParseStarLine(line, &error);
        if (!star) {
            r.messages.push_back(LineMessage(kStarTextFile, static_cast<int>(i) + 1,
                                             "блок без правильной строки звезды пропущен"_cp));
            skipping = true;
            continue;
        }
        StarPosition position = StarPositionAt(*star, chart.jdUT);
        // A proper motion beyond reason carries the star to no place at all.
        if (!std::isfinite(position.longitude) || !std::isfinite(position.latitude)) {
            r.messages.push_back(LineMessage(kStarTextFile, static_cast<int>(i) + 1,
                                             "положение звезды не вычисляется"_cp));
            skipping = true;
            continue;
        }
        block.emplace();
        block->star = *star;
        block->position = position;
        for (int p : points) {
            double d = Difference(PointLongitude(chart, p), block->position.longitude);
            if (std::fabs(d) <= kDegreeReportOrb + kOrbSlack) block->hits.push_back({p, d});
        }
    }
    finish();
    return r;
}

std::string StarConjunctionReport(const StarReportResult& result) {
    std::string out = Format(" Расчетное время: %s\n\n"_cp, DateTimeText(result.jdLocal).c_str());
    for (const std::string& m : result.messages) out += " " + m + "\n";
    for (const StarBlock& s : result.stars) {
        if (s.hits.empty()) continue;
        for (const StarHit& h : s.hits)
            out += Format(" `%s` соед. `%s` %5.2f зв.вел. в %s (орбис=%+4.2f)\n"_cp,
                          PointName(h.point).c_str(), s.star.name.c_str(), s.star.magnitude,
                          PositionText(s.position.longitude).c_str(), DegreesToPacked(h.diff));
        for (const std::string& line : s.lines) out += line + "\n";
    }
    return out;
}

// ---- Lots -----------------------------------------------------------------------------

bool NightChart(const ChartRecord& chart) {
    int house = HouseOf(chart.lon[SUN], chart.cusp);
    return house >= 1 && house <= 6;
}

std::optional<double> LotSymbolLongitude(const ChartRecord& chart, int k) {
    int point = 0;
    if (k >= 1 && k <= kPointCount) {
        point = k;
    } else if (k > kPointCount && k <= kPointCount + 12) {
        point = SignRuler(SignOf(Normalize(chart.cusp[k - kPointCount])));
    } else {
        return std::nullopt;
    }
    if (point <= kBodyCount && !BodyAvailable(chart, point)) return std::nullopt;
    return PointLongitude(chart, point);
}

LotResult ComputeLots(const ChartRecord& chart, long maskP,
                      const std::optional<std::string>& file) {
    LotResult r;
    if (!file) return r;
    r.opened = true;
    if (!ChartHasHouses(chart)) {
        r.houses = false;
        return r;
    }
    r.night = NightChart(chart);
    // The points a lot may fall on: every active point 1..27.
    std::vector<int> points;
    for (int p = 1; p <= kPointCount; ++p)
        if (SensitivePointActive(chart, p, maskP)) points.push_back(p);
    auto lines = SplitLines(*file);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = TrimEnd(lines[i]);
        if (IsComment(line) || line.size() < 14) continue;
        char when = line[1];
        if (when != ' ' && !(when == 'D' && !r.night) && !(when == 'N' && r.night)) continue;
        LotResult::Entry e;
        e.error.line = static_cast<int>(i) + 1;
        e.error.text = line;
        double sum = 0;
        for (int term = 0; term < 3 && e.isLot; ++term) {
            std::string symbol = line.substr(3 + 4 * term, 3);
            double sign = 1;
            if (term > 0) {
                char op = line[2 + 4 * term];
                if (op != '+' && op != '-') {
                    e.isLot = false;
                    e.error.symbol = std::string(1, op);
                    break;
                }
                sign = op == '-' ? -1 : 1;
            }
            int k = LotSymbolPosition(symbol);
            if (k == 0) {
                e.isLot = false;
                e.error.symbol = symbol;
                break;
            }
            auto lon = LotSymbolLongitude(chart, k);
            if (!lon) {
                e.isLot = false;
                e.error.symbol = symbol;
                e.error.noData = true;
                break;
            }
            sum += sign * *lon;
        }
        if (e.isLot) {
            e.lot.line = e.error.line;
            e.lot.sex = line[0];
            e.lot.formula = line.substr(3);
            e.lot.lon = Normalize(sum);
            for (int p : points) {
                double orb = Separation(PointLongitude(chart, p), e.lot.lon);
                if (orb <= kDegreeReportOrb + kOrbSlack) e.lot.hits.push_back({p, orb});
            }
        }
        r.entries.push_back(std::move(e));
    }
    return r;
}

std::string LotReport(const LotResult& result) {
    if (!result.opened) return "";
    if (!result.houses) return LookupText("dZ") + "\n";
    std::string out;
    for (const LotResult::Entry& e : result.entries) {
        if (!e.isLot) {
            const LotError& err = e.error;
            if (err.noData) {
                out += Format(" %s: `%s` - %s\n"_cp, err.text.c_str(), err.symbol.c_str(),
                              "нет данных эфемерид"_cp);
                continue;
            }
            bool op = err.symbol.size() == 1;
            out += Format(" %s: %s\n %s", err.text.c_str(),
                          op ? "знак формулы жребия не + и не -"_cp : LookupText("ErChr").c_str(),
                          LookupText("DpChr").c_str());
            auto symbols = LotSymbols();
            for (size_t k = 0; k < symbols.size(); ++k) {
                out += Format(" %s, ", symbols[k].c_str());
                if (k % 10 == 0) out += "\n";
            }
            out += "\n";
            continue;
        }
        const Lot& lot = e.lot;
        const char* sex = lot.sex == 'M'   ? "Для мужчин:\n"_cp
                          : lot.sex == 'F' ? "Для женщин:\n"_cp
                                           : "";
        out +=
            Format(" %s %-36.36s = %s\n", sex, lot.formula.c_str(), PositionText(lot.lon).c_str());
        for (const LotHit& h : lot.hits)
            out += Format(" соед. с `%s` (орб=%4.2f)\n"_cp, PointName(h.point).c_str(), h.orb);
    }
    return out;
}

// ---- Midpoints ------------------------------------------------------------------------

std::vector<MidpointEntry> ComputeMidpoints(const ChartRecord& chart, const OrbTable& table,
                                            long maskP) {
    std::vector<int> points;
    for (int p = 1; p <= kBodyCount; ++p)
        if (SensitivePointActive(chart, p, maskP)) points.push_back(p);
    // Ascendant and MC only where the chart has real houses.
    if (ChartHasHouses(chart)) {
        points.push_back(kPointAsc);
        points.push_back(kPointMc);
    }
    SensitivePointOptions options;
    options.maskP = maskP;
    options.signStarts = true;
    auto aspectPoints = SensitivePoints(chart, table, options);
    std::vector<MidpointEntry> out;
    for (size_t i = 0; i < points.size(); ++i)
        for (size_t j = i + 1; j < points.size(); ++j) {
            MidpointEntry e;
            e.a = points[i];
            e.b = points[j];
            e.lon = Midpoint(PointLongitude(chart, e.a), PointLongitude(chart, e.b));
            for (const SensitivePoint& s : aspectPoints) {
                double orb = Separation(s.position, e.lon);
                if (orb <= kDegreeReportOrb + kOrbSlack)
                    e.hits.push_back({s.owner, s.position, s.angle, orb});
            }
            out.push_back(std::move(e));
        }
    return out;
}

std::string MidpointReport(const std::vector<MidpointEntry>& entries) {
    std::string out;
    for (const MidpointEntry& e : entries) {
        out += Format(" %s-%s %s", PointName(e.a).c_str(), PointName(e.b).c_str(),
                      PositionText(e.lon).c_str());
        bool first = true;
        for (const MidpointHit& h : e.hits) {
            if (!first) out += Format("%15s", "");
            first = false;
            out += Format(" %s(%s) - %3.0f (орбис=%4.2f)\n"_cp, OwnerName(h.owner).c_str(),
                          PositionText(h.position).c_str(), h.angle, h.orb);
        }
        if (e.hits.empty()) out += "\n";
    }
    return out;
}

}  // namespace orbeta
