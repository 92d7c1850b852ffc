#include "chart/ui/point_info_popup.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
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
    // The chart keeps the focus: its keys go on working, Esc closes the popup, and the
    // next click on the wheel counts at once.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(FromAnsi(info_.caption));
    // Lines wider than the popup (a horary point's coming aspects carry a date and a
    // time) or more of them than it holds widen and lengthen it rather than being cut.
    int width = kWidth;
    if (auto text = MakeFont(textFace_, kLineHeight, 0)) {
        QFontMetrics metrics(*text);
        for (const auto& line : info_.lines)
            width = std::max(width, 20 + metrics.horizontalAdvance(FromAnsi(line)));
    }
    int lines = static_cast<int>(info_.lines.size()) + 2;
    setFixedSize(width, std::max(kHeight, kLineHeight * lines));
    // Clicks elsewhere in the program are watched, not taken: they close the popup and
    // still do what they do.
    qApp->installEventFilter(this);
}

void PointInfoPopup::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PointInfoPopup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() != this) close();
    }
    return false;
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
