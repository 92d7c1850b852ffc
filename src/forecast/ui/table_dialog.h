#pragma once
// Dialogs 1020..1027 of the tables: the period, the step and the method of the search,
// the aspects, the points that move and what they are measured against. OK refuses
// input that cannot be searched (a message, the dialog stays) and keeps the texts for
// the next table.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forecast/search_records.h"
#include "gui/dial.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;

namespace orbeta {

struct Settings;

// Control ids of the table dialogs.
namespace table_ids {
constexpr int kMethod = 1500;
constexpr int kStart = 1401;
constexpr int kEnd = 1402;
constexpr int kStep = 1403;
constexpr int kAspects = 1404;
constexpr int kPoints = 1405;
constexpr int kExact = 201;  // "Точные попадания"; 202 "С учетом Орбисов"
constexpr int kOrbs = 202;
constexpr int kMoving = 501;   // 501..527 by PointId
constexpr int kTargets = 601;  // 601..627 by PointId
constexpr int kSigns = 701;    // 701..712 from Aries
constexpr int kCheckAllSigns = 3000;
constexpr int kPlanets = 801;  // 801..809: Меркурий .. Плутон, Хирон
}  // namespace table_ids

class TableDialog : public Dial {
    Q_OBJECT
  public:
    // The settings give the remembered texts and take them back on OK; the orb table
    // gives the angles of orb mode.
    TableDialog(QWidget* parent, int kind, Settings& settings, const OrbTable* orbTable);
    // The request read on OK, prepared for its kind (without pairs).
    const SearchRequest& Request() const { return request_; }
    void accept() override;

  private:
    QLineEdit* AddField(QGridLayout* grid, int row, int id, const char* label, int maxLength,
                        const std::string& text);
    QGroupBox* SignBoxes();
    QGroupBox* PlanetChoice();
    // The request from the fields; false with the message when they cannot be searched.
    bool ReadRequest(SearchRequest& r, std::string& error) const;
    void Remember(const SearchRequest& r);

    int kind_;
    Settings& settings_;
    const OrbTable* orbTable_;
    QComboBox* method_ = nullptr;
    QLineEdit* start_ = nullptr;
    QLineEdit* end_ = nullptr;
    QLineEdit* step_ = nullptr;
    QLineEdit* aspects_ = nullptr;
    QLineEdit* points_ = nullptr;
    QButtonGroup* mode_ = nullptr;
    QButtonGroup* planet_ = nullptr;
    std::vector<QCheckBox*> moving_, targets_, signs_;
    SearchRequest request_;
};

// The moving points of the last table closed with OK (bit p − 1 for PointId p); kept
// until the program ends.
uint32_t RememberedMovingMask();

// The two halves of the period text, split at its first '-'.
std::pair<std::string, std::string> SplitPeriodText(const std::string& text);

// Runs the dialog of a table kind; none on Cancel.
std::optional<SearchRequest> RunTableDialog(QWidget* parent, int kind, Settings& settings,
                                            const OrbTable* orbTable);

}  // namespace orbeta
