#include "gui/method_list.h"

#include <QComboBox>

#include "core/birth_data.h"
#include "gui/qt_text.h"
#include "platform/ui_text.h"

namespace orbeta {

void FillMethodList(QComboBox* box) {
    for (const auto& item : SplitListText(LookupText("MetChet")))
        if (item.find('[') != std::string::npos) box->addItem(FromAnsi(item));
    if (box->count() > 0) box->setCurrentIndex(0);
}

int ChosenMethodOf(const QComboBox* box) {
    return MethodOfEntry(ToAnsi(box->currentText()));
}

bool SelectMethod(QComboBox* box, int method) {
    for (int i = 0; i < box->count(); ++i)
        if (MethodOfEntry(ToAnsi(box->itemText(i))) == method) {
            box->setCurrentIndex(i);
            return true;
        }
    return false;
}

}  // namespace orbeta
