#include "gui/method_list.h"

#include <QComboBox>

#include "core/birth_data.h"
#include "gui/qt_text.h"
#include "platform/ui_text.h"

namespace orbeta {

void FillMethodList(QComboBox* box) {
    for (const auto& item : SplitListText(LookupText("MetChet")))
        if (item.find('[') != std::string::npos)
            box->addItem(FromAnsi(MenuLabel(item)), MethodOfEntry(item));
    if (box->count() > 0) box->setCurrentIndex(0);
}

int ChosenMethodOf(const QComboBox* box) {
    QVariant method = box->currentData();
    return method.isValid() ? method.toInt() : 1;
}

bool SelectMethod(QComboBox* box, int method) {
    for (int i = 0; i < box->count(); ++i)
        if (box->itemData(i).toInt() == method) {
            box->setCurrentIndex(i);
            return true;
        }
    return false;
}

}  // namespace orbeta
