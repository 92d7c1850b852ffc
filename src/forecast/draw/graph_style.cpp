#include "forecast/draw/graph_style.h"

#include <QHash>
#include <QPaintEngine>
#include <QPainterPath>

#include "chart/make_font.h"
#include "core/calendar.h"
#include "platform/codepage.h"

namespace orbeta {

Colour GraphStyle::PointColour(int pointId) const {
    if (pointId < 1 || pointId > kBodyCount) return bodies[16];
    return bodies[static_cast<size_t>(pointId)];
}

Colour GraphStyle::AspectColourOf(double angle) const {
    for (const AspectPen& pen : aspectPens)
        if (pen.angle == static_cast<float>(angle)) return pen.colour;
    Settings standard;
    return AspectColour(angle, kStandardColour, PaintTarget{standard, false});
}

GraphStyle MakeGraphStyle(const Settings& settings, const OrbTable& table, const ChartRecord& chart,
                          bool printing) {
    GraphStyle s;
    PaintTarget target{settings, printing};
    for (int b = 0; b <= 16; ++b) s.bodies[static_cast<size_t>(b)] = BodyColour(b, target);
    for (const AspectRecord& a : table.aspects)
        s.aspectPens.push_back({a.angle, AspectColour(a.angle, a.colour, target), a.lineStyle});
    s.grid = ElementColour(0, target);
    s.text = ElementColour(4, target);
    s.box = ElementColour(11, target);
    s.background = printing ? RgbColour(255, 255, 255) : ElementColour(10, target);
    s.textFace = settings.monoFont.empty() ? s.textFace : settings.monoFont;
    s.printing = printing;
    s.lowMemory = printing && settings.Option(kOptPrinterLowMemory);
    s.chartName = chart.name;
    s.chartDate = DateTimeText(chart.jdLocal);
    return s;
}

bool GraphCanvas::SelectFont(const std::string& face, int height) {
    auto font = MakeFont(face, height, 0);
    if (!font) return false;
    p_.setFont(*font);
    return true;
}

int GraphCanvas::FontHeight() const {
    return p_.fontMetrics().height();
}

int GraphCanvas::AverageCharWidth() const {
    return p_.fontMetrics().averageCharWidth();
}

int GraphCanvas::TextWidth(const std::string& cp1251) const {
    return p_.fontMetrics().horizontalAdvance(QString::fromStdString(AnsiToUtf8(cp1251)));
}

void GraphCanvas::Text(int x, int y, const std::string& cp1251, Colour colour) {
    QPaintEngine* engine = p_.paintEngine();
    if (cp1251.size() == 1 && engine && engine->type() == QPaintEngine::Raster) {
        Glyph(x, y, cp1251[0], colour);
        return;
    }
    QString s = QString::fromStdString(AnsiToUtf8(cp1251));
    int baseline = y + p_.fontMetrics().ascent();
    // An SVG file names its fonts without carrying them: glyphs go as outlines.
    if (engine && engine->type() == QPaintEngine::SVG) {
        QPainterPath path;
        path.addText(x, baseline, p_.font(), s);
        p_.fillPath(path, ToQColor(colour));
        return;
    }
    p_.setPen(ToQColor(colour));
    p_.drawText(x, baseline, s);
}

// A forecast draws thousands of single glyphs: on pixels each is drawn once per font
// and colour and then copied, which costs far less than laying out text each time.
void GraphCanvas::Glyph(int x, int y, char ch, Colour colour) {
    static QHash<QString, QImage> cache;
    constexpr int kMaxCached = 4096;
    QString key = p_.font().key() + QChar(static_cast<unsigned char>(ch)) + QString::number(colour);
    auto it = cache.find(key);
    if (it == cache.end()) {
        if (cache.size() >= kMaxCached) cache.clear();
        QFontMetrics fm(p_.font());
        QString s(QChar(static_cast<unsigned char>(ch)));
        int margin = fm.height() / 2 + 1;
        QImage image(fm.horizontalAdvance(s) + 2 * margin, fm.height() + 2 * margin,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter g(&image);
        g.setFont(p_.font());
        g.setPen(ToQColor(colour));
        g.drawText(margin, margin + fm.ascent(), s);
        g.end();
        it = cache.insert(key, image);
    }
    int margin = (it->height() - p_.fontMetrics().height()) / 2;
    p_.drawImage(x - margin, y - margin, *it);
}

void GraphCanvas::Line(int xa, int ya, int xb, int yb, Colour colour, int width) {
    p_.setPen(QPen(ToQColor(colour), width));
    p_.drawLine(xa, ya, xb, yb);
}

void GraphCanvas::FillBox(int xa, int ya, int xb, int yb, Colour colour) {
    p_.fillRect(QRect(QPoint(xa, ya), QPoint(xb - 1, yb - 1)), ToQColor(colour));
}

}  // namespace orbeta
