#include "chart/ui/point_info_popup.h"

#include <QPainter>

#include "chart/make_font.h"
#include "chart/wheel_glyphs.h"
#include "gui/qt_text.h"

namespace orbeta {

PointInfoPopup::PointInfoPopup(QWidget* owner, const PointInfo& info, const std::string& textFace)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      info_(info),
      textFace_(textFace) {
    setObjectName("PointInfo");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(FromAnsi(info_.caption));
    setFixedSize(kWidth, kHeight);
}

void PointInfoPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    auto text = MakeFont(textFace_, kLineHeight, 0);
    auto glyphs = MakeFont("Sigilum", kLineHeight, 0);
    if (text) p.setFont(*text);
    int y = kLineHeight;
    int x = 10;
    auto put = [&](const QString& s, const std::optional<QFont>& font) {
        if (font) p.setFont(*font);
        p.drawText(x, y, s);
        x += p.fontMetrics().horizontalAdvance(s);
    };
    put(FromAnsi(info_.degrees), text);
    put(QString(QChar::fromLatin1(info_.signGlyph)) + ' ', glyphs);
    put(FromAnsi(info_.minutes), text);
    if (info_.retrograde) put(QString(QChar::fromLatin1(kRetrogradeGlyph)), glyphs);
    if (text) p.setFont(*text);
    for (const auto& line : info_.lines) {
        y += kLineHeight;
        p.drawText(10, y, FromAnsi(line));
    }
}

}  // namespace orbeta
