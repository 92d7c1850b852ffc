#pragma once
// Dialogs of the charts of the Sun and the Moon: 1017 "Соляр-Лунар" (returns of a
// chart), 1018 "Вход Солнца в Градус", and 1076 "Затмения" (the eclipse parameters).
#include <array>
#include <string>

#include "core/chart_record.h"
#include "gui/dial.h"

class QRadioButton;
class QTableWidget;

namespace orbeta {

struct Settings;

// What 1017 and 1018 give back: the place, the name, the year and month (1017) or the
// degree (1018, packed d.mm).
struct ReturnDialogData {
    std::string name;
    std::string town;
    double latitude = 0;   // packed d.mm
    double longitude = 0;  // packed d.mm, east positive
    int kind = 2;          // 0 annual, 1 monthly, 2 lunar, 7 embolismic
    int year = 0;
    int month = 1;
    double degree = 0;
};

// DVSL: the kind, the place and name of the base chart, year and month (the present).
class SolarLunarDialog : public Dial {
    Q_OBJECT
  public:
    SolarLunarDialog(QWidget* parent, const ChartRecord& base, int year, int month);
    const ReturnDialogData& Data() const { return data_; }
    void accept() override;

  private:
    QRadioButton* kinds_[4] = {};
    QLineEdit* name_;
    QLineEdit* year_;
    QLineEdit* month_;
    ReturnDialogData data_;
};

// DVVSG: the place and name of a chart, the year (the present) and the degree.
class SunIngressDialog : public Dial {
    Q_OBJECT
  public:
    SunIngressDialog(QWidget* parent, const ChartRecord& prefill, int year);
    const ReturnDialogData& Data() const { return data_; }
    void accept() override;

  private:
    QLineEdit* name_;
    QLineEdit* year_;
    QLineEdit* degree_;
    ReturnDialogData data_;
};

// ZatmG: influence of solar and lunar eclipses before and after (days), and the orbs of
// 21 points for solar and lunar eclipses. OK writes them into the settings (cusps 7..12
// take the orbs of 1..6).
class EclipseParametersDialog : public Dial {
    Q_OBJECT
  public:
    EclipseParametersDialog(QWidget* parent, Settings& settings);
    void accept() override;
    QTableWidget* Orbs() const { return orbs_; }

  private:
    Settings& settings_;
    std::array<QLineEdit*, 4> days_{};
    QTableWidget* orbs_;
};

// The message for a year the ephemeris does not hold, a month outside 1..12, a degree
// that is no packed d.mm below 360; empty when they may be used (CP1251).
std::string ReturnYearError(int year);
std::string IngressDegreeError(double packed);

}  // namespace orbeta
