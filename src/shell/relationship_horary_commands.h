#pragma once
// The relationship report (menu 907, chart window 2050), the horary answer (menus 904
// and 1004), the horary aspect lists of a moment and of a day (menus 1001, 1002) and
// the horary window (menu 1003, chart window 2043).
namespace orbeta {

class CommandMap;

void AddRelationshipHoraryCommands(CommandMap& commands);

}  // namespace orbeta
