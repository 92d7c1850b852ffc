#pragma once
// The help window: one topic of orbtw.lrn, its links in red; a click on a link line
// opens the linked topic in a further window. Any number can be open. A topic longer
// than the window scrolls by its scroll bar, the mouse wheel and the keys.
#include <QWidget>
#include <string>
#include <vector>

class QScrollBar;

namespace orbeta {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLineHeight = 14;

    // A key without a topic gives an empty window.
    explicit HelpWindow(const std::string& key, QWidget* frame = nullptr);
    ~HelpWindow() override;

    // Opens and shows a window on the key, placed over the right of the frame. Opened
    // from a dialog, it belongs to the dialog: it takes the focus and the keys (the
    // dialog blocks the frame) and goes when the dialog goes.
    static HelpWindow* Open(const std::string& key);

    const std::string& Key() const { return key_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    int FirstLine() const { return first_; }
    QScrollBar* VerticalBar() const { return vertical_; }
    // Lines shown whole in the window's height.
    int VisibleLines() const;
    // The window opened by a click at this height (null when the line has no link).
    HelpWindow* ClickAt(int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateScrollRange();

    std::string key_;
    std::vector<std::string> lines_;
    int first_ = 0;
    QScrollBar* vertical_;
};

}  // namespace orbeta
