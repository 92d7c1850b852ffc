#pragma once
// The services of the desktop program: message boxes, the progress dialog, the
// hourglass, and the hand-over of finished reports to their text window.
#include <QPointer>
#include <functional>

#include "gui/progress_dialog.h"
#include "platform/services.h"

namespace orbeta {

class QtServices : public Services {
  public:
    using ReportViewer =
        std::function<void(const std::string& path, const std::string& title,
                           const std::string& helpKey, const ReportOrigin& origin)>;

    void Warning(const std::string& text) override;
    [[noreturn]] void Fatal(const std::string& text) override;
    ContinueOrQuit AskMissingEphemerisFile(const std::string& fileName) override;
    // Ends the program as closing the frame would, without asking again.
    [[noreturn]] void Quit() override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    void ProgressStarted(int total) override;
    void ProgressStepped(int delta) override;
    void ProgressEnded() override;
    void SetBusy(bool busy) override;
    void Notice(const std::string& text) override;
    void ShowReportFile(const std::string& path, const std::string& title,
                        const std::string& helpKey, const ReportOrigin& origin) override;

    // The text window that reports open in.
    void SetReportViewer(ReportViewer viewer) { reportViewer_ = std::move(viewer); }
    // What must happen before the program ends at the user's wish (the profile).
    void SetBeforeQuit(std::function<void()> f) { beforeQuit_ = std::move(f); }
    ProgressDialog* Progress() const { return progress_; }

  private:
    ReportViewer reportViewer_;
    std::function<void()> beforeQuit_;
    QPointer<ProgressDialog> progress_;
    int busy_ = 0;
};

}  // namespace orbeta
