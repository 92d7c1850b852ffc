#include "gui/interval_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/birth_data.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {

IntervalDialog::IntervalDialog(QWidget* parent, const std::string& interval)
    : Dial(parent, 1006, "DInterv", false) {
    setWindowTitle(FromAnsi("Задание интервала"_cp));
    auto [first, second] = SplitInterval(interval);
    auto* grid = new QGridLayout;
    auto field = [&](int row, const char* id, const char* label, const std::string& text) {
        auto* e = new QLineEdit(FromAnsi(text), this);
        e->setObjectName(id);
        e->setMaxLength(11);
        grid->addWidget(new QLabel(FromAnsi(label), this), row, 0);
        grid->addWidget(e, row, 1);
        return e;
    };
    start_field_ = field(0, "1401", "Начало(ДД.ММ.ГГГГ)"_cp, first);
    end_field_ = field(1, "1402", "Конец (ДД.ММ.ГГГГ)"_cp, second);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
}

std::string IntervalDialog::IntervalText() const {
    return Format("%s-%s", ToAnsi(start_field_->text()).c_str(),
                  ToAnsi(end_field_->text()).c_str());
}

void IntervalDialog::accept() {
    std::string error;
    auto start = ParseDateText(ToAnsi(start_field_->text()));
    auto end = ParseDateText(ToAnsi(end_field_->text()));
    if (!start || !end) {
        Svc().Warning(Format("Дата \"%s\" не в виде ДД.ММ.ГГГГ"_cp,
                             ToAnsi((!start ? start_field_ : end_field_)->text()).c_str()));
        return;
    }
    for (const DateParts* date : {&*start, &*end}) {
        std::string fault = ImpossibleDateText(*date);
        if (!fault.empty()) {
            Svc().Warning(
                Format("%s\n(%s)", fault.c_str(), date == &*start ? "Начало"_cp : "Конец"_cp));
            return;
        }
    }
    // An interval that ends before it starts has nothing in it: the user mends it here.
    if (JulianDay(*end) < JulianDay(*start)) {
        Svc().Warning("Конец интервала раньше начала"_cp);
        return;
    }
    start_ = JulianDay(*start);
    end_ = JulianDay(*end);
    Dial::accept();
}

bool RunIntervalDialog(QWidget* parent, std::string& interval, double& start, double& end) {
    IntervalDialog dialog(parent, interval);
    if (dialog.exec() != QDialog::Accepted) return false;
    start = dialog.Start();
    end = dialog.End();
    interval = dialog.IntervalText().substr(0, 37);
    return true;
}

}  // namespace orbeta
