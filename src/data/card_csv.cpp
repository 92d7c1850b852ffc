#include "data/card_csv.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/angles.h"
#include "data/chart_card.h"
#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

constexpr std::array<int, 8> kColumnFields = {kCardName,      kCardDate,  kCardTime, kCardLatitude,
                                              kCardLongitude, kCardPlace, kCardGmt,  kCardComment};
constexpr std::array<const char*, 8> kColumnNames = {"name",      "date",  "time", "latitude",
                                                     "longitude", "place", "gmt",  "comment"};

std::string Cell(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Rows of a CSV text, each with the line it starts on; blank lines give no row.
struct Row {
    int line = 0;
    std::vector<std::string> cells;
};
std::vector<Row> SplitRows(std::string_view text) {
    std::vector<Row> rows;
    Row row;
    std::string cell;
    bool quoted = false, rowStarted = false;
    int line = 1;
    row.line = 1;
    auto endRow = [&] {
        if (rowStarted) {
            row.cells.push_back(std::move(cell));
            rows.push_back(std::move(row));
        }
        row = Row{};
        cell.clear();
        rowStarted = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n') ++line;
                cell += c;
            }
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\n') {
            endRow();
            row.line = ++line;
            continue;
        }
        rowStarted = true;
        if (c == '"')
            quoted = true;
        else if (c == ',') {
            row.cells.push_back(std::move(cell));
            cell.clear();
        } else
            cell += c;
    }
    endRow();
    return rows;
}

std::string_view Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool WholeInt(std::string_view s, int& v) {
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool WholeNumber(std::string_view s, double& v) {
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(v);
}

// Integer parts separated by sep: at least min, at most max of them.
bool Parts(std::string_view s, char sep, size_t min, size_t max, std::vector<int>& out) {
    out.clear();
    for (;;) {
        size_t at = s.find(sep);
        int v;
        if (!WholeInt(s.substr(0, at), v)) return false;
        out.push_back(v);
        if (at == std::string_view::npos) break;
        s.remove_prefix(at + 1);
    }
    return out.size() >= min && out.size() <= max;
}

// The stored text of one cell, or an error.
std::string FieldOfCell(int field, std::string_view raw, std::string& error) {
    std::string_view cell = Trim(raw);
    if (cell.empty()) return {};
    std::vector<int> p;
    double v = 0;
    switch (field) {
        case kCardName:
        case kCardPlace:
        case kCardComment: {
            std::string oem = Utf8ToOem(cell);
            if (OemToUtf8(oem) != cell)
                error = "the text cannot be stored in the DOS Cyrillic code page";
            else if (oem.size() > static_cast<size_t>(kCardTextLength))
                error = "the text is longer than 29 characters";
            return oem;
        }
        case kCardDate:
            if (!Parts(cell, '.', 3, 3, p) || p[0] < 1 || p[0] > 31 || p[1] < 1 || p[1] > 12 ||
                p[2] == 0 || p[2] < -9999 || p[2] > 9999)
                error = "the date is not DD.MM.YYYY";
            else
                return Format("%02d.%02d.%04d", p[0], p[1], p[2]);
            return {};
        case kCardTime:
            if (!Parts(cell, ':', 2, 3, p) || p[0] < 0 || p[0] > 23 || p[1] < 0 || p[1] > 59 ||
                (p.size() == 3 && (p[2] < 0 || p[2] > 59)))
                error = "the time is not HH:MM:SS";
            else
                return Format("%02d:%02d:%02d", p[0], p[1], p.size() == 3 ? p[2] : 0);
            return {};
        default: {
            double limit = field == kCardLatitude ? 90 : field == kCardGmt ? 24 : 360;
            double low = field == kCardLongitude ? -180 : -limit;
            if (!WholeNumber(cell, v) || v < low || v > limit)
                error = "the number cannot be read or is out of range";
            else if ((field == kCardLatitude && CheckPackedLatitude(v) != PackedFault::None) ||
                     (field == kCardLongitude && CheckPackedLongitude(v) != PackedFault::None))
                error = "minutes must be below 60 (packed d.mm)";
            else
                return Format("%.2f", v);
            return {};
        }
    }
}

}  // namespace

std::optional<std::string> ExportCardsCsv(RecordStore& store) {
    auto keys = store.ListKeys(kCardPrefix);
    if (!keys) return std::nullopt;
    std::string out = std::string(kCardCsvHeader) + "\n";
    for (const auto& key : *keys) {
        BaseRecord card;
        if (!store.ReadRecord(key, card)) return std::nullopt;
        for (size_t i = 0; i < kColumnFields.size(); ++i) {
            if (i) out += ',';
            out += Cell(OemToUtf8(card.Field(kColumnFields[i])));
        }
        out += '\n';
    }
    return out;
}

CsvCards ParseCardsCsv(std::string_view text) {
    CsvCards result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Row> rows = SplitRows(text);
    if (rows.empty()) {
        result.error = "no header row";
        return result;
    }
    std::vector<int> fields;
    for (const auto& name : rows[0].cells) {
        std::string_view n = Trim(name);
        int field = 0;
        for (size_t i = 0; i < kColumnNames.size(); ++i)
            if (n == kColumnNames[i]) field = kColumnFields[i];
        bool repeated = false;
        for (int f : fields) repeated = repeated || (field && f == field);
        if (!field || repeated) {
            result.error = Format("line 1: column \"%s\" is %s", std::string(n).c_str(),
                                  field ? "repeated" : "unknown");
            return result;
        }
        fields.push_back(field);
    }
    for (size_t r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        if (row.cells.size() == 1 && Trim(row.cells[0]).empty()) continue;  // a blank line
        if (row.cells.size() != fields.size()) {
            result.error = Format("line %d: %zu cells where the header has %zu", row.line,
                                  row.cells.size(), fields.size());
            result.cards.clear();
            return result;
        }
        BaseRecord card;
        for (size_t c = 0; c < fields.size(); ++c) {
            std::string error;
            std::string value = FieldOfCell(fields[c], row.cells[c], error);
            if (!error.empty()) {
                result.error = Format("line %d, column %s: %s", row.line,
                                      std::string(Trim(rows[0].cells[c])).c_str(), error.c_str());
                result.cards.clear();
                return result;
            }
            card.SetField(fields[c], value);
        }
        result.cards.push_back(std::move(card));
    }
    return result;
}

std::vector<std::string> ImportCards(RecordStore& store, const std::vector<BaseRecord>& cards) {
    std::vector<std::string> keys;
    for (const auto& card : cards) {
        std::string key = store.NewKey(kCardPrefix);
        if (key.empty() || store.WriteRecord(key, card) != kWriteDone) break;
        keys.push_back(key);
    }
    return keys;
}

}  // namespace orbeta
