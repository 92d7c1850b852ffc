#pragma once
// Dialog 1070 "Ректификация": the interval of candidate birth times, the step, the
// place and correction of the birth, the methods used and the report with its
// threshold. The texts are remembered in the settings; the methods and the report
// flag while the program runs.
#include <string>

#include "gui/dial.h"
#include "rectify/rectification.h"

class QCheckBox;
class QLabel;

namespace orbeta {

struct Settings;

// What the dialog gives back: the parameters of a run and the birth place.
struct RectifyDialogData {
    RectifyParams params;
    std::string town;      // CP1251
    double latitude = 0;   // packed d.mm
    double longitude = 0;  // packed d.mm, east positive
};

class RectifyDialog : public Dial {
    Q_OBJECT
  public:
    RectifyDialog(QWidget* parent, Settings& settings, const ChartRecord& current);
    const RectifyDialogData& Data() const { return data_; }
    void accept() override;
    // Shows the current event file again (after 1073 changed it).
    void ShowEventFile();

  protected:
    void OnTowns() override;

  private:
    Settings& settings_;
    QLabel* eventFile_;
    QLineEdit* start_;
    QLineEdit* end_;
    QLineEdit* step_;
    QLineEdit* threshold_;
    QLineEdit* correction_;
    QCheckBox* methods_[3] = {};
    QCheckBox* report_;
    RectifyDialogData data_;
};

// The methods (bit k: transits, progressions, directions) and the report flag the
// dialog opens with: those of its last OK while the program runs.
unsigned& RememberedRectifyMethods();
bool& RememberedRectifyReport();

}  // namespace orbeta
