#pragma once
// Chart cards as UTF-8 CSV for other programs: a header row
//   name,date,time,latitude,longitude,place,gmt,comment
// then one row per card. Cells holding a comma, a quote or a line end are quoted.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/base_record.h"
#include "data/record_store.h"

namespace orbeta {

constexpr const char* kCardCsvHeader = "name,date,time,latitude,longitude,place,gmt,comment";

// The cards of a store (keys with the prefix ".") in key order; nullopt when the
// index is damaged.
std::optional<std::string> ExportCardsCsv(RecordStore& store);

// Cards of a CSV text. On a bad file no card is given and error (UTF-8) names the
// line and the reason: an unknown or repeated column, a row of another width, a date,
// time or number that cannot be read or is out of range, a text the OEM code page
// cannot hold or longer than 29 characters. The header names the columns in any
// order; columns left out leave their fields empty.
struct CsvCards {
    std::vector<BaseRecord> cards;
    std::string error;
};
CsvCards ParseCardsCsv(std::string_view utf8);

// Stores cards under new "." keys; the keys used. Stops at the first card that cannot
// be stored (the store has shown why).
std::vector<std::string> ImportCards(RecordStore& store, const std::vector<BaseRecord>& cards);

}  // namespace orbeta
