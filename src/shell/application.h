#pragma once
// The desktop program from start to end: start-up in the working directory, the
// frame with its commands, and the closing sequence.
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "gui/qt_services.h"
#include "shell/command_map.h"

namespace orbeta {

class MainFrame;

class Application {
  public:
    Application();
    ~Application();

    // Start-up after the Qt application object exists, in the working directory:
    // fonts, UI texts and profile, the frame, the ephemeris, the current and input
    // charts, the printer.
    void Start();

    // The closing sequence: the profile is written whatever the answer; on Yes to
    // "Закончить Работу?" the fonts and the printer go and the frame may close.
    bool CloseQuery();

    MainFrame* Frame() const { return frame_.get(); }
    CommandMap& Commands() { return commands_; }
    QtServices& Services() { return services_; }
    // Families of the fonts registered from the working directory.
    QStringList RegisteredFamilies() const;

  private:
    void RegisterFonts();
    void UnregisterFonts();
    void SaveSettings();
    void AddFrameCommands();
    // Every command of menu 1000 that is built, whichever part of the program does it.
    void AddMenuCommands();
    // The chart window's commands whose work lives in other parts of the program.
    void AddChartWindowCommands();

    QtServices services_;
    CommandMap commands_;
    std::unique_ptr<MainFrame> frame_;
    std::vector<int> fontIds_;
};

// Sets the local moment of the profile's chart to now (a new workspace starts on the
// present moment at its place).
void StampProfileWithPresentMoment(const std::string& profilePath);

// main() of orbeta: orbeta [--workspace DIR].
int RunOrbeta(int argc, char** argv);

}  // namespace orbeta
