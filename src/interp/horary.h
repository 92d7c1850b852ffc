#pragma once
// The horary answer (base "chorar"): the significators of the subject's and the
// object's houses, whether they perfect an aspect and what prohibits it, and the
// testimony of the Moon, judged on the next-aspect matrix of the chart's moment.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_record.h"
#include "interp/report_sink.h"

namespace orbeta {

// The coming aspects among SUN..PLT (0-based rows and columns): angle 0, 60, 90, 120
// or 180, −1 where none; the Julian day (UT) of perfection.
struct HoraryAspects {
    int aspect[10][10];
    double time[10][10];
    HoraryAspects();
};

struct HoraryInput {
    int subject = 1;  // s: the subject's house 1..12
    int object = 1;   // b: the object's house counted from the subject's, 1 = the same
    ChartRecord chart;
    HoraryAspects next;
};

struct HoraryPair {
    int i = 0, j = 0;  // BodyIds
    int aspect = -1;
    double time = 0;
};

struct HoraryFindings {
    std::string refusal;  // CP1251; not empty when the chart cannot be judged
    int q = 0;
    int r1 = 0, r2 = 0;
    std::optional<HoraryPair> taken;
    int prohibitor = 0;              // BodyId, 0 none
    std::optional<HoraryPair> moon;  // i = MON, j = k
    int moonObstacle = 0;            // m, 0 none
};

// The object's house: ((s + b − 2) mod 12) + 1.
int HoraryObjectHouse(int subject, int object);
// The classical ruler of sign 0..11 (Scorpio MRS, Aquarius SAT, Pisces JUP).
int ClassicalRuler(int sign);

// Writes the answer into the sink (the base open unless listing). A chart without
// houses is refused: nothing is written, the refusal says why.
HoraryFindings WriteHorary(const HoraryInput& in, ReportSink& sink);

// The entries of a horary list text ("sub", "qst"): label and the number after "[",
// entries without a number in 1..12 left out.
struct HoraryChoice {
    std::string label;
    int number = 0;
};
std::vector<HoraryChoice> HoraryChoices(std::string_view listText);

}  // namespace orbeta
