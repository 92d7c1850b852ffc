#include "chart/ui/aspect_table_window.h"

#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "chart/ui/bindhu_window.h"
#include "gui/app_state.h"
#include "gui/print_start.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/text_file.h"
#include "platform/ui_names.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr int kTablePixelSize = 15;  // the table-font size of the screen
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

AspectTableWindow::SaveNameChooser& Chooser() {
    static AspectTableWindow::SaveNameChooser chooser = [](QWidget* parent) {
        // The dialog may move the working directory, where the program keeps its files.
        QString previous = QDir::currentPath();
        QString name =
            QFileDialog::getSaveFileName(parent, FromAnsi("Введи имя файла"_cp), QString(),
                                         FromAnsi("Текстовые (*.txt);;Все файлы (*)"_cp));
        QDir::setCurrent(previous);
        return name;
    };
    static const StateReset reset{[initial = chooser] { chooser = initial; }};
    return chooser;
}

QFont TableFont(const std::string& face) {
    QFont font(QString::fromStdString(face));
    font.setPixelSize(kTablePixelSize);
    return font;
}

struct Metrics {
    int lh = 1, cw = 1;
};
Metrics MetricsOf(const QFont& font) {
    QFontMetrics fm(font);
    // Three units make a cell. Digits are wider than the average letter of most faces,
    // so the unit grows where a value ("120.0") and a blank would not fit: neighbouring
    // values must never run together.
    int unit = std::max(fm.averageCharWidth() * 7 / 4, (fm.horizontalAdvance("000.0 ") + 2) / 3);
    return {std::max(1, fm.height() + fm.leading()), std::max(1, unit)};
}

void Text(QPainter& p, int x, int y, const QColor& colour, const std::string& cp1251) {
    p.setPen(colour);
    p.drawText(x, y + p.fontMetrics().ascent(), FromAnsi(cp1251));
}

// The lines below the fixed header: the n grid rows, a gap, the chart names, the
// heading, then the coordinate rows.
int LineCount(const AspectTable& t) {
    return static_cast<int>(t.Points().size() + 3 + t.CoordinatePoints().size());
}

void PaintHeader(QPainter& p, const std::vector<int>& points, int width, int firstColumn,
                 const QFont& gridFont) {
    p.setFont(gridFont);
    Metrics m = MetricsOf(gridFont);
    int x = 3 * m.cw;
    for (size_t k = static_cast<size_t>(std::max(firstColumn, 0)); k < points.size() && x < width;
         ++k, x += 3 * m.cw)
        Text(p, x, 0, kBlue, "  " + PointShortName(points[k]));
}

// One line below the header at y.
void PaintLine(QPainter& p, const AspectTable& t, const std::vector<int>& points, int line, int y,
               int width, int firstColumn, const QFont& gridFont, const QFont& coordinateFont) {
    int n = static_cast<int>(points.size());
    if (line < n) {
        p.setFont(gridFont);
        Metrics m = MetricsOf(gridFont);
        int row = points[line];
        Text(p, 0, y, kBlue, PointShortName(row));
        int x = 3 * m.cw;
        for (int k = std::max(firstColumn, 0); k < n && x < width; ++k, x += 3 * m.cw) {
            int column = points[k];
            float v = t.matrix.At(row, column);
            if (!t.TwoCharts() && row == column)
                Text(p, x, y, kBlue, "  " + PointShortName(row));
            else if (v != kNoAspect)
                Text(p, x, y, kBlack, Format("%5.1f", static_cast<double>(v)));
        }
        return;
    }
    p.setFont(coordinateFont);
    if (line == n + 1) {
        std::string s = ChartNameLine(t.chartA);
        if (t.TwoCharts()) s += "              " + ChartNameLine(t.chartB);
        Text(p, 0, y, kBlue, s);
    } else if (line == n + 2) {
        std::string heading = LookupText("LLV");
        Text(p, 0, y, kBlue, t.TwoCharts() ? heading + "    " + heading : heading);
    } else if (line > n + 2) {
        std::vector<int> coordinates = t.CoordinatePoints();
        size_t i = static_cast<size_t>(line - n - 3);
        if (i >= coordinates.size()) return;
        int point = coordinates[i];
        auto text = [](const PointCoordinates& c, const char* fmt) {
            return Format(fmt, c.lon, c.lat, c.speed, c.declination);
        };
        std::string s = PointShortName(point) +
                        text(CoordinatesOf(t.chartA, point), "%6.1f  %6.1f %9.3f %8.1f");
        if (t.TwoCharts())
            s += text(CoordinatesOf(t.chartB, point), "       %6.1f  %6.1f %9.3f %8.1f");
        Text(p, 0, y, kBlue, s);
    }
}

}  // namespace

