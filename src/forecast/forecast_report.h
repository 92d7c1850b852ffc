#pragma once
// The forecast report from its request to its window: the report file begun, the
// run, the text written (with the interpretation texts when asked for) and shown.
#include <filesystem>
#include <functional>
#include <vector>

#include "forecast/forecast_text.h"

namespace orbeta {

// The text base of the forecast, given by the caller (the engine does not hold it):
// open says whether it could be opened (having warned when not).
struct ForecastTexts {
    std::function<bool()> open;
    ForecastTextPrinter print;
    std::function<void()> close;
};

struct ForecastReport {
    bool shown = false;  // a report was written and handed to its reader
    ForecastRun run;
    std::vector<ForecastEntry> entries;
    std::vector<bool> printed;  // by entry: a text was printed (looked up, without a report)
    bool withTexts = false;     // texts were asked for and the base opened
};

// With report set: begins the report (nothing is computed when it cannot be made),
// runs, writes and shows it with the title " Прогноз" and the help key "Gnoz"; a hit
// file that cannot be written is warned about and the report dropped. Without report
// the same run and entries, the texts only looked up.
ForecastReport RunForecastReport(Computation& c, const ForecastRequest& request,
                                 const ChartRecord& natal, const std::filesystem::path& hitFile,
                                 int precision, const ForecastTexts& texts, bool report = true);

}  // namespace orbeta
