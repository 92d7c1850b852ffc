#include "shell_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "gui/app_state.h"
#include "gui/birth_data_dialog.h"
#include "platform/program_state.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"

namespace fs = std::filesystem;

namespace orbeta::test {

BoxAnswerer::BoxAnswerer(std::deque<QMessageBox::StandardButton> answers)
    : answers_(std::move(answers)) {
    connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Poll);
    timer_.start(10);
}

void BoxAnswerer::Poll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
        box->setProperty("answered", true);
        SeenBox s{box->windowTitle(), box->text(), box->icon(), box->parent(), {}};
        for (QAbstractButton* b : box->buttons()) s.buttons << b->text();
        s.buttons.sort();
        seen.push_back(s);
        if (onBox) onBox(s);
        QAbstractButton* button = nullptr;
        if (!answers_.empty()) {
            button = box->button(answers_.front());
            answers_.pop_front();
        }
        if (!button) button = box->defaultButton();
        if (!button && !box->buttons().isEmpty()) button = box->buttons().first();
        if (button) button->click();
    }
}

void ResetProgramState() {
    App();  // the program's state registers its reset when first used
    ResetProgramWideState();
}

}  // namespace orbeta::test
