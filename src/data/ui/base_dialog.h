#pragma once
// Dialog 1012 "Выбор карты из базы данных": the cards of the current database, one
// line each, with their correction, deletion and casting; the open-file dialog of the
// change of database.
#include <optional>
#include <string>
#include <vector>

#include "core/chart_record.h"
#include "gui/dial.h"

class QFileDialog;
class QListWidget;

namespace orbeta {

class ChartBaseDialog : public Dial {
    Q_OBJECT
  public:
    // Menu 401 manages the cards and casts them (help key "DBasa"); the birth-data
    // dialog only picks one ("DBasaL"), so it has no "Построить".
    enum class Use { Manage, Pick };
    ChartBaseDialog(QWidget* parent, std::string stem, const std::vector<std::string>& lines,
                    Use use);

    // The selected line of the list (as counted in basa.tmp), −1 when none.
    int Chosen() const;

    void CorrectCard();  // Корректировать
    void DeleteCard();   // Удалить
    void CastChart();    // Построить

  private:
    std::string stem_;
    QListWidget* list_;
};

// The open-file dialog of 404 with the "Помощь" button of every dialog.
class BaseFileDialog : public Dial {
    Q_OBJECT
  public:
    explicit BaseFileDialog(QWidget* parent);
    QFileDialog* Files() const { return files_; }
    std::string ChosenPath() const;

  private:
    QFileDialog* files_;
};

// The chart of a card, with the current house system, ready to be computed; missing
// coordinates are those of the current chart.
std::optional<ChartRecord> ChartOfListedCard(const std::string& stem, int k);

}  // namespace orbeta
