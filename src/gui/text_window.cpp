#include "gui/text_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "chart/make_font.h"
#include "core/chart_compute.h"
#include "core/dated_line.h"
#include "data/settings.h"
#include "gui/app_state.h"
#include "gui/chart_opener.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/text_file.h"
#include "platform/text_view.h"

namespace orbeta {

namespace {

constexpr int kTextPixelSize = 15;  // the table-font size of the screen

TextWindow::ProcessLauncher& Launcher() {
    static TextWindow::ProcessLauncher launcher = [](const QString& program,
                                                     const QStringList& args) {
        QProcess process;
        process.setProgram(program);
        process.setArguments(args);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        return process.startDetached();
    };
    return launcher;
}

TextWindow::SaveNameChooser& SaveChooser() {
    static TextWindow::SaveNameChooser chooser = [](QWidget* parent) {
        QString previous = QDir::currentPath();
        QString name =
            QFileDialog::getSaveFileName(parent, FromAnsi("Введи имя файла"_cp), QString(),
                                         FromAnsi("Текстовые (*.txt);;Все файлы (*)"_cp));
        QDir::setCurrent(previous);
        return name;
    };
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = chooser] { chooser = initial; }};
    return chooser;
}

std::vector<std::string> ReadLines(const std::string& path, bool* opened = nullptr) {
    std::vector<std::string> lines;
    bool ok = ForEachFileLine(path, [&](std::string_view line) { lines.emplace_back(line); });
    if (opened) *opened = ok;
    return lines;
}

QFont TextFont() {
    QFont font(QString::fromStdString(App().settings.monoFont));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(kTextPixelSize);
    return font;
}

}  // namespace

// The client area: paints the visible lines and takes the clicks.
class TextWindow::View : public QWidget {
  public:
    explicit View(TextWindow* owner) : QWidget(owner), owner_(owner) {
        setFocusPolicy(Qt::NoFocus);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        owner_->PaintText(painter, height());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        owner_->setFocus(Qt::MouseFocusReason);
        if (!owner_->TakeClick()) return;
        owner_->ClickAt(static_cast<int>(event->position().y()));
    }

  private:
    TextWindow* owner_;
};

void TextWindow::SetProcessLauncher(ProcessLauncher launcher) {
    Launcher() = std::move(launcher);
}

void TextWindow::SetSaveNameChooser(SaveNameChooser chooser) {
    SaveChooser() = std::move(chooser);
}

TextWindow::TextWindow(const std::string& path, const std::string& helpKey,
                       const ReportOrigin& origin, QWidget* parent)
    : ChildWindow("MTEXT", helpKey, parent), path_(path), origin_(origin) {
    timeCorrection = origin.correction;
    QFont font = TextFont();
    setFont(font);
    QFontMetrics metrics(font);
    lineHeight_ = std::max(1, metrics.height());
    charWidth_ = std::max(1, metrics.averageCharWidth());
    ForEachFileLine(path_, [&](std::string_view line) {
        ++lineCount_;
        widestLine_ = std::max(widestLine_, metrics.horizontalAdvance(FromAnsi(line)));
    });

    view_ = new View(this);
    view_->setFont(font);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : {vertical_, horizontal_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, view_, qOverload<>(&QWidget::update));
    }
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(view_, 0, 0);
    grid->addWidget(vertical_, 0, 1);
    grid->addWidget(horizontal_, 1, 0);
    resize(640, 480);
}

TextWindow::~TextWindow() {
    std::remove(path_.c_str());
}

TextWindow* TextWindow::Show(const std::string& path, const std::string& title,
                             const std::string& helpKey, const ReportOrigin& origin) {
    auto* window = new TextWindow(path, helpKey, origin);
    window->ShowInFrame(FromAnsi(title));
    return window;
}

void TextWindow::PaintText(QPainter& painter, int height) {
    painter.setPen(Qt::black);
    int first = vertical_->value();
    int last = first + height / lineHeight_ + 1;
    int x = -horizontal_->value() * charWidth_;
    int ascent = QFontMetrics(font()).ascent();
    int index = 0;
    // A file that cannot be opened shows an empty window.
    ForEachFileLine(path_, [&](std::string_view line) {
        if (index >= first && index <= last)
            painter.drawText(x, (index - first) * lineHeight_ + ascent, FromAnsi(line));
        ++index;
    });
}

void TextWindow::UpdateScrollRanges() {
    QSize screen = QGuiApplication::primaryScreen()->size();
    QSize client = view_->size();
    horizontal_->setRange(0,
                          ScrollRange(screen.width(), widestLine_, client.width(), 3, charWidth_));
    vertical_->setRange(0, ScrollRange(screen.height(), lineCount_ * lineHeight_ + 1,
                                       client.height(), 2, lineHeight_));
    vertical_->setPageStep(std::max(1, client.height() / lineHeight_));
    horizontal_->setPageStep(std::max(1, client.width() / charWidth_));
}

void TextWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    UpdateScrollRanges();
}

void TextWindow::keyPressEvent(QKeyEvent* event) {
    int page = std::max(1, view_->height() / lineHeight_);
    switch (event->key()) {
        case Qt::Key_Left:
            horizontal_->setValue(horizontal_->value() - 1);
            break;
        case Qt::Key_Right:
            horizontal_->setValue(horizontal_->value() + 1);
            break;
        case Qt::Key_Up:
            vertical_->setValue(vertical_->value() - 1);
            break;
        case Qt::Key_Down:
            vertical_->setValue(vertical_->value() + 1);
            break;
        case Qt::Key_PageUp:
            vertical_->setValue(vertical_->value() - page);
            break;
        case Qt::Key_PageDown:
            vertical_->setValue(vertical_->value() + page);
            break;
        case Qt::Key_Home:
            horizontal_->setValue(0);
            vertical_->setValue(0);
            break;
        case Qt::Key_End:
            // The last line at the bottom of the window, not scrolled out of sight.
            horizontal_->setValue(0);
            vertical_->setValue(std::max(0, lineCount_ - page));
            break;
        default:
            ChildWindow::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TextWindow::ClickAt(int y) {
    int index = y / lineHeight_ + vertical_->value();
    if (index < 0 || index >= lineCount_) return;
    std::string text;
    int at = 0;
    ForEachFileLine(path_, [&](std::string_view line) {
        if (at++ == index) text = std::string(line);
    });
    std::optional<LineMoment> moment = MomentOfLine(text);
    if (!moment) return;
    const ChartRecord& current = App().currentChart;
    ChartRecord chart = ChartOfDatedLine(*moment, timeCorrection, origin_, current);
    Computation c(ProfileContext());
    ComputeChart(c, chart, current, kNatal);
    TellDiagnostics(c.diagnostics);
    OpenChart(chart, moment->text);
}

bool TextWindow::SaveTo(const std::string& path) const {
    bool opened = false;
    std::vector<std::string> lines = ReadLines(path_, &opened);
    return opened && WriteFileAtomically(path, SavedText(lines));
}

void TextWindow::OpenInEditor() {
    const std::string& editor = App().settings.namRed;
    if (editor.empty()) {
        Svc().Warning(
            "Внешний редактор не установлен\n(Конфигурация - Установка внешнего редактора)"_cp);
        return;
    }
    bool opened = false;
    std::vector<std::string> lines = ReadLines(path_, &opened);
    if (!opened) return;
    std::string output = EditorFilePath(path_);
    if (!WriteFileAtomically(output, EditorText(lines, IsWordProcessor(editor)))) return;
    QString file = QDir::current().absoluteFilePath(QString::fromUtf8(output.c_str()));
    std::u8string program = PathOfProfileName(editor).u8string();
    if (!Launcher()(QString::fromUtf8(reinterpret_cast<const char*>(program.c_str())), {file}))
        Svc().Warning(Format("Не запускается редактор %s"_cp, editor.c_str()));
}

void TextWindow::Print() {
    QPrinter* printer = App().printer.get();
    if (!printer) return;
    std::string title = windowTitle().toStdString();
    PrepareToPrint(*printer, title, title);
    if (App().settings.Option(kOptPrintDialog)) {
        QPrintDialog dialog(printer, this);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    PrintTextFile(*printer, path_, App().settings.monoFont);
}

void TextWindow::OnCommand(int id) {
    switch (id) {
        case kCmdExternalEditor:
            OpenInEditor();
            break;
        case kCmdPrintText:
            Print();
            break;
        case kCmdSaveText: {
            QString name = SaveChooser()(this);
            if (name.isEmpty()) return;
            if (!SaveTo(name.toLocal8Bit().toStdString()))
                Svc().Warning(Format("Не записывается файл %s"_cp, ToAnsi(name).c_str()));
            break;
        }
        case kCmdCopyText:
            QApplication::clipboard()->setText(QString::fromUtf8(ClipboardText(ReadLines(path_))));
            break;
        default:
            ChildWindow::OnCommand(id);
    }
}

int PrintTextFile(QPrinter& printer, const std::string& path, const std::string& face) {
    bool opened = false;
    std::vector<std::string> lines = ReadLines(path, &opened);
    if (!opened) return 0;
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    PrintPage page = PrintPageGeometry(printer.height(), printer.width());
    std::optional<QFont> font = MakeFont(face, page.lineHeight, page.charWidth);
    if (font) painter.setFont(*font);
    painter.setPen(Qt::black);
    int ascent = painter.fontMetrics().ascent();
    int pages = 1;
    int row = 0;
    for (const auto& line : lines) {
        if (row == page.linesPerPage) {
            printer.newPage();
            ++pages;
            row = 0;
        }
        painter.drawText(page.left, row * page.lineHeight + ascent, FromAnsi(line));
        ++row;
    }
    painter.end();
    return pages;
}

}  // namespace orbeta
