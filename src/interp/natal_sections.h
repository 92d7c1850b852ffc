#pragma once
// Sections shared by the natal-type interpretation reports.
#include "interp/chart_analysis.h"
#include "interp/interpretation.h"
#include "interp/report_sink.h"

namespace orbeta {

struct SectionContext {
    const InterpretationInput& in;
    const ChartAnalysis& a;
    ReportSink& sink;
    bool On(unsigned bit) const { return (in.options & bit) != 0; }
};

// Flags of the bodies-and-aspects section.
enum BodyFlag : unsigned {
    kFlagAspectOrder = 1,
    kFlagRetrograde = 2,
    kFlagLunar = 4,
    kFlagMercury = 8,
    kFlagSignHouse = 32,
};

// Aspect angles to print for a pair of points (lower PointId first): the one found,
// or listing every switched-on angle.
std::vector<int> PairAngles(const SectionContext& s, int point1, int point2);

void EnergySection(const SectionContext& s);
void ChainSection(const SectionContext& s);
void JonesSection(const SectionContext& s);
void RisingAndSignStellia(const SectionContext& s);
void QuadrantSection(const SectionContext& s);
// Kinds are printed for 1, 2 and every kind present; the child's report also names
// each apex body.
void ConfigurationSection(const SectionContext& s, bool apexes);
void BodiesAndAspects(const SectionContext& s, unsigned flags);
// Houses 1 and 4 in their signs, the Ascendant's ruler when asked, then the house
// stellia (a house skipped when given).
void HouseSection(const SectionContext& s, bool ruler);
void HouseStellia(const SectionContext& s, int skipHouse, const std::vector<int>& handleHouses);

}  // namespace orbeta
