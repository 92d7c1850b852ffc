#pragma once
// The small choice dialogs of the configuration commands: a column of check boxes
// over a bit mask, a column of radio buttons, and dialog 1005 "Методы вычислений".
#include <QString>
#include <string>
#include <vector>

#include "data/settings.h"
#include "gui/dial.h"

class QCheckBox;
class QButtonGroup;

namespace orbeta {

// Boxes 501..500+n; box 501 + i is ticked when bit i of the mask is set. Command 3000
// ("Отметить все") ticks every box.
class CheckBoxDialog : public Dial {
    Q_OBJECT
  public:
    CheckBoxDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                   const std::string& caption, const std::vector<std::string>& labels, long mask);
    // The mask with bits 0..n−1 taken from the boxes; higher bits stay.
    long Mask() const;
    void CheckAll();

  private:
    std::vector<QCheckBox*> boxes_;
    long mask_;
};

// Runs the dialog; OK writes the boxes into the mask, Cancel leaves it. True on OK.
bool RunCheckBoxDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                       const std::string& caption, const std::vector<std::string>& labels,
                       long& mask);

// Buttons firstId..firstId+n−1; the button of index `current` is preselected.
class RadioDialog : public Dial {
    Q_OBJECT
  public:
    RadioDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                const std::string& caption, const std::vector<std::string>& labels, int firstId,
                int current);
    int Chosen() const;

  private:
    QButtonGroup* group_;
    int firstId_;
};

// The chosen index (0-based), or −1 on Cancel.
int RunRadioDialog(QWidget* parent, int resourceId, const std::string& helpKey,
                   const std::string& caption, const std::vector<std::string>& labels, int firstId,
                   int current);

// Dialog 1005: node and Lilith (mean or true), the debug journal, and how long an
// electional aspect lasts. OK stores all four options.
class MethodsDialog : public Dial {
    Q_OBJECT
  public:
    MethodsDialog(QWidget* parent, const Settings& settings);
    void StoreInto(Settings& settings) const;

  private:
    QButtonGroup* node_;
    QButtonGroup* lilith_;
    QCheckBox* debug_;
    QButtonGroup* electional_;
};

}  // namespace orbeta
