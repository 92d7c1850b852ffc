#include "chart/ui/bindhu_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "chart/make_font.h"
#include "chart/wheel_glyphs.h"
#include "gui/app_state.h"
#include "gui/print_start.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/report.h"
#include "platform/services.h"

namespace orbeta {
namespace {

constexpr int kUnits = 75;  // the width of the table in units
constexpr int kBackgroundElement = 11;
const char* kGlyphFace = "Sigilum";

std::string CellText(const BindhuCell& cell) {
    char glyph = AspectGlyph(cell.aspect);
    std::string aspect =
        glyph ? Format(" %c ", glyph) : Format("%3.0f", static_cast<double>(cell.aspect));
    return Format("%s %c %02d", aspect.c_str(), PointGlyph(cell.point), cell.minutes);
}

}  // namespace

int PaintBindhu(QPainter& p, const std::vector<BindhuRow>& rows, int first, QSize size,
                bool printing) {
    PaintTarget target{App().settings, printing};
    p.fillRect(QRect(QPoint(0, 0), size), ToQColor(ElementColour(kBackgroundElement, target)));
    int u = std::max(1, size.width() / kUnits);
    std::optional<QFont> glyphFont = MakeFont(kGlyphFace, 2 * u, u);
    if (!glyphFont) return first;
    p.setFont(*glyphFont);
    int lh = std::max(1, p.fontMetrics().height() + p.fontMetrics().leading());
    // A cell's text is eight characters in six units: narrowed to fit its column.
    std::optional<QFont> textFont = MakeFont(kGlyphFace, lh * 7 / 8, std::max(1, u * 2 / 3));
    QColor ink = ToQColor(ElementColour(4, target));  // the text element
    p.setPen(ink);
    for (int s = 0; s < 12; ++s)
        p.drawText((6 * s + 5) * u, p.fontMetrics().ascent(), QString(QChar(SignGlyph(s))));
    if (textFont) p.setFont(*textFont);
    int y = lh;
    int row = std::max(first, 0);
    for (; row < static_cast<int>(rows.size()) && y + lh <= size.height(); ++row, y += lh) {
        if (rows[row].label != 0 || row == first) p.drawLine(0, y, kUnits * u, y);
        for (int s = 0; s < 12; ++s) {
            const BindhuCell& cell = rows[row].cells[s];
            if (cell.point == kBindhuEmpty) continue;
            p.drawText((6 * s + 3) * u, y + p.fontMetrics().ascent(), FromAnsi(CellText(cell)));
        }
    }
    p.drawLine(0, y, kUnits * u, y);
    for (int i = 0; i <= 12; ++i) p.drawLine((6 * i + 3) * u, 0, (6 * i + 3) * u, y);
    return row;
}

BindhuWindow::BindhuWindow(const ChartRecord& chart, long maskP, const OrbTable& table,
                           QWidget* parent)
    : ChildWindow("MDBnd", "HBnd", parent),
      rows_(BindhuLayout(BindhuEntries(chart, table, maskP))) {
    setFocusPolicy(Qt::StrongFocus);
    resize(750, 500);
}

void BindhuWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBindhu(painter, rows_, firstRow_, size(), false);
}

void BindhuWindow::keyPressEvent(QKeyEvent* event) {
    int last = std::max(0, static_cast<int>(rows_.size()) - 1);
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        firstRow_ = std::clamp(firstRow_ + (event->key() == Qt::Key_Up ? -1 : 1), 0, last);
        update();
        event->accept();
        return;
    }
    ChildWindow::keyPressEvent(event);
}

bool BindhuWindow::OffersCommand(int id) const {
    return id == cmd::picture::kCopy || (id == cmd::picture::kPrint && App().printer);
}

void BindhuWindow::OnCommand(int id) {
    if (id == cmd::picture::kPrint)
        Print();
    else
        ChildWindow::OnCommand(id);
}

bool BindhuWindow::Print() {
    QPrinter* printer = App().printer.get();
    if (!printer) return false;
    std::string title = AnsiToUtf8("Таблица Биндху"_cp);
    QPainter painter;
    if (!StartPrinting(painter, *printer, this, title, title)) return false;
    printing = true;
    QSize page(printer->width(), printer->height());
    // Every page repeats the heading; the rows go on where the last page stopped.
    for (int row = 0; row < static_cast<int>(rows_.size());) {
        if (row > 0) printer->newPage();
        int next = PaintBindhu(painter, rows_, row, page, true);
        if (next <= row) break;  // not even one row fits
        row = next;
    }
    printing = false;
    return painter.end();
}

void WriteBindhuReport(const ChartRecord& chart, long maskP) {
    std::string title = "Таблица Биндху"_cp;
    if (!BeginReport(title)) return;
    ReportWrite(BindhuReportText(BindhuEntries(chart, App().orbTable, maskP)));
    ShowReport(title, "HBnd");
}

void OpenBindhu(const ChartRecord& chart) {
    long maskP = App().settings.maskP;
    if (!App().settings.Option(kOptBindhuTable)) {
        WriteBindhuReport(chart, maskP);
        return;
    }
    auto* window = new BindhuWindow(chart, maskP, App().orbTable);
    window->ShowInFrame(FromAnsi("Таблица Биндху"_cp));
}

}  // namespace orbeta
