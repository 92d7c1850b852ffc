#pragma once
// Services that keep the report handed to its window instead of opening one.
#include <string>
#include <vector>

#include "../support/test_support.h"

namespace orbeta::test {

struct ShownReport : RecordingServices {
    void ShowReportFile(const std::string& path, const std::string& title,
                        const std::string& helpKey, const ReportOrigin& origin) override {
        shown = {path, title, helpKey};
        shownOrigin = origin;
    }
    std::vector<std::string> shown;  // path, title, help key
    ReportOrigin shownOrigin;
};

}  // namespace orbeta::test
