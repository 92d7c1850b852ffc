#pragma once
// The relationship report (base "wzaim"): your chart against your partner's. Yours is
// the inner chart of an overlay (the row chart of its two-chart matrix), the partner's
// the outer one; the partner's keys carry the suffix "x".
#include <vector>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "interp/report_sink.h"

namespace orbeta {

// Flags of "Состав выдачи", bits 0..5 = boxes 201..206.
enum RelationshipFlag : unsigned {
    kRelAspects = 1u << 0,        // aspects, partner in your houses, unaspected bodies
    kRelYourExpect = 1u << 1,     // your expectations
    kRelPartnerExpect = 1u << 2,  // the partner's expectations
    kRelIntroduction = 1u << 3,
    kRelYourHouses = 1u << 4,     // your cusps take aspects, your house texts
    kRelPartnerHouses = 1u << 5,  // the same for the partner
};
constexpr unsigned kDefaultRelationshipFlags = 15;
constexpr unsigned kAllRelationshipFlags = 63;

struct RelationshipInput {
    unsigned flags = kDefaultRelationshipFlags;
    ChartRecord yours;
    ChartRecord partner;
    OrbTable orbs;
};

struct RelationshipAspect {
    int yours = 0;    // PointId of your chart
    int partner = 0;  // PointId of the partner's chart
    int angle = 0;
};
struct BodyInHouse {
    int body = 0;
    int house = 0;
};

// What the report found, whether or not the base had texts for it.
struct RelationshipFindings {
    std::vector<RelationshipAspect> aspects;
    std::vector<BodyInHouse> partnerInYourHouses;
    std::vector<int> unaspected;  // your bodies 1..15 with no aspect
};

// Writes the report from the base's introduction "0" on into the sink (the base open
// unless listing). Listing, every key any pair of charts could look up is recorded.
RelationshipFindings WriteRelationship(const RelationshipInput& in, ReportSink& sink);

}  // namespace orbeta
