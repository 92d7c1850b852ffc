#pragma once
// The check boxes of points that the search and forecast dialogs offer: bodies in the
// first two columns, the cusps in the next two; each box named by its control id.
#include <QGroupBox>
#include <cstdint>
#include <vector>

class QCheckBox;
class QWidget;

namespace orbeta {

// A group "title" of boxes for PointIds 1..count, named firstId + PointId − 1, checked
// by the mask's bits.
QGroupBox* PointBoxes(QWidget* parent, const char* title, int firstId, int count, uint32_t mask,
                      std::vector<QCheckBox*>& boxes);
// The mask of the checked boxes, bit i for boxes[i].
uint32_t MaskOf(const std::vector<QCheckBox*>& boxes);

}  // namespace orbeta
