#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

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

void MainFrame::closeEvent(QCloseEvent* event) {
    if (closeQuery_ && !closeQuery_()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace orbeta
