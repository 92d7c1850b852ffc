#include "gui/chart_opener.h"

namespace orbeta {

namespace {
ChartOpener& Opener() {
    static ChartOpener opener;
    return opener;
}
}  // namespace

void SetChartOpener(ChartOpener opener) {
    Opener() = std::move(opener);
}

bool OpenChart(const ChartRecord& chart, const std::string& text) {
    if (!Opener()) return false;
    Opener()(chart, text);
    return true;
}

}  // namespace orbeta
