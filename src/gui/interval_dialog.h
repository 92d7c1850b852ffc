#pragma once
// Dialog 1006 "Задание интервала": a start and an end date, kept in the settings as
// one text "ДД.ММ.ГГГГ-ДД.ММ.ГГГГ".
#include <string>

#include "gui/dial.h"

namespace orbeta {

class IntervalDialog : public Dial {
    Q_OBJECT
  public:
    IntervalDialog(QWidget* parent, const std::string& interval);
    double Start() const { return start_; }
    double End() const { return end_; }
    // The settings text of the two fields.
    std::string IntervalText() const;
    void accept() override;

  private:
    QLineEdit* start_field_;
    QLineEdit* end_field_;
    double start_ = 0;
    double end_ = 0;
};

// On OK: the two Julian days into the outputs and the text into `interval`; on Cancel
// nothing changes. True on OK.
bool RunIntervalDialog(QWidget* parent, std::string& interval, double& start, double& end);

}  // namespace orbeta
