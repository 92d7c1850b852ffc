#pragma once
// The help window: one topic of orbtw.lrn, its links in red; a click on a link line
// opens the linked topic in a further window. Any number can be open.
#include <QWidget>
#include <string>
#include <vector>

namespace orbeta {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLineHeight = 14;

    // A key without a topic gives an empty window.
    explicit HelpWindow(const std::string& key, QWidget* frame = nullptr);
    ~HelpWindow() override;

    // Opens and shows a window on the key, placed over the right of the frame.
    static HelpWindow* Open(const std::string& key);

    const std::string& Key() const { return key_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    int FirstLine() const { return first_; }
    // The window opened by a click at this height (null when the line has no link).
    HelpWindow* ClickAt(int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::string key_;
    std::vector<std::string> lines_;
    int first_ = 0;
};

}  // namespace orbeta
