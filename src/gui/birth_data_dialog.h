#pragma once
// Dialog 1001 "Данные пользователя": the birth data of a chart, the kind of chart to
// compute, and the UT moment the typed local time stands for.
#include <functional>
#include <optional>

#include "core/birth_data.h"
#include "gui/dial.h"

class QComboBox;
class QLabel;

namespace orbeta {

class BirthDataDialog : public Dial {
    Q_OBJECT
  public:
    BirthDataDialog(QWidget* parent, const ChartRecord& prefill);

    // The code of the chosen chart kind.
    int ChosenMethod() const;
    // The fields after OK.
    const BirthData& Data() const { return data_; }

    // Shows the UT moment of the typed fields (command 199); empty while a field is not
    // a number.
    void UpdateGmt();
    // "Сегодня": the present moment as local time of the place (see FillPresentMoment).
    void FillToday();
    void FillFrom(const ChartRecord& chart);

    // "Из Базы..." is supplied by the chart database; until then it is disabled.
    static void SetChartSource(std::function<std::optional<ChartRecord>()> source);

    void accept() override;

  protected:
    void OnTowns() override;
    void CorrectionFollowed() override { UpdateGmt(); }

  private:
    bool ReadFields(BirthData& data, std::string& error) const;

    QComboBox* kind_;
    QLineEdit* name_;
    QLineEdit* parts_[6];  // notifying edits
    NotifyingEdit* correction_;
    QLineEdit* comment_;
    QLabel* gmtDate_;
    QLabel* gmtTime_;
    BirthData data_;
};

// The birth-data dialog prefilled from the input chart; on OK the input chart gets the
// typed data and the current house system and is computed by the chosen method on the
// current chart. False on Cancel.
bool EnterAndComputeChart(QWidget* parent);

}  // namespace orbeta
