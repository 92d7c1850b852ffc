#pragma once
// Services for programs without windows: messages go to standard error in UTF-8.
#include "platform/services.h"

namespace orbeta {

class ConsoleServices : public Services {
  public:
    void Warning(const std::string& text) override;
    [[noreturn]] void Fatal(const std::string& text) override;
    // Without a user to ask, the computation goes on and the body stays empty.
    ContinueOrQuit AskMissingEphemerisFile(const std::string& fileName) override;
    [[noreturn]] void Quit() override;
    // A finished report is printed (UTF-8) and its file removed.
    void ShowReportFile(const std::string& path, const std::string& title,
                        const std::string& helpKey, const ReportOrigin& origin) override;
    void SetMissingFileAnswer(ContinueOrQuit answer) { missingFileAnswer_ = answer; }

  private:
    ContinueOrQuit missingFileAnswer_ = ContinueOrQuit::Continue;
};

}  // namespace orbeta
