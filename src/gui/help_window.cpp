#include "gui/help_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>

#include "gui/app_state.h"
#include "gui/child_window.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/help_file.h"

namespace orbeta {

HelpWindow::HelpWindow(const std::string& key, QWidget* frame)
    : QWidget(frame, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      key_(key),
      lines_(FindHelpTopic(key)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(FromAnsi("Помощь"_cp));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    QFont f = font();
    f.setPixelSize(kLineHeight - 2);
    setFont(f);
    // Over the right three fifths of the frame, 40 pixels clear of its top and bottom.
    QRect area = frame ? frame->geometry() : QGuiApplication::primaryScreen()->availableGeometry();
    setGeometry(area.x() + area.width() * 2 / 5, area.y() + 40, area.width() * 3 / 5,
                std::max(kLineHeight, area.height() - 80));
}

HelpWindow::~HelpWindow() {
    // The chart window under the help takes the next click as a click, not a wake-up.
    if (ChildWindow* child = App().activeChild) child->clickArmed = true;
}

HelpWindow* HelpWindow::Open(const std::string& key) {
    auto* window = new HelpWindow(key, App().frame);
    window->show();
    window->activateWindow();
    return window;
}

HelpWindow* HelpWindow::ClickAt(int y) {
    int index = y / kLineHeight + first_;
    if (index < 0 || index >= static_cast<int>(lines_.size())) return nullptr;
    HelpLine line = ParseHelpLine(lines_[index]);
    if (line.target.empty()) return nullptr;
    return Open(line.target);
}

void HelpWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    int ascent = painter.fontMetrics().ascent();
    for (size_t i = first_, row = 0; i < lines_.size(); ++i, ++row) {
        int y = static_cast<int>(row) * kLineHeight;
        if (y > height()) break;
        HelpLine line = ParseHelpLine(lines_[i]);
        int x = 2;
        for (auto [text, colour] :
             {std::pair{&line.before, Qt::black}, std::pair{&line.link, Qt::red},
              std::pair{&line.after, Qt::black}}) {
            QString shown = FromAnsi(*text);
            painter.setPen(colour);
            painter.drawText(x, y + ascent, shown);
            x += painter.fontMetrics().horizontalAdvance(shown);
        }
    }
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            close();
            break;
        case Qt::Key_Up:
            if (first_ > 0) --first_;
            update();
            break;
        case Qt::Key_Down:
            if (first_ + 1 < static_cast<int>(lines_.size())) ++first_;
            update();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void HelpWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ClickAt(static_cast<int>(event->position().y()));
}

}  // namespace orbeta
