#include "gui/help_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

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
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setFocusPolicy(Qt::NoFocus);
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int value) {
        first_ = value;
        update();
    });
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
    if (QWidget* dialog = QApplication::activeModalWidget())
        window->setParent(dialog, window->windowFlags());
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
    painter.setClipRect(0, 0, vertical_->x(), height());
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
            vertical_->setValue(first_ - 1);
            break;
        case Qt::Key_Down:
            vertical_->setValue(first_ + 1);
            break;
        case Qt::Key_PageUp:
            vertical_->setValue(first_ - vertical_->pageStep());
            break;
        case Qt::Key_PageDown:
            vertical_->setValue(first_ + vertical_->pageStep());
            break;
        case Qt::Key_Home:
            vertical_->setValue(0);
            break;
        case Qt::Key_End:
            vertical_->setValue(vertical_->maximum());
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

int HelpWindow::VisibleLines() const {
    return std::max(1, height() / kLineHeight);
}

// The last line can come to the bottom of the window, whole, and no further.
void HelpWindow::UpdateScrollRange() {
    int lines = static_cast<int>(lines_.size());
    vertical_->setRange(0, std::max(0, lines - VisibleLines()));
    vertical_->setPageStep(VisibleLines());
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    int w = vertical_->sizeHint().width();
    vertical_->setGeometry(width() - w, 0, w, height());
    UpdateScrollRange();
}

void HelpWindow::wheelEvent(QWheelEvent* event) {
    // Three lines a notch, as text views scroll.
    int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        notches = event->angleDelta().y() > 0 ? 1 : event->angleDelta().y() < 0 ? -1 : 0;
    vertical_->setValue(first_ - 3 * notches);
    event->accept();
}

void HelpWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ClickAt(static_cast<int>(event->position().y()));
}

}  // namespace orbeta
