#pragma once
// Dialog 1003 "Графическое представление и цвета": how the wheel is laid out and
// filled, the text face, the aspectarium and other display switches, and the colours
// of the twelve drawing elements. The dialog works on a copy; OK stores it.
#include <QColor>
#include <array>
#include <functional>
#include <optional>

#include "data/colours.h"
#include "data/settings.h"
#include "gui/dial.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QListWidget;

namespace orbeta {

class DisplayDialog : public Dial {
    Q_OBJECT
  public:
    DisplayDialog(QWidget* parent, const Settings& settings);

    // Everything the dialog shows, written into the settings.
    void StoreInto(Settings& settings) const;

    // The colour chooser of "Установка цвета" (the system's by default): the colour
    // chosen, or nothing when it was cancelled.
    using ColourChooser = std::function<std::optional<QColor>(QWidget* parent, QColor initial)>;
    static void SetColourChooser(ColourChooser chooser);

    // 1000, 1002 and 1001 on the element selected in list 1501.
    void ChooseColour();
    void RestoreStandardColour();
    void RestoreAllStandardColours();

  private:
    void ShowColours();

    Settings shown_;  // the colours as edited, for the standard colours of elements
    QButtonGroup* origin_;
    QButtonGroup* direction_;
    QButtonGroup* wheelType_;
    QButtonGroup* fill_;
    QCheckBox* cuspAspects_;
    QCheckBox* maximise_;
    QCheckBox* aspectarium_;
    QCheckBox* bindhuTable_;
    QComboBox* font_;
    QListWidget* elements_;
};

// Command 305: the dialog on the program's settings; OK stores them and repaints every
// chart window, Cancel changes nothing.
void EditDisplaySettings(QWidget* parent);

}  // namespace orbeta
