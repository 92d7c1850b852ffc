#include "shell_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "platform/program_state.h"
#include "platform/text_file.h"
#include "platform/ui_text.h"
#include "shell/app_state.h"
#include "shell/ui/birth_data_dialog.h"

namespace fs = std::filesystem;

namespace orbeta::test {

TestWorkspace::TestWorkspace() {
    previous_ = fs::current_path().string();
    std::string templ = (fs::temp_directory_path() / "orbeta-shell-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
    fs::copy(ORBETA_TEST_WORKSPACE, path_, fs::copy_options::recursive);
    fs::current_path(path_);
}

TestWorkspace::~TestWorkspace() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

void TestWorkspace::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(fs::path(path_) / name, std::ios::binary) << bytes;
}

void TestWorkspace::Remove(const std::string& name) const {
    fs::remove(fs::path(path_) / name);
}

std::string TestWorkspace::Read(const std::string& name) const {
    return ReadFileBytes((fs::path(path_) / name).string()).value_or("<missing>");
}

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
