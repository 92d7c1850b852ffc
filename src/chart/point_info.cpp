#include "chart/point_info.h"

#include "chart/wheel_glyphs.h"
#include "core/angles.h"
#include "core/houses.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

// Aspects are listed towards the bodies and the first six cusps.
constexpr int kLastListedPoint = 21;

void AddAspectsWithinChart(PointInfo& info, const ChartRecord& chart, const AspectMatrix& m,
                           int p) {
    for (int q = 1; q <= kLastListedPoint; ++q) {
        if (q == p) continue;
        // Within one chart only the cells above the diagonal hold aspects.
        float angle = p < q ? m.At(p, q) : m.At(q, p);
        if (angle == kNoAspect) continue;
        double distance = Separation(PointLongitude(chart, p), PointLongitude(chart, q));
        info.lines.push_back(Format(" %s %5.1f (%6.2f)", PointName(q).c_str(),
                                    static_cast<double>(angle), distance));
    }
}

void AddAspectsBetweenCharts(PointInfo& info, const AspectMatrix& m, int p, bool inner) {
    for (int q = 1; q <= kLastListedPoint; ++q) {
        float angle = inner ? m.At(p, q) : m.At(q, p);
        if (angle == kNoAspect) continue;
        info.lines.push_back(Format(" %s %5.1f", PointName(q).c_str(), static_cast<double>(angle)));
    }
}

}  // namespace

PointInfo DescribePoint(const PointInfoSource& source, int pointId, bool inner) {
    PointInfo info;
    const bool two = source.kind == 2;
    const ChartRecord& chart = two && inner ? *source.second : *source.first;
    info.caption =
        two ? Format("%s (%s.)", PointName(pointId).c_str(), inner ? "внутр"_cp : "внеш"_cp)
            : PointName(pointId);

    double lon = PointLongitude(chart, pointId);
    SignPosition at = SignPositionOf(lon);
    info.degrees = Format("%02d ", at.degrees);
    info.signGlyph = SignGlyph(at.sign);
    info.minutes = Format("%02d", at.minutes);
    bool body = pointId >= 1 && pointId <= kBodyCount;
    info.retrograde = body && chart.speed[pointId] < 0;

    if (body) {
        info.lines.push_back(Format(" V=%11.7f g/d", chart.speed[pointId]));
        info.lines.push_back(Format(" LAT=%11.3f", chart.lat[pointId]));
    }
    info.lines.push_back(Format(" Sk=%12.3f", EquatorialOf(chart, pointId).declination));
    info.lines.push_back("   Aspects:");
    if (source.matrix) {
        if (two)
            AddAspectsBetweenCharts(info, *source.matrix, pointId, inner);
        else
            AddAspectsWithinChart(info, chart, *source.matrix, pointId);
    }
    return info;
}

}  // namespace orbeta
