#include "forecast/ui/point_boxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <string>

#include "core/chart_record.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

std::string BoxLabel(int pointId) {
    if (pointId <= kBodyCount) return PointLongName(pointId);
    int cusp = CuspOfPoint(pointId);
    if (cusp == 1) return "Asc";
    if (cusp == 10) return "MC";
    return Format("%d-й дом"_cp, cusp);
}

}  // namespace

QGroupBox* PointBoxes(QWidget* parent, const char* title, int firstId, int count, uint32_t mask,
                      std::vector<QCheckBox*>& boxes) {
    auto* group = new QGroupBox(FromAnsi(title), parent);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < count; ++i) {
        auto* b = new QCheckBox(FromAnsi(BoxLabel(i + 1)), group);
        b->setObjectName(QString::number(firstId + i));
        b->setChecked((mask >> i) & 1u);
        if (i < kBodyCount)
            grid->addWidget(b, i % 8, i / 8);
        else
            grid->addWidget(b, (i - kBodyCount) % 6, 2 + (i - kBodyCount) / 6);
        boxes.push_back(b);
    }
    return group;
}

uint32_t MaskOf(const std::vector<QCheckBox*>& boxes) {
    uint32_t mask = 0;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) mask |= 1u << i;
    return mask;
}

}  // namespace orbeta