int PaintAspectTable(QPainter& painter, const AspectTable& table, QSize size, int firstRow,
                     int firstColumn, const QFont& gridFont, const QFont& coordinateFont) {
    std::vector<int> points = table.Points();
    PaintHeader(painter, points, size.width(), firstColumn, gridFont);
    int lh = MetricsOf(gridFont).lh;
    int y = lh;
    for (int line = std::max(firstRow, 0); line < LineCount(table) && y < size.height();
         ++line, y += lh)
        PaintLine(painter, table, points, line, y, size.width(), firstColumn, gridFont,
                  coordinateFont);
    return y;
}

AspectTableWindow::AspectTableWindow(int number, const AspectTable& table, QWidget* parent)
    : ChildWindow("MASP", "", parent),
      number_(number),
      table_(table),
      gridFont_(TableFont(App().settings.monoFont)),
      coordinateFont_(TableFont("Courier New")) {
    setFocusPolicy(Qt::StrongFocus);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    vertical_->setSingleStep(1);
    horizontal_->setSingleStep(1);
    connect(vertical_, &QScrollBar::valueChanged, this,
            [this](int value) { SetPosition(value, firstColumn_); });
    connect(horizontal_, &QScrollBar::valueChanged, this,
            [this](int value) { SetPosition(firstRow_, value); });
    resize(640, 480);
    UpdateBars();
}

int AspectTableWindow::LineHeight() const {
    return MetricsOf(gridFont_).lh;
}

int AspectTableWindow::CellWidth() const {
    return MetricsOf(gridFont_).cw;
}

QSize AspectTableWindow::ClientSize() const {
    int w = width() - (vertical_->isVisible() ? vertical_->sizeHint().width() : 0);
    int h = height() - (horizontal_->isVisible() ? horizontal_->sizeHint().height() : 0);
    return {std::max(w, 0), std::max(h, 0)};
}

TableScrollMaxima AspectTableWindow::Maxima() const {
    QSize client = ClientSize();
    return ScrollMaxima(table_, client.width(), client.height(), LineHeight(), CellWidth());
}

void AspectTableWindow::UpdateBars() {
    // Showing one bar narrows the client area for the other: settle twice.
    for (int pass = 0; pass < 2; ++pass) {
        TableScrollMaxima m = Maxima();
        vertical_->setVisible(m.vertical >= 1);
        horizontal_->setVisible(m.horizontal >= 1);
    }
    TableScrollMaxima m = Maxima();
    int barW = vertical_->sizeHint().width(), barH = horizontal_->sizeHint().height();
    vertical_->setGeometry(width() - barW, 0, barW,
                           height() - (horizontal_->isVisible() ? barH : 0));
    horizontal_->setGeometry(0, height() - barH, width() - (vertical_->isVisible() ? barW : 0),
                             barH);
    QSize client = ClientSize();
    QSignalBlocker blockV(vertical_), blockH(horizontal_);
    vertical_->setRange(0, std::max(m.vertical, 0));
    horizontal_->setRange(0, std::max(m.horizontal, 0));
    vertical_->setPageStep(std::max(1, client.height() / LineHeight() - 1));
    horizontal_->setPageStep(std::max(1, client.width() / (3 * CellWidth()) - 1));
    firstRow_ = m.vertical < 1 ? 0 : std::clamp(firstRow_, 0, m.vertical);
    firstColumn_ = m.horizontal < 1 ? 0 : std::clamp(firstColumn_, 0, m.horizontal);
    vertical_->setValue(firstRow_);
    horizontal_->setValue(firstColumn_);
}

