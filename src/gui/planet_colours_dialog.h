#pragma once
// Dialog 1065 "Цвета планет": each body's colour, chosen in the system colour chooser
// and kept as the body's override in the profile (−1: the standard colour).
#include <QColor>
#include <QListWidget>
#include <array>
#include <functional>
#include <optional>

#include "data/settings.h"
#include "gui/dial.h"

namespace orbeta {

class PlanetColoursDialog : public Dial {
    Q_OBJECT
  public:
    using ColourChooser = std::function<std::optional<QColor>(QWidget* parent, QColor initial)>;
    // Tests replace the system colour chooser.
    static void SetColourChooser(ColourChooser chooser);

    PlanetColoursDialog(QWidget* parent, const Settings& settings);
    void StoreInto(Settings& settings) const { settings.colrPE = shown_.colrPE; }

  private:
    void ShowColours();
    void ChooseColour();
    void RestoreStandardColour();
    void RestoreAllStandardColours();

    Settings shown_;
    QListWidget* bodies_;
};

// The colours change with OK, and stay with Cancel.
void EditPlanetColours(QWidget* parent);

}  // namespace orbeta
