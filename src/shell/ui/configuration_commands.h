#pragma once
// The configuration dialogs of the main menu; the application registers them.
class QWidget;

namespace orbeta {

void ChooseActiveBodies(QWidget* parent);        // 301
void ChooseAspectBodies(QWidget* parent);        // 302
void ChooseArcBody(QWidget* parent);             // 303
void ChooseHouseSystem(QWidget* parent);         // 304
void ChooseCalculationMethods(QWidget* parent);  // 306

}  // namespace orbeta
