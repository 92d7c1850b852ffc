#pragma once
// Patterns of a chart that the interpretation reports and the analysis table name:
// the Jones figure, closed aspect configurations and rulership chains.
#include <vector>

#include "aspects/aspect_matrix.h"
#include "interp/chart_analysis.h"

namespace orbeta {

// Figure 0 (none) .. 9; handle, beginning and ending bodies as BodyIds (0 none).
struct JonesResult {
    int figure = 0;
    std::vector<int> handle;
    int begin = 0;
    int end = 0;
};
JonesResult JonesFigure(const ChartAnalysis& a);

// Triangle kinds 1 and 4..10, quadrangle kinds 2 and 3. Bodies in cycle order, angles
// of each body to the next (the last to the first); apex 0 when there is none.
struct AspectConfiguration {
    int kind = 0;
    std::vector<int> bodies;
    std::vector<int> angles;
    int apex = 0;
};
constexpr int kTriangleKind = 1;
constexpr int kQuadrangleKind = 2;
constexpr int kGrandCrossKind = 3;
constexpr int kLastConfigurationKind = 10;
// The aspect angle in whole degrees between two bodies, read at [lower][higher] of the
// single-chart matrix; −1 for none.
int AspectBetween(const AspectMatrix& m, int body1, int body2);
std::vector<AspectConfiguration> AspectConfigurations(const ChartAnalysis& a,
                                                      const AspectMatrix& m);

// Mode bit 0: ten bodies with modern rulers, else bodies 1..7 with classical ones;
// bit 1: the ruler of the opposite sign (exile) instead. chain[b] numbers 1..count;
// each centre is the cycle the chain closes on, from the body the walk reached.
struct ChainResult {
    int bodies = 0;
    std::vector<int> chain;  // by BodyId, [0] unused
    std::vector<std::vector<int>> centres;
    int Count() const { return static_cast<int>(centres.size()); }
};
ChainResult Chains(int mode, const ChartAnalysis& a);
int ChainSuccessor(int mode, int sign);

}  // namespace orbeta
