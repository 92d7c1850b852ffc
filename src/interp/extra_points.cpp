#include "interp/extra_points.h"

#include <charconv>
#include <filesystem>

#include "core/angles.h"
#include "core/ephemeris.h"
#include "core/hypothetical.h"
#include "forecast/sensitive_points.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

// The ids CalcBody takes beyond the chart's bodies.
bool LibraryRangeBody(long n) {
    return (n >= 16 && n <= 20) || (n > kAsteroidOffset && n < kAsteroidOffset + 1000000);
}

void WriteContacts(const ExtraBody& b, ReportSink& sink) {
    for (const ExtraContact& x : b.contacts)
        sink.Line(
            Format(" %s - %3.0f орбис %.2f"_cp, PointName(x.owner).c_str(), x.angle, x.distance));
}

}  // namespace

std::vector<AsteroidEntry> ParseAsteroidList(const std::string& listText) {
    std::vector<AsteroidEntry> out;
    for (const std::string& item : SplitListText(listText)) {
        std::size_t end = item.find_last_not_of(' ');
        std::size_t blank = end == std::string::npos ? end : item.find_last_of(' ', end);
        long number = 0;
        bool ok = blank != std::string::npos;
        if (ok) {
            const char* first = item.data() + blank + 1;
            const char* last = item.data() + end + 1;
            auto [p, ec] = std::from_chars(first, last, number);
            ok = ec == std::errc() && p == last && LibraryRangeBody(number);
        }
        if (!ok) {
            Journal("ASw: entry without a body number skipped: " + item);
            continue;
        }
        out.push_back({item.substr(0, end + 1), static_cast<int>(number)});
    }
    return out;
}

std::vector<ExtraContact> ExtraContacts(const ChartRecord& chart, const OrbTable& table, long maskP,
                                        double lon) {
    std::vector<ExtraContact> out;
    SensitivePointOptions options;
    options.maskP = maskP;
    for (const SensitivePoint& p : SensitivePoints(chart, table, options)) {
        double d = Separation(p.position, lon);
        if (d <= kExtraPointOrb) out.push_back({p.owner, p.angle, d});
    }
    return out;
}

std::vector<ExtraBody> ComputeAsteroids(Computation& c, const ChartRecord& chart,
                                        const OrbTable& table, long maskP,
                                        const std::vector<AsteroidEntry>& entries) {
    std::vector<ExtraBody> out;
    for (const AsteroidEntry& e : entries) {
        ExtraBody b;
        b.name = e.name;
        b.number = e.number;
        // The library leaves a body it cannot give at 0 and says why in the diagnostics.
        Computation probe(c.context);
        BodyPosition p = CalcBody(probe, chart.jdUT, e.number);
        b.available = probe.diagnostics.Empty() || p.lon != 0 || p.lat != 0 || p.speed != 0;
        c.diagnostics.Merge(probe.diagnostics);
        if (b.available) {
            b.lon = p.lon;
            b.lat = p.lat;
            b.contacts = ExtraContacts(chart, table, maskP, b.lon);
        }
        out.push_back(std::move(b));
    }
    return out;
}

std::vector<ExtraBody> ComputeHypotheticalBodies(Computation& c, const ChartRecord& chart,
                                                 const OrbTable& table, long maskP) {
    std::vector<ExtraBody> out;
    std::array<double, 8> lon = HypotheticalLongitudes(c, chart.jdCalc);
    for (int i = 0; i < 8; ++i) {
        ExtraBody b;
        b.name = HypotheticalName(i + 1);
        b.number = i + 1;
        b.available = lon[i] != kNoHypotheticalLongitude;
        if (b.available) {
            b.lon = lon[i];
            b.contacts = ExtraContacts(chart, table, maskP, b.lon);
        }
        out.push_back(std::move(b));
    }
    return out;
}

bool OpenOptionalTextBase(const std::filesystem::path& stem) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(stem).replace_extension(".csr"), ec) &&
        !std::filesystem::exists(std::filesystem::path(stem).replace_extension(".cta"), ec))
        return false;
    return OpenTextBase(stem);
}

void WriteAsteroidTable(const std::vector<ExtraBody>& bodies, ReportSink& sink) {
    for (const ExtraBody& b : bodies) {
        if (!b.available) {
            sink.Line(Format("\n  %-22s %s", b.name.c_str(), "нет данных эфемерид"_cp));
            continue;
        }
        sink.Line(Format("\n  %-22s %6.2f (%s) %8.2f", b.name.c_str(), b.lon,
                         PositionText(b.lon).c_str(), b.lat));
        sink.Text("%d", b.number);
        WriteContacts(b, sink);
    }
}

void WriteHypotheticalTable(const std::vector<ExtraBody>& bodies, ReportSink& sink) {
    for (const ExtraBody& b : bodies) {
        if (!b.available) continue;
        sink.Line(Format(" %-10s %6.2f (%s)", b.name.c_str(), b.lon, PositionText(b.lon).c_str()));
        sink.Line("");
        WriteContacts(b, sink);
    }
}

}  // namespace orbeta