void AspectTableWindow::SetPosition(int row, int column) {
    TableScrollMaxima m = Maxima();
    firstRow_ = std::clamp(row, 0, std::max(m.vertical, 0));
    firstColumn_ = std::clamp(column, 0, std::max(m.horizontal, 0));
    QSignalBlocker blockV(vertical_), blockH(horizontal_);
    vertical_->setValue(firstRow_);
    horizontal_->setValue(firstColumn_);
    update();
}

void AspectTableWindow::resizeEvent(QResizeEvent* event) {
    UpdateBars();
    ChildWindow::resizeEvent(event);
}

void AspectTableWindow::keyPressEvent(QKeyEvent* event) {
    QSize client = ClientSize();
    int rowsPage = std::max(1, client.height() / LineHeight() - 1);
    int columnsPage = std::max(1, client.width() / (3 * CellWidth()) - 1);
    switch (event->key()) {
        case Qt::Key_Up:
            SetPosition(firstRow_ - 1, firstColumn_);
            break;
        case Qt::Key_Down:
            SetPosition(firstRow_ + 1, firstColumn_);
            break;
        case Qt::Key_PageUp:
            SetPosition(firstRow_ - rowsPage, firstColumn_);
            break;
        case Qt::Key_PageDown:
            SetPosition(firstRow_ + rowsPage, firstColumn_);
            break;
        case Qt::Key_Left:
            SetPosition(firstRow_, firstColumn_ - 5);
            break;
        case Qt::Key_Right:
            SetPosition(firstRow_, firstColumn_ + 5);
            break;
        case Qt::Key_Home:
            SetPosition(firstRow_, firstColumn_ - columnsPage);
            break;
        case Qt::Key_End:
            SetPosition(firstRow_, firstColumn_ + columnsPage);
            break;
        default:
            ChildWindow::keyPressEvent(event);
            return;
    }
    event->accept();
}

void AspectTableWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintAspectTable(painter, table_, ClientSize(), firstRow_, firstColumn_, gridFont_,
                     coordinateFont_);
}

bool AspectTableWindow::OffersCommand(int id) const {
    if (id == cmd::text::kPrint) return App().printer != nullptr;
    return id == cmd::text::kBinduTable || id == cmd::text::kSave || id == kCmdCopyPicture;
}

void AspectTableWindow::OnCommand(int id) {
    switch (id) {
        case cmd::text::kBinduTable:
            WriteBindhuReport(table_.chartA, table_.maskP);
            break;
        case cmd::text::kPrint:
            Print();
            break;
        case cmd::text::kSave: {
            QString name = Chooser()(this);
            if (name.isEmpty()) return;
            if (!SaveTo(name.toStdString()))
                Svc().Warning(Format("Не записывается файл %s"_cp, ToAnsi(name).c_str()));
            break;
        }
        default:  // the picture is not copied from here
            break;
    }
}

bool AspectTableWindow::SaveTo(const std::string& path) const {
    return WriteFileAtomically(path, AnsiToUtf8(AspectTableText(table_)));
}

void AspectTableWindow::SetSaveNameChooser(SaveNameChooser chooser) {
    Chooser() = std::move(chooser);
}

bool AspectTableWindow::Print() {
    QPrinter* printer = App().printer.get();
    if (!printer) return false;
    std::string title = AnsiToUtf8("Аспекты"_cp);
    QPainter painter;
    if (!StartPrinting(painter, *printer, this, title, title)) return false;
    printing = true;
    // The cell unit that makes n + 2 cells fill the page width: the screen fonts drawn
    // to that scale.
    std::vector<int> points = table_.Points();
    double logicalWidth = (points.size() + 2) * 3.0 * CellWidth();
    double scale = printer->width() / logicalWidth;
    painter.scale(scale, scale);
    QSize page(static_cast<int>(logicalWidth), static_cast<int>(printer->height() / scale));
    int lh = LineHeight();
    int perPage = std::max(1, page.height() / lh - 1);
    for (int first = 0; first < LineCount(table_); first += perPage) {
        if (first > 0) printer->newPage();
        PaintHeader(painter, points, page.width(), 0, gridFont_);
        int y = lh;
        for (int line = first; line < std::min(first + perPage, LineCount(table_)); ++line, y += lh)
            PaintLine(painter, table_, points, line, y, page.width(), 0, gridFont_,
                      coordinateFont_);
    }
    printing = false;
    return painter.end();
}

}  // namespace orbeta
