#pragma once
// Helpers of the window tests: a workspace of their own, and an answerer that plays
// the user in front of the program's message boxes.
#include <QMessageBox>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "../support/test_support.h"

namespace orbeta::test {

// A fresh copy of the workspace the build assembled, as the working directory.
class TestWorkspace : public TempWorkDir {
  public:
    TestWorkspace() : TempWorkDir(WorkspaceTemplate()) {}
    void Write(const std::string& name, const std::string& bytes) const { WriteFile(name, bytes); }
};

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QObject* owner = nullptr;
    QStringList buttons;
};

// Answers every message box that opens, with the next of the given buttons (the
// box's default button when none is left), and records what it saw. The callback
// runs when a box appears, before it is answered.
class BoxAnswerer : public QObject {
    Q_OBJECT
  public:
    explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {});
    std::vector<SeenBox> seen;
    std::function<void(const SeenBox&)> onBox;

  private:
    void Poll();
    std::deque<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

// Restores the program-wide state between tests.
void ResetProgramState();

}  // namespace orbeta::test
