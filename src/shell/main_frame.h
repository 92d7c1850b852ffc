#pragma once
// The frame: the MDI client area and menu 1000. Every command of the menu goes to the
// command map; commands without a handler are disabled.
#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

#include "shell/command_map.h"
#include "shell/main_menu.h"

class QMdiArea;
class QMenu;

namespace orbeta {

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainFrame(const CommandMap& commands, QWidget* parent = nullptr);

    QMdiArea* Client() const { return client_; }
    // The menu action of a command id; null when the menu has none.
    QAction* Action(int id) const;
    // Enables exactly the commands that have a handler.
    void UpdateCommandStates();
    // Lays minimised windows in rows along the bottom of the client area.
    void ArrangeIcons();
    // The open windows (not minimised) one over the other, each two thirds of the client
    // area, stepped down and right by a title bar; the active one on top.
    void Cascade();
    // The open windows side by side in a grid filling the client area.
    void Tile();

    // Asked on every close request; the frame closes only when it returns true.
    void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void AddEntries(QWidget* menu, const std::vector<MenuEntry>& entries);
    void FillWindowList();

    const CommandMap& commands_;
    QMdiArea* client_;
    QMenu* windowsMenu_ = nullptr;
    std::map<int, QAction*> actions_;
    std::vector<QAction*> windowList_;
    std::function<bool()> closeQuery_;
};

}  // namespace orbeta
