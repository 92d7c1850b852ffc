#pragma once
// Chart cards: records under keys beginning with "." that keep the birth data of a
// chart in fields 2..9. Name, place and comment are stored in the OEM code page, the
// other fields are ASCII; the functions here take and give CP1251 texts.
#include <string>
#include <string_view>

#include "core/calendar.h"
#include "core/chart_record.h"
#include "data/base_record.h"

namespace orbeta {

enum CardField : int {
    kCardKey = 1,  // stored only when a card read from the database is written back
    kCardName = 2,
    kCardDate = 3,       // "%02d.%02d.%04d"
    kCardTime = 4,       // "%02d:%02d:%02d"
    kCardLatitude = 5,   // "%.2f", packed degrees.minutes
    kCardLongitude = 6,  // "%.2f", packed degrees.minutes
    kCardPlace = 7,
    kCardGmt = 8,  // "%.2f", hours added to local time to get GMT
    kCardComment = 9,
};
constexpr int kCardTextLength = 29;  // name, place, comment
constexpr const char* kCardPrefix = ".";

bool IsOemCardField(int field);

// The CP1251 text of a card field; empty when the card lacks it.
std::string CardText(const BaseRecord& card, int field);
// Sets a field from CP1251 text: name, place and comment are cut to 29 characters
// and converted to the OEM code page.
void SetCardText(BaseRecord& card, int field, std::string_view text);

// The card of a chart as a chart window stores it: date and time from jdLocal
// (rounded to the second), latitude, longitude and correction by "%.2f".
BaseRecord CardOfChart(const ChartRecord& chart);

// The card dialog's values: texts as typed, date and time as its six numbers.
struct CardInput {
    std::string name, place, comment;  // CP1251
    DateParts local;
    std::string gmt, latitude, longitude;
};
BaseRecord CardOfInput(const CardInput& input);

// The chart of a card, ready to be computed: missing date parts count as 1, a missing
// correction as 0, a missing latitude or longitude is the current chart's; texts are
// cut to 28 characters.
ChartRecord ChartOfCard(const BaseRecord& card, const ChartRecord& current, int houseSystem);

// The line of a card in the database dialog: name, date, time and place,
// "%s  %s %s %s".
std::string CardListLine(const BaseRecord& card);

// Leading number of a text as the C library reads it, in any locale; 0 when none.
double CardNumber(std::string_view text);

}  // namespace orbeta
