#include "ui_text_check.h"

#include <map>
#include <optional>
#include <set>

#include "platform/codepage.h"
#include "platform/command_ids.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"
#include "utf8_scan.h"

namespace orbeta {
namespace {

enum class Shape { Text, List, Menu, Format, Bracketed };

struct Expectation {
    Shape shape;
    int count = 0;                        // List: number of items
    int maxWidth = 0;                     // List: widest item allowed (0 = any)
    std::set<int> allowed{};              // Menu: ids an item may carry (empty = any)
    std::set<int> required{};             // Menu: ids that must be there
    std::string conversions{};            // Format: the conversion letters in order
    std::optional<CommandOwner> owner{};  // Menu of commands: whose ids it carries
};

std::set<int> Range(int from, int to) {
    std::set<int> s;
    for (int i = from; i <= to; ++i) s.insert(i);
    return s;
}

std::set<int> Join(std::initializer_list<std::set<int>> sets) {
    std::set<int> s;
    for (const auto& part : sets) s.insert(part.begin(), part.end());
    return s;
}

std::set<int> IdsOf(CommandOwner owner) {
    std::set<int> s;
    for (const auto& c : kNamedCommands)
        if (c.owner == owner) s.insert(c.id);
    return s;
}

using namespace cmd;
// Commands a chart window accepts from its menus: every one named for it.
const std::set<int> kChartCommands = IdsOf(CommandOwner::Chart);
const std::set<int> kReports = {
    chart::kBinduTable, chart::kChartAnalysis,       chart::kFixedStars,
    chart::kAsteroids,  chart::kHypotheticalPlanets, chart::kDegreeTexts,
    chart::kLots,       chart::kMidpoints,           chart::kRiseSet,
    chart::kAgePoints};
const std::set<int> kDirections = {chart::kDirectionsLongitude, chart::kDirectionsRightAscension,
                                   chart::kProgressedMoon};
const std::set<int> kDerivedCharts = {chart::kHarmonic, chart::kSolarLunar, chart::kRelocation,
                                      chart::kHoraryChart, chart::kThematicChart};
const std::set<int> kPrintAndCopy = {picture::kPrint, picture::kCopy};
const std::set<int> kMethods = {1, 17, 6, 7, 8, 25, 30, 18, 19, 20, 26, 31, 33, 32, 11, 12, 15, 24};

Expectation Text() {
    return {Shape::Text};
}
Expectation List(int n, int width = 0) {
    return {Shape::List, n, width};
}
Expectation Menu(std::set<int> allowed, std::set<int> required) {
    return {Shape::Menu, 0, 0, std::move(allowed), std::move(required)};
}
Expectation Exactly(std::set<int> ids) {
    return Menu(ids, ids);
}
// A menu of window commands: every id must be named for the owner.
Expectation Commands(CommandOwner owner, Expectation menu) {
    menu.owner = owner;
    return menu;
}
Expectation FormatOf(std::string conversions) {
    return {Shape::Format, 0, 0, {}, {}, std::move(conversions)};
}

const std::map<std::string, Expectation>& Expectations() {
    std::set<int> chartWithoutForecast = kChartCommands;
    chartWithoutForecast.erase(chart::kForecast);
    chartWithoutForecast.erase(chart::kReturnsTable);
    constexpr auto kChart = CommandOwner::Chart;
    static const std::map<std::string, Expectation> table = {
        // frame and reports
        {"UW", Text()},
        {"Mark", Text()},
        {"tmp", Text()},
        // names
        {"PLH2", List(27, 4)},
        {"P-H", List(27)},
        {"NOB", List(39, 12)},
        {"ZOD", List(12)},
        {"ZODp", List(12)},
        {"PLAN", List(15)},
        {"PLANd", List(27)},
        {"PLANe", List(27)},
        {"PLANu", List(27)},
        {"DOM", List(12)},
        {"AAA", List(12)},
        {"STIH", List(4)},
        {"KREST2", List(3)},
        {"DND", List(7)},
        {"TATV", List(5, 10)},
        {"ORBTITS", List(8, 10)},
        {"ASw", List(5, 22)},
        {"Sym", List(39, 3)},
        {"TSL", List(8)},
        {"Etype", List(7, 16)},
        {"ColG", List(12)},
        {"TitAll", List(8)},
        {"FtK", List(2)},
        {"FIGD", List(10)},
        {"v0", List(4)},
        {"v1", List(4)},
        {"v2", List(3)},
        {"v3", List(4)},
        {"ZVZ", List(88, 16)},
        // numbered menus
        {"MetChet", Exactly(kMethods)},
        {"HOUS", Exactly(Range(1, 11))},
        {"EvZag", Commands(kChart, Exactly(kReports))},
        {"EvZagI", Commands(kChart, Exactly(kDirections))},
        {"INTER", Exactly(Range(0, 4))},
        {"sub", Menu(Range(1, 12), {1})},
        {"qst", Exactly(Range(1, 12))},
        {"CSR", {Shape::Bracketed}},
        // popup and button menus
        {"K0t1", Commands(kChart, Menu(kChartCommands,
                                       {chart::kAspects, chart::kForecast, chart::kReportsMenu,
                                        chart::kDerivedMenu, chart::kCopyPicture}))},
        {"K0",
         Commands(kChart, Menu(chartWithoutForecast, {chart::kAspects, chart::kReportsMenu,
                                                      chart::kDerivedMenu, chart::kCopyPicture}))},
        {"K2",
         Commands(kChart, Menu(kChartCommands, {chart::kAspects, chart::kArcs, chart::kRelationship,
                                                chart::kComposite, chart::kMidChart, chart::kSwap,
                                                chart::kOuterMethod, chart::kOverlayCurrent}))},
        {"KDP", Commands(kChart, Menu(Join({kReports, kDirections}), kReports))},
        {"DAK", Commands(kChart, Exactly(kDerivedCharts))},
        {"MTEXT", Commands(CommandOwner::Text, Exactly({text::kExternalEditor, text::kPrint,
                                                        text::kSave, text::kCopy}))},
        {"MASP",
         Commands(CommandOwner::Text, Exactly({text::kBinduTable, text::kPrint, text::kSave}))},
        {"MDBnd", Commands(CommandOwner::Picture, Exactly(kPrintAndCopy))},
        {"MGRGN", Commands(CommandOwner::Picture, Exactly(kPrintAndCopy))},
        {"MGRE", Commands(CommandOwner::Picture, Exactly(kPrintAndCopy))},
        {"MDReG", Commands(CommandOwner::Picture, Exactly(kPrintAndCopy))},
        // single texts and headings
        {"LLV", Text()},
        {"VZP", Text()},
        {"PHear", Text()},
        {"ctzts", Text()},
        {"caprt", Text()},
        {"capat", Text()},
        {"cappa", Text()},
        {"cappt", Text()},
        {"cping", Text()},
        {"cpvoz", Text()},
        {"Dpl", Text()},
        {"P10", Text()},
        {"PVZ", Text()},
        {"NoSZ", Text()},
        {"FD", Text()},
        {"b0", Text()},
        {"b1", Text()},
        {"b2", Text()},
        {"b3", Text()},
        {"b4", Text()},
        {"b5", Text()},
        {"PartS", Text()},
        {"Secl", Text()},
        {"Mecl", Text()},
        {"VAPL", Text()},
        {"NewBD", Text()},
        {"zPLAN", Text()},
        {"zZOD", Text()},
        {"zZVZ", Text()},
        {"zDOM", Text()},
        {"zAAA", Text()},
        {"zSTIH", Text()},
        {"zKREST2", Text()},
        // formats
        {"VsG", FormatOf("f")},
        {"NoB%s", FormatOf("s")},
        {"FnoI", FormatOf("s")},
        {"errserv", FormatOf("s")},
        // messages
        {"virhous", Text()},
        {"tatvp", Text()},
        {"dZ", Text()},
        {"erdt", Text()},
        {"N>K", Text()},
        {"I1", Text()},
        {"NoKr", Text()},
        {"2OpBd", Text()},
        {"ErrLk", Text()},
        {"notown", Text()},
        {"Noab", Text()},
        {"MEM", Text()},
        {"bis", Text()},
        {"Btr-B", Text()},
        {"err-bod-read", Text()},
        {"ErChr", Text()},
        {"DpChr", Text()},
    };
    return table;
}

// Reports characters that CP866 and CP1251 do not both hold (ASCII, the Cyrillic
// alphabet with Ё and ё, № and the degree sign are common).
void CheckCharacters(std::string_view line, int number, std::vector<std::string>& problems) {
    // Tabs separate fields here, so they are allowed besides the common set.
    for (size_t i = 0; i < line.size();) {
        char32_t c = 0;
        if (!NextUtf8(line, i, c)) {
            problems.push_back(Format("line %d: not UTF-8", number));
            return;
        }
        if (c != '\t' && !InBothCodePages(c)) {
            problems.push_back(Format("line %d: character U+%04X is not in both code pages", number,
                                      static_cast<unsigned>(c)));
        }
    }
}

std::string Conversions(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < text.size() &&
               std::string_view("-+ #0123456789.lhL").find(text[j]) != std::string_view::npos)
            ++j;
        if (j < text.size()) out += text[j];
        i = j;
    }
    return out;
}

