#pragma once
// The commands of the main menu that gather birth data or change the configuration.
class QWidget;

namespace orbeta {

class CommandMap;

// Command 200 up to the chart window: the birth-data dialog prefilled from the input
// chart; on OK the input chart gets the typed data and the current house system and is
// computed by the chosen method on the current chart. False on Cancel.
bool EnterAndComputeChart(QWidget* parent);

// 301 and 302 (active bodies and bodies with aspects), 303 (body of planetary arcs),
// 304 (house system), 305 (display and colours), 306 (calculation methods), 312 (orb
// files).
void AddConfigurationCommands(CommandMap& commands);

void ChooseActiveBodies(QWidget* parent);        // 301
void ChooseAspectBodies(QWidget* parent);        // 302
void ChooseArcBody(QWidget* parent);             // 303
void ChooseHouseSystem(QWidget* parent);         // 304
void ChooseCalculationMethods(QWidget* parent);  // 306

}  // namespace orbeta
