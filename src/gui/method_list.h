#pragma once
// The chart-kind list ("MetChet"): every item with a method number in brackets, shown
// by the birth-data dialog and the method choice of a chart window.
class QComboBox;

namespace orbeta {

// Fills the box with the items; the first is current.
void FillMethodList(QComboBox* box);
// The method of the current item (1 for an item without a number).
int ChosenMethodOf(const QComboBox* box);
// Makes the item of the method current; false when the list has none.
bool SelectMethod(QComboBox* box, int method);

}  // namespace orbeta
