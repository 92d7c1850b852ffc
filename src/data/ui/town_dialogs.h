#pragma once
// The towns directory behind every "Города..." button: the input box for the first
// letters of a name, dialog 1011 "Выбор города", and what a chosen town fills in.
#include <string>
#include <vector>

#include "data/towns.h"
#include "gui/dial.h"

class QTreeWidget;

namespace orbeta {

// Dialog 1011: the towns whose names begin as typed, one row each, in columns (name,
// region, country, latitude, longitude) so that a long list can be scanned.
class TownChoiceDialog : public Dial {
    Q_OBJECT
  public:
    TownChoiceDialog(QWidget* parent, const std::vector<TownListRow>& rows);
    // The chosen row, −1 when none is selected.
    int Chosen() const;

  private:
    QTreeWidget* list_;
};

// Asks for a name, lists the matching towns and fills the query from the chosen one:
// name, latitude and longitude (packed d.mm, west longitudes as 360 minus) and the
// correction for query.jdLocal (0 when that is 0). False when nothing was chosen;
// the query is then unchanged.
bool LookupTown(QWidget* parent, TownQuery& query);

// Makes every "Города..." button run LookupTown.
void InstallTownDirectory();

}  // namespace orbeta
