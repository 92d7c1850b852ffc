#pragma once
// Dialogs 1031 "Графический Прогноз" and 1030 "Графические Эфемериды": the method, the
// period, the bodies and natal points, and the forecast's options or the ephemerides'
// modulus. Prefilled from the profile's strings "GNZ" and "GEF" and rewritten on OK;
// OK refuses a period that cannot be drawn (the dialog stays).
#include <QDialog>
#include <optional>
#include <vector>

#include "forecast/graph_forecast.h"
#include "forecast/graph_settings.h"
#include "gui/dial.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QVBoxLayout;

namespace orbeta {

struct Settings;

namespace graph_ids {
constexpr int kMethod = 1500;
constexpr int kStart = 1401;
constexpr int kEnd = 1402;
constexpr int kYear = 1403;
constexpr int kMonth = 1404;
constexpr int kPeriod = 301;    // 301..303: "Произвольный", "Год", "Месяц"
constexpr int kBodies = 501;    // 501..515 by BodyId
constexpr int kNatal = 601;     // 601..627 by PointId
constexpr int kToNatal = 201;   // "К натальной карте"; 202 "Текущие"
constexpr int kAxis = 211;      // "Горизонтально"; 212 "Вертикально"
constexpr int kMatrix = 221;    // 221..223: lower, upper, full
constexpr int kMotion = 231;    // "Показывать"; 232 "Не показывать"
constexpr int kColours = 1065;  // "Цвета Планет"
constexpr int kModulus = 401;   // 401..416 in the order of the list
}  // namespace graph_ids

// What both dialogs share: method, period texts and kind, the two groups of points.
class GraphDialog : public Dial {
    Q_OBJECT
  public:
    int Method() const { return method_; }
    const GraphPeriod& Period() const { return period_; }

  protected:
    GraphDialog(QWidget* parent, int resourceId, const char* helpKey, const char* title);
    void AddCommonFields(QVBoxLayout* layout, int kind, const std::string& start,
                         const std::string& end, const std::string& year, const std::string& month,
                         uint32_t bodies, uint32_t natal);
    QGroupBox* RadioGroup(const char* title, int firstId, std::vector<const char*> labels,
                          QButtonGroup*& group, int checked);
    // Method and period from the fields; false after telling why not.
    bool ReadCommon();
    uint32_t BodyMask() const;
    uint32_t NatalMask() const;
    int PeriodKind() const;
    std::string Text(int id) const;

    QComboBox* methodBox_ = nullptr;
    QButtonGroup* periodKind_ = nullptr;
    std::vector<QCheckBox*> bodies_, natal_;
    int method_ = 1;
    GraphPeriod period_;
};

class GraphForecastDialog : public GraphDialog {
    Q_OBJECT
  public:
    GraphForecastDialog(QWidget* parent, Settings& settings);
    const ForecastOptions& Options() const { return options_; }
    void accept() override;

  private:
    Settings& settings_;
    QButtonGroup *aspects_ = nullptr, *axis_ = nullptr, *matrix_ = nullptr, *motion_ = nullptr;
    ForecastOptions options_;
};

class GraphEphemerisDialog : public GraphDialog {
    Q_OBJECT
  public:
    GraphEphemerisDialog(QWidget* parent, Settings& settings);
    int Modulus() const { return modulus_; }
    uint32_t Bodies() const { return bodyMask_; }
    uint32_t NatalPoints() const { return natalMask_; }
    void accept() override;

  private:
    Settings& settings_;
    QButtonGroup* modulusGroup_ = nullptr;
    int modulus_ = 30;
    uint32_t bodyMask_ = 0, natalMask_ = 0;
};

}  // namespace orbeta
