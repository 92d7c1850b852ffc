#include "platform/ui_names.h"

#include "platform/command_ids.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

std::string FromOne(std::string_view key, int number) {
    return ListItem(key, number - 1);
}

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

}  // namespace

std::string PointShortName(int p) {
    return InRange(p, 1, 27) ? FromOne("PLH2", p) : "";
}
std::string PointLongName(int p) {
    return InRange(p, 1, 27) ? FromOne("P-H", p) : "";
}
std::string PointName(int p) {
    return InRange(p, 1, 27) ? FromOne("NOB", p) : "";
}

std::string PointNameIn(NameCase nameCase, int p) {
    if (!InRange(p, 1, 27)) return "";
    switch (nameCase) {
        case NameCase::Instrumental:
            return FromOne("PLANd", p);
        case NameCase::Prepositional:
            return FromOne("PLANe", p);
        case NameCase::Dative:
            return FromOne("PLANu", p);
    }
    return "";
}

std::string PlanetName(int b) {
    return InRange(b, 1, 15) ? FromOne("PLAN", b) : "";
}

std::string SignName(int s) {
    return InRange(s, 0, 11) ? ListItem("ZOD", s) : "";
}
std::string SignNamePrepositional(int s) {
    return InRange(s, 0, 11) ? ListItem("ZODp", s) : "";
}
std::string SignStartName(int s) {
    return InRange(s, 0, 11) ? ListItem("NOB", 27 + s) : "";
}

std::string ReturnKindName(int k) {
    return ListItem("TSL", k);
}
std::string EclipseTypeName(int c) {
    return ListItem("Etype", c);
}
std::string DrawingElementName(int e) {
    return ListItem("ColG", e);
}
std::string ElementName(int e) {
    return ListItem("STIH", e);
}
std::string CrossName(int c) {
    return ListItem("KREST2", c);
}
std::string JonesFigureName(int f) {
    return ListItem("FIGD", f);
}
std::string WeekdayName(int w) {
    return ListItem("DND", w);
}
std::string TattvaName(int t) {
    return ListItem("TATV", t);
}
std::string TableTitle(int kind) {
    return ListItem("TitAll", kind);
}
std::string TimeFileCaption(int chart) {
    return ListItem("FtK", chart);
}
std::string StarEventName(int e) {
    return ListItem("v0", e);
}
std::string AngleHeading(int a) {
    return ListItem("v1", a);
}
std::string StarPhaseName(int p) {
    return ListItem("v2", p);
}
std::string AngleName(int a) {
    return ListItem("v3", a);
}
std::string HypotheticalName(int n) {
    return InRange(n, 1, 8) ? FromOne("ORBTITS", n) : "";
}

std::vector<std::string> LotSymbols() {
    return SplitListText(LookupText("Sym"));
}

int LotSymbolPosition(std::string_view symbol) {
    auto symbols = LotSymbols();
    for (size_t i = 0; i < symbols.size(); ++i)
        if (symbols[i] == symbol) return static_cast<int>(i) + 1;
    return 0;
}

std::string NumberedItemLabel(std::string_view key, int number) {
    for (const auto& item : SplitListText(LookupText(key))) {
        size_t bracket = item.find('[');
        if (bracket == std::string::npos) continue;
        // The number as atoi reads it: digits after the bracket, an optional sign.
        size_t i = bracket + 1;
        bool negative = i < item.size() && item[i] == '-';
        if (i < item.size() && (item[i] == '-' || item[i] == '+')) ++i;
        if (i >= item.size() || item[i] < '0' || item[i] > '9') continue;
        long value = 0;
        while (i < item.size() && item[i] >= '0' && item[i] <= '9' && value < 100000000)
            value = value * 10 + (item[i++] - '0');
        if ((negative ? -value : value) != number) continue;
        std::string label = item.substr(0, bracket);
        while (!label.empty() && (label.back() == ' ' || label.back() == '\t')) label.pop_back();
        return label;
    }
    return "";
}

std::string MethodName(int m) {
    return NumberedItemLabel("MetChet", m);
}
std::string HouseSystemName(int code) {
    return NumberedItemLabel("HOUS", code);
}

std::string ReportTitle(int id) {
    return NumberedItemLabel(
        id >= cmd::chart::kDirectionsLongitude && id <= cmd::chart::kProgressedMoon ? "EvZagI"
                                                                                    : "EvZag",
        id);
}

std::string InterpretationTitle(int kind) {
    return NumberedItemLabel("INTER", kind);
}

}  // namespace orbeta
