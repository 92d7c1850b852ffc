#pragma once
// The work behind the chart-database commands, so that their dialogs only show and
// ask: list the cards, read, correct and delete the one picked from the list, store a
// chart as a new card, change and create the database. Each opens the database, does
// its work and closes it.
#include <optional>
#include <string>
#include <vector>

#include "core/chart_record.h"
#include "data/base_record.h"

namespace orbeta {

constexpr const char* kCardListFile = "basa.tmp";

// Lists the cards into the list file and gives the list box lines ("%s  %s %s %s")
// in the same order; nullopt when the database cannot be opened.
std::optional<std::vector<std::string>> ListCards(const std::string& stem,
                                                  const std::string& listFile = kCardListFile);

// The card on list line k (counted as PickListed counts).
std::optional<BaseRecord> ReadListedCard(const std::string& stem, int k,
                                         const std::string& listFile = kCardListFile);

// Writes a corrected card under the key of list line k; the line that replaces the
// old one in the list box, nullopt when nothing was written.
std::optional<std::string> RewriteListedCard(const std::string& stem, int k, BaseRecord card,
                                             const std::string& listFile = kCardListFile);

// Deletes the card of list line k and marks the line "-"; false when nothing was
// deleted.
bool DeleteListedCard(const std::string& stem, int k, const std::string& listFile = kCardListFile);

// Stores a chart as a new card under the next "." key; that key, or an empty text.
std::string StoreChart(const std::string& stem, const ChartRecord& chart);

// The stem of a page file chosen in the open-file dialog: the path without the file
// name's extension (a folder may hold dots). nullopt when the file cannot be opened,
// or (after a warning) when the stem would be longer than the profile keeps.
std::optional<std::string> StemOfChosenFile(const std::string& path);

// A new database with 4096-byte pages. Exists (after the warning "bis") when a file
// of that name is there already.
enum class CreateBaseResult { Created, Exists, Failed };
CreateBaseResult CreateChartBase(const std::string& name);

constexpr size_t kMaxStemLength = 78;

}  // namespace orbeta
