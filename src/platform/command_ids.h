#pragma once
// The command ids of the menus and windows, named once. Menu 1000 of the frame is built
// in code; the popup and button menus of the windows come from the UI texts
// (data/orbtw.t), which carry these numbers in brackets. The program, the check of the
// UI texts and the tests use the names; a number in the texts that has no name here
// stops the build.
//
// Ranges, by owner:
//   menu 1000   200 charts and analysis, 300 configuration, 400 the database,
//               600 help and eclipses, 700 tables, 800 special charts,
//               900 interpretation, 1000 horary astrology, 24300 the frame's windows
//   chart       2001..2199 commands of a chart window, 3001..3002 its button menus
//   text        100 and 2002..2102 in the menus of text windows
//   picture     2100..2102 in the menus of graph windows
// Within one owner an id means one command; windows of different kinds reuse numbers
// (2014 overlays a chart in a chart window and prints in a text window).

namespace orbeta {

// X(name, id) for every command of menu 1000.
#define ORBETA_MENU_COMMANDS(X)         \
    X(kHoroscope, 200)                  \
    X(kOverlay, 201)                    \
    X(kGraphicEphemeris, 209)           \
    X(kGraphicForecast, 210)            \
    X(kRectification, 211)              \
    X(kActiveBodies, 301)               \
    X(kAspectBodies, 302)               \
    X(kArcBody, 303)                    \
    X(kHouseSystem, 304)                \
    X(kDisplaySettings, 305)            \
    X(kCalculationMethods, 306)         \
    X(kPrinterSettings, 310)            \
    X(kExternalEditor, 311)             \
    X(kOrbFiles, 312)                   \
    X(kInterpretationTexts, 314)        \
    X(kChartBase, 401)                  \
    X(kNotepad, 402)                    \
    X(kChangeBase, 404)                 \
    X(kNewBase, 405)                    \
    X(kHelp, 601)                       \
    X(kEclipses, 604)                   \
    X(kCurrentAspects, 701)             \
    X(kCurrentAspectsToChosen, 702)     \
    X(kAspectsToNatal, 703)             \
    X(kIngresses, 704)                  \
    X(kAspectsToPoints, 705)            \
    X(kLoops, 706)                      \
    X(kLoopAspects, 707)                \
    X(kReturns, 708)                    \
    X(kSunIngress, 801)                 \
    X(kLunations, 802)                  \
    X(kNatalInterpretation, 901)        \
    X(kChildInterpretation, 902)        \
    X(kRelocationInterpretation, 903)   \
    X(kHoraryInterpretation, 904)       \
    X(kForecastInterpretation, 905)     \
    X(kFixedStarsInterpretation, 906)   \
    X(kRelationshipInterpretation, 907) \
    X(kHoraryAspectsInstant, 1001)      \
    X(kHoraryAspectsDaily, 1002)        \
    X(kHoraryChart, 1003)               \
    X(kHoraryAnswer, 1004)              \
    X(kExit, 24310)                     \
    X(kCascade, 24361)                  \
    X(kTile, 24362)                     \
    X(kArrangeIcons, 24364)             \
    X(kCloseAll, 24365)

// X(name, id) for every command of a chart window's popup and button menus.
#define ORBETA_CHART_COMMANDS(X)       \
    X(kAspects, 2001)                  \
    X(kBinduTable, 2002)               \
    X(kChartAnalysis, 2003)            \
    X(kFixedStars, 2004)               \
    X(kAsteroids, 2005)                \
    X(kHypotheticalPlanets, 2006)      \
    X(kDegreeTexts, 2008)              \
    X(kLots, 2009)                     \
    X(kMidpoints, 2010)                \
    X(kRiseSet, 2011)                  \
    X(kAgePoints, 2012)                \
    X(kStoreInBase, 2013)              \
    X(kOverlayCurrent, 2014)           \
    X(kInterpretation, 2016)           \
    X(kDirectionsLongitude, 2017)      \
    X(kDirectionsRightAscension, 2018) \
    X(kProgressedMoon, 2019)           \
    X(kMakeCurrent, 2020)              \
    X(kHousesOuter, 2021)              \
    X(kHousesInner, 2022)              \
    X(kTimeSteps, 2030)                \
    X(kChangeAscendant, 2031)          \
    X(kHarmonic, 2040)                 \
    X(kSolarLunar, 2041)               \
    X(kRelocation, 2042)               \
    X(kHoraryChart, 2043)              \
    X(kThematicChart, 2044)            \
    X(kReturnsTable, 2045)             \
    X(kRelationship, 2050)             \
    X(kComposite, 2051)                \
    X(kMidChart, 2052)                 \
    X(kArcs, 2053)                     \
    X(kSwap, 2055)                     \
    X(kOuterMethod, 2056)              \
    X(kForecast, 2060)                 \
    X(kPrint, 2100)                    \
    X(kPrintWithTables, 2101)          \
    X(kCopyPicture, 2102)              \
    X(kReportsMenu, 3001)              \
    X(kDerivedMenu, 3002)

// X(name, id) for the menus of text windows (reports, the aspect table).
#define ORBETA_TEXT_COMMANDS(X) \
    X(kExternalEditor, 100)     \
    X(kBinduTable, 2002)        \
    X(kPrint, 2014)             \
    X(kSave, 2015)              \
    X(kCopy, 2102)

// X(name, id) for the menus of graph windows.
#define ORBETA_PICTURE_COMMANDS(X) \
    X(kPrint, 2100)                \
    X(kCopy, 2102)

#define ORBETA_COMMAND_CONSTANT(name, id) inline constexpr int name = id;
namespace cmd {
namespace menu {
ORBETA_MENU_COMMANDS(ORBETA_COMMAND_CONSTANT)
}
namespace chart {
ORBETA_CHART_COMMANDS(ORBETA_COMMAND_CONSTANT)
}
namespace text {
ORBETA_TEXT_COMMANDS(ORBETA_COMMAND_CONSTANT)
}
namespace picture {
ORBETA_PICTURE_COMMANDS(ORBETA_COMMAND_CONSTANT)
}
}  // namespace cmd
#undef ORBETA_COMMAND_CONSTANT

enum class CommandOwner { Menu, Chart, Text, Picture };

struct NamedCommand {
    CommandOwner owner;
    int id;
    const char* name;
};

#define ORBETA_NAMED_MENU(name, id) {CommandOwner::Menu, id, "menu::" #name},
#define ORBETA_NAMED_CHART(name, id) {CommandOwner::Chart, id, "chart::" #name},
#define ORBETA_NAMED_TEXT(name, id) {CommandOwner::Text, id, "text::" #name},
#define ORBETA_NAMED_PICTURE(name, id) {CommandOwner::Picture, id, "picture::" #name},
inline constexpr NamedCommand kNamedCommands[] = {
    ORBETA_MENU_COMMANDS(ORBETA_NAMED_MENU) ORBETA_CHART_COMMANDS(ORBETA_NAMED_CHART)
        ORBETA_TEXT_COMMANDS(ORBETA_NAMED_TEXT) ORBETA_PICTURE_COMMANDS(ORBETA_NAMED_PICTURE)};
#undef ORBETA_NAMED_MENU
#undef ORBETA_NAMED_CHART
#undef ORBETA_NAMED_TEXT
#undef ORBETA_NAMED_PICTURE

// The name of a command of an owner; null when the owner has no command of that id.
constexpr const char* CommandName(CommandOwner owner, int id) {
    for (const auto& c : kNamedCommands)
        if (c.owner == owner && c.id == id) return c.name;
    return nullptr;
}

namespace command_ids_detail {
constexpr bool EachIdOnce() {
    for (const auto& a : kNamedCommands)
        for (const auto& b : kNamedCommands)
            if (&a != &b && a.owner == b.owner && a.id == b.id) return false;
    return true;
}
}  // namespace command_ids_detail
static_assert(command_ids_detail::EachIdOnce(), "a command id named twice for one owner");

}  // namespace orbeta
