#pragma once
// Names that the UI texts hold in lists and numbered menus. Each list is read here
// and only here, so that how it is counted (from 0, from 1, by the number in its
// brackets) is decided once. Results are CP1251; a missing item gives "".
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// Points by PointId 1..27 (bodies 1..15, then cusps 1..12).
std::string PointShortName(int pointId);  // "PLH2", at most 4 characters
std::string PointLongName(int pointId);   // "P-H"
std::string PointName(int pointId);       // "NOB", at most 12 characters
enum class NameCase { Instrumental, Prepositional, Dative };
std::string PointNameIn(NameCase nameCase, int pointId);  // "PLANd", "PLANe", "PLANu"
// Bodies by BodyId 1..15.
std::string PlanetName(int bodyId);  // "PLAN"

// Signs 0 (Aries) .. 11.
std::string SignName(int sign);               // "ZOD"
std::string SignNamePrepositional(int sign);  // "ZODp", with a leading blank
std::string SignStartName(int sign);          // "NOB" items 28..39

// Lists counted from 0.
std::string ReturnKindName(int kind);         // "TSL", kind = calcMethod − 100
std::string EclipseTypeName(int code);        // "Etype"
std::string DrawingElementName(int element);  // "ColG"
std::string ElementName(int element);         // "STIH": fire, earth, air, water
std::string CrossName(int cross);             // "KREST2"
std::string JonesFigureName(int figure);      // "FIGD"
std::string WeekdayName(int weekday);         // "DND", 0 = Sunday
std::string TattvaName(int tattva);           // "TATV"
std::string TableTitle(int kind);             // "TitAll"
std::string TimeFileCaption(int chart);       // "FtK", 0 outer, 1 inner
std::string StarEventName(int event);         // "v0"
std::string AngleHeading(int angle);          // "v1"
std::string StarPhaseName(int phase);         // "v2"
std::string AngleName(int angle);             // "v3"
// Hypothetical bodies 1..8.
std::string HypotheticalName(int number);  // "ORBTITS"

// Lot symbols: the 1-based position of a three-character symbol in "Sym", 0 when it
// is not there; and all symbols in order.
int LotSymbolPosition(std::string_view symbol);
std::vector<std::string> LotSymbols();

// Items named by the number in their brackets: the text before the bracket.
std::string NumberedItemLabel(std::string_view key, int number);
std::string MethodName(int calcMethod);     // "MetChet"; "" for a method without a name
std::string HouseSystemName(int code);      // "HOUS"
std::string ReportTitle(int commandId);     // "EvZag", or "EvZagI" for 2017..2019
std::string InterpretationTitle(int kind);  // "INTER", kinds 0..4

}  // namespace orbeta