bool HasBracketNumber(const std::string& item, int& number) {
    size_t bracket = item.find('[');
    if (bracket == std::string::npos) return false;
    size_t i = bracket + 1;
    if (i >= item.size() || item[i] < '0' || item[i] > '9') return false;
    number = 0;
    while (i < item.size() && item[i] >= '0' && item[i] <= '9' && number < 100000)
        number = number * 10 + (item[i++] - '0');
    return true;
}

void CheckEntry(const std::string& key, const std::string& text, const Expectation& e,
                std::vector<std::string>& problems) {
    auto problem = [&](const std::string& what) { problems.push_back("key " + key + ": " + what); };
    if (text.empty()) {
        problem("empty text");
        return;
    }
    auto items = SplitListText(text);
    switch (e.shape) {
        case Shape::Text:
            break;
        case Shape::Format:
            if (Conversions(text) != e.conversions)
                problem("conversions \"" + Conversions(text) + "\", expected \"" + e.conversions +
                        "\"");
            break;
        case Shape::List:
            if (static_cast<int>(items.size()) != e.count)
                problem(Format("%zu items, expected %d", items.size(), e.count));
            for (const auto& item : items) {
                if (item.empty()) problem("an empty item");
                if (item.find('[') != std::string::npos) problem("a bracket inside an item");
                if (e.maxWidth && static_cast<int>(item.size()) > e.maxWidth)
                    problem(Format("item \"%s\" is wider than %d", AnsiToUtf8(item).c_str(),
                                   e.maxWidth));
            }
            break;
        case Shape::Bracketed:
            for (const auto& item : items)
                if (item.find('[') == std::string::npos || item.back() == '[')
                    problem("item \"" + AnsiToUtf8(item) + "\" names no file after its bracket");
            break;
        case Shape::Menu: {
            std::set<int> seen;
            for (const auto& item : items) {
                int id = 0;
                if (!HasBracketNumber(item, id)) {
                    if (item.find('[') != std::string::npos)
                        problem("item \"" + AnsiToUtf8(item) + "\" has no number after [");
                    continue;
                }
                if (item.size() > 78) problem("item longer than 78 characters");
                if (!seen.insert(id).second) problem(Format("id %d twice", id));
                if (e.owner && !CommandName(*e.owner, id))
                    problem(Format("id %d has no name among the command ids", id));
                else if (!e.allowed.empty() && !e.allowed.count(id))
                    problem(Format("id %d is not a command of this menu", id));
            }
            for (int id : e.required)
                if (!seen.count(id)) problem(Format("id %d is missing", id));
            break;
        }
    }
}

}  // namespace

std::vector<std::string> CheckUiTextSource(std::string_view utf8) {
    std::vector<std::string> problems;
    int number = 0;
    for (const auto& line : SplitLines(utf8)) {
        ++number;
        CheckCharacters(line, number, problems);
        if (line.empty() || line[0] == '*') continue;
        size_t at = line.find('@');
        if (at != std::string::npos && at + 1 != line.size())
            problems.push_back(Format("line %d: @ inside a text (it joins the next line)", number));
        if (line.find('#') != std::string::npos)
            problems.push_back(Format("line %d: # inside a text", number));
    }
    std::map<std::string, std::string> entries;
    for (const auto& line : ParseUiTexts(Utf8ToOem(utf8))) {
        if (!IsMeaningfulLine(line)) continue;
        size_t blank = line.find(' ');
        std::string key = line.substr(0, blank);
        std::string text = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (!entries.emplace(key, text).second) problems.push_back("key " + key + ": twice");
    }
    for (const auto& [key, expectation] : Expectations()) {
        auto it = entries.find(key);
        if (it == entries.end()) {
            problems.push_back("key " + key + ": missing");
            continue;
        }
        CheckEntry(key, it->second, expectation, problems);
    }
    return problems;
}

}  // namespace orbeta
