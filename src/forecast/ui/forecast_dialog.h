#pragma once
// Dialog 1052 "Прогноз": the period, the correction, the methods, the natal points,
// the lists of moving points (dialogs 1002 and 1100), the eclipse parameters and the
// report options. OK refuses a period it cannot run (the dialog stays) and keeps the
// choices in the profile.
#include <optional>
#include <string>
#include <vector>

#include "forecast/forecast.h"
#include "gui/dial.h"

class QCheckBox;

namespace orbeta {

struct Settings;

namespace forecast_ids {
constexpr int kStart = 1401;
constexpr int kEnd = 1402;
constexpr int kCorrection = 1406;
constexpr int kMethods = 301;  // 301..307 by method bit
constexpr int kNatal = 601;    // 601..627 by PointId
constexpr int kCheckAll = 3000;
constexpr int kTransitList = 3001;     // "Транзитные"
constexpr int kProgressedList = 3002;  // "Прогрессивные"
constexpr int kDirectedList = 3003;    // "Дирекционные"
constexpr int kEclipses = 3004;        // "Параметры затмений"
constexpr int kWithTexts = 401;
constexpr int kHouseLinks = 402;
constexpr int kListPoints = 501;  // 501..527 in the list dialogs
}  // namespace forecast_ids

// Dialogs 1002 and 1100: check boxes of the first `count` points.
class PointListDialog : public Dial {
    Q_OBJECT
  public:
    PointListDialog(QWidget* parent, int resourceId, const char* cp1251Title, const char* helpKey,
                    int count, uint32_t mask);
    uint32_t Mask() const;

  private:
    std::vector<QCheckBox*> boxes_;
};

class ForecastDialog : public Dial {
    Q_OBJECT
  public:
    // The correction shown is that of the given chart (hours, "%.3f").
    ForecastDialog(QWidget* parent, Settings& settings, double gmtCorr);
    // On OK: the period, correction, masks and options (orbs and eclipses not filled).
    const ForecastRequest& Request() const { return request_; }
    void accept() override;

  private:
    QLineEdit* Field(int id, const std::string& text, int length);
    bool Read(ForecastRequest& r, std::string& error) const;

    Settings& settings_;
    ForecastMasks lists_;  // the moving-point masks, changed by the list dialogs
    QLineEdit* start_ = nullptr;
    QLineEdit* end_ = nullptr;
    QLineEdit* correction_ = nullptr;
    std::vector<QCheckBox*> methods_, natal_;
    QCheckBox* texts_ = nullptr;
    QCheckBox* links_ = nullptr;
    ForecastRequest request_;
};

// The profile's five masks and back.
ForecastMasks ForecastMasksOf(const Settings& settings);
void StoreForecastMasks(Settings& settings, const ForecastMasks& masks);

// The period texts the dialog starts from: the profile's, or today 00:00 and the same
// day a year later where they are empty (local date of the present UT moment).
std::pair<std::string, std::string> ForecastPeriodTexts(const Settings& settings, double jdUT,
                                                        double gmtCorr);

}  // namespace orbeta
