#pragma once
// Birth data as the input dialogs show and read it: texts of the fields, and the
// checked conversion of typed numbers (a field that is not a number is refused rather
// than read as 0).
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/calendar.h"
#include "core/chart_record.h"

namespace orbeta {

struct BirthData {
    std::string name;
    std::string comment;
    std::string place;
    DateParts local;             // as typed: out-of-range parts fold in the calendar
    double correctionHours = 0;  // added to local time to get UT
    double latitude = 0;         // packed d.mm, north positive
    double longitude = 0;        // packed d.mm, east positive
};

BirthData BirthDataOf(const ChartRecord& chart);

// Header fields of the chart from the data: texts (29 characters), place, moments;
// positions and the calculation method are left for the computation.
void ApplyBirthData(ChartRecord& chart, const BirthData& data);

// The UT moment the data stand for.
double UtMomentOf(const BirthData& data);

// A correction in hours without losing precision: up to four decimals, trailing zeros
// dropped, at least one decimal ("5.75", "2.5047", "3.0").
std::string CorrectionText(double hours);
// A packed angle as the town block shows it ("%6.2f").
std::string AngleFieldText(double packed);

// The message for a packed coordinate typed into the field of that name (CP1251), empty
// when the value may be stored: minutes below 60, within the range of CheckPacked*.
std::string LatitudeFieldError(double packed, const char* field);
std::string LongitudeFieldError(double packed, const char* field);

// Whole text as a number; blanks around it are allowed, a decimal comma too.
std::optional<double> ParseDecimal(std::string_view text);
std::optional<int> ParseWhole(std::string_view text);

// A date "ДД.ММ.ГГГГ" (blanks around it allowed); none unless it is three whole
// numbers separated by points.
std::optional<DateParts> ParseDateText(std::string_view text);

// The calculation method of a chart-kind entry: the number after its '[' (the first
// 78 characters are read), 1 when there is none.
int MethodOfEntry(std::string_view entry);

// The interval text "ДД.ММ.ГГГГ-ДД.ММ.ГГГГ" split at its first '-' (11 characters
// each); without '-' the whole text is the start and the end is empty.
std::pair<std::string, std::string> SplitInterval(std::string_view text);

}  // namespace orbeta
