#pragma once
// The forecast report's commands: 2060 of a natal chart window and menu 905, with the
// texts of the base "gnoz".
namespace orbeta {

class CommandMap;

void AddForecastCommands(CommandMap& commands);

}  // namespace orbeta
