#pragma once
// Dialogs of a date (or date and time) with a correction and a place: the electional
// aspects of a day (1067), new and full moon (1060), and the chart card of the
// database (1061).
#include "core/birth_data.h"
#include "gui/dial.h"

class QGridLayout;
class QRadioButton;

namespace orbeta {

class DatePlaceDialog : public Dial {
    Q_OBJECT
  public:
    // The fields after OK (name and comment only where the dialog has them).
    const BirthData& Data() const { return data_; }
    void accept() override;

  protected:
    // `parts` date fields from 5001 on (3: date, 6: date and time).
    DatePlaceDialog(QWidget* parent, int resourceId, const char* helpKey, int parts,
                    int correctionId);
    // Lays the date rows and the correction from the given grid row; returns the next.
    int AddDateRows(QGridLayout* grid, int row);
    void Fill(const BirthData& d);
    void FillTodaysDate();
    // The town's correction is the one in force on the typed date (and time).
    void OnTowns() override;

    QLineEdit* name_ = nullptr;
    QLineEdit* comment_ = nullptr;

  private:
    int partCount_;
    QLineEdit* parts_[6] = {};
    QLineEdit* correction_;
    BirthData data_;
};

// ElectD: date 5001..5003, correction 5004, place; "Сегодня" gives today's date.
class ElectionalDayDialog : public DatePlaceDialog {
    Q_OBJECT
  public:
    ElectionalDayDialog(QWidget* parent, const ChartRecord& prefill);
};

// DVNPL: full moon (201) or new moon (202), date, correction 5010, place.
class LunationDialog : public DatePlaceDialog {
    Q_OBJECT
  public:
    LunationDialog(QWidget* parent, const ChartRecord& prefill);
    bool FullMoon() const;

  private:
    QRadioButton* full_;
};

// DCorr: the birth data of a database card; "Записать" is its OK. The focus stays
// with the database window.
class ChartCardDialog : public DatePlaceDialog {
    Q_OBJECT
  public:
    ChartCardDialog(QWidget* parent, const ChartRecord& card);
};

}  // namespace orbeta
