#include "gui/progress_dialog.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/services.h"

namespace orbeta {

ProgressDialog::ProgressDialog(int total, QWidget* owner) : QDialog(owner) {
    setObjectName("1013");
    setWindowTitle(FromAnsi("Расчет"_cp));
    setModal(false);
    gauge_ = new QProgressBar(this);
    gauge_->setGeometry(10, 10, 540, 20);
    gauge_->setRange(0, std::max(total, 0));
    gauge_->setValue(0);
    gauge_->setTextVisible(false);
    auto* abort = new QPushButton(FromAnsi("Прервать"_cp), this);
    abort->setObjectName("2000");
    abort->setGeometry(235, 40, 90, 26);
    connect(abort, &QPushButton::clicked, this, [] { AbortProgress(); });
    setFixedSize(560, 76);
}

void ProgressDialog::Advance(int delta) {
    gauge_->setValue(std::clamp(gauge_->value() + delta, gauge_->minimum(), gauge_->maximum()));
}

int ProgressDialog::Value() const {
    return gauge_->value();
}

// Closing the box or pressing Escape is the same as "Прервать": the search owns the
// dialog and ends it.
void ProgressDialog::closeEvent(QCloseEvent* event) {
    AbortProgress();
    event->ignore();
}

void ProgressDialog::reject() {
    AbortProgress();
}

}  // namespace orbeta
