#pragma once
// The small window a click on the wheel opens: the point's position, speed, latitude,
// declination and aspects. It closes on Esc and on a mouse click anywhere outside it.
#include <QWidget>

#include "chart/point_info.h"

namespace orbeta {

class PointInfoPopup : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 400;
    static constexpr int kLineHeight = 14;

    PointInfoPopup(QWidget* owner, const PointInfo& info, const std::string& textFace);
    const PointInfo& Info() const { return info_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    PointInfo info_;
    std::string textFace_;
};

}  // namespace orbeta
