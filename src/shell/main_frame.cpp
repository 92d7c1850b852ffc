#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "gui/qt_text.h"

namespace orbeta {

MainFrame::MainFrame(const CommandMap& commands, QWidget* parent)
    : QMainWindow(parent), commands_(commands) {
    setObjectName("MainFrame");
    client_ = new QMdiArea(this);
    client_->setObjectName("MainClient");
    client_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    client_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(client_);
    menuBar()->setObjectName("1000");
    AddEntries(menuBar(), MainMenu());
    UpdateCommandStates();
}

void MainFrame::AddEntries(QWidget* menu, const std::vector<MenuEntry>& entries) {
    auto* bar = qobject_cast<QMenuBar*>(menu);
    auto* popup = qobject_cast<QMenu*>(menu);
    for (const auto& e : entries) {
        switch (e.kind) {
            case MenuEntry::Separator:
                if (popup) popup->addSeparator();
                break;
            case MenuEntry::Popup: {
                QMenu* sub =
                    bar ? bar->addMenu(FromAnsi(e.text)) : popup->addMenu(FromAnsi(e.text));
                if (!e.items.empty() && e.items.front().id == cmd::menu::kCascade)
                    windowsMenu_ = sub;
                AddEntries(sub, e.items);
                break;
            }
            case MenuEntry::Command: {
                QAction* action =
                    bar ? bar->addAction(FromAnsi(e.text)) : popup->addAction(FromAnsi(e.text));
                action->setObjectName(QString::number(e.id));
                int id = e.id;
                connect(action, &QAction::triggered, this, [this, id] { commands_.Run(id); });
                actions_[id] = action;
                break;
            }
        }
    }
    if (popup && popup == windowsMenu_)
        connect(popup, &QMenu::aboutToShow, this, &MainFrame::FillWindowList);
}

QAction* MainFrame::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainFrame::UpdateCommandStates() {
    for (auto& [id, action] : actions_) action->setEnabled(commands_.Has(id));
}

// The list of open windows after the "Окна" commands, rebuilt each time it opens.
void MainFrame::FillWindowList() {
    for (QAction* a : windowList_) {
        windowsMenu_->removeAction(a);
        delete a;
    }
    windowList_.clear();
    const auto windows = client_->subWindowList();
    if (windows.isEmpty()) return;
    windowList_.push_back(windowsMenu_->addSeparator());
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        QAction* a = windowsMenu_->addAction(QString("%1 %2").arg(++n).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == client_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { client_->setActiveSubWindow(w); });
        windowList_.push_back(a);
    }
}

void MainFrame::ArrangeIcons() {
    int x = 0;
    int y = client_->viewport()->height();
    int rowHeight = 0;
    for (QMdiSubWindow* w : client_->subWindowList()) {
        if (!w->isMinimized()) continue;
        QSize size = w->size();
        if (x > 0 && x + size.width() > client_->viewport()->width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        if (rowHeight == 0) rowHeight = size.height();
        w->move(x, y - rowHeight);
        x += size.width();
    }
}

namespace {

// The windows an arrangement moves, brought out of maximised state; the one on top last.
QList<QMdiSubWindow*> WindowsToArrange(QMdiArea* client) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : client->subWindowList(QMdiArea::StackingOrder)) {
        if (w->isMinimized() || !w->isVisible()) continue;
        if (w->isMaximized()) w->showNormal();
        windows.push_back(w);
    }
    return windows;
}

// Everything inside is drawn again at its new size, not only what was uncovered, and
// so is the area the windows left.
void RepaintArranged(QMdiArea* client, const QList<QMdiSubWindow*>& windows) {
    client->viewport()->update();
    for (QMdiSubWindow* w : windows) {
        w->update();
        if (QWidget* inner = w->widget()) {
            inner->update();
            for (QWidget* child : inner->findChildren<QWidget*>()) child->update();
        }
    }
}

}  // namespace

void MainFrame::Cascade() {
    QList<QMdiSubWindow*> windows = WindowsToArrange(client_);
    if (windows.isEmpty()) return;
    QSize area = client_->viewport()->size();
    int step = std::max(8, windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr,
                                                                 windows.front()));
    QSize size(std::max(area.width() * 2 / 3, std::min(area.width(), 320)),
               std::max(area.height() * 2 / 3, std::min(area.height(), 240)));
    // Steps that would push a window past the area start again at the top left.
    int room = std::max(
        1,
        std::min((area.width() - size.width()) / step, (area.height() - size.height()) / step) + 1);
    int i = 0;
    for (QMdiSubWindow* w : windows) {
        int offset = (i++ % room) * step;
        w->setGeometry(offset, offset, size.width(), size.height());
        w->raise();
    }
    RepaintArranged(client_, windows);
}

void MainFrame::Tile() {
    QList<QMdiSubWindow*> windows = WindowsToArrange(client_);
    if (windows.isEmpty()) return;
    QSize area = client_->viewport()->size();
    int n = static_cast<int>(windows.size());
    int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    int rows = (n + columns - 1) / columns;
    for (int i = 0; i < n; ++i) {
        int row = i / columns, column = i % columns;
        // The last row shares the width among fewer windows.
        int inRow = row == rows - 1 ? n - row * columns : columns;
        int x0 = area.width() * column / inRow, x1 = area.width() * (column + 1) / inRow;
        int y0 = area.height() * row / rows, y1 = area.height() * (row + 1) / rows;
        windows[i]->setGeometry(x0, y0, x1 - x0, y1 - y0);
    }
    RepaintArranged(client_, windows);
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (closeQuery_ && !closeQuery_()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace orbeta
