#include "gui/notepad_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStringDecoder>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {

namespace {

constexpr size_t kLargestFile = 16u << 20;

NotepadWindow::FileChooser& Chooser() {
    static NotepadWindow::FileChooser chooser = [](QWidget* parent, const QString& caption,
                                                   bool save) {
        QString previous = QDir::currentPath();
        QString filter = FromAnsi("Текстовые (*.txt);;Все файлы (*)"_cp);
        QString name = save ? QFileDialog::getSaveFileName(parent, caption, QString(), filter)
                            : QFileDialog::getOpenFileName(parent, caption, QString(), filter);
        QDir::setCurrent(previous);
        return name;
    };
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = chooser] { chooser = initial; }};
    return chooser;
}

std::string LocalPath(const QString& name) {
    return name.toLocal8Bit().toStdString();
}

// File names are the platform's (UTF-8); messages are CP1251.
std::string AnsiPath(const std::string& path) {
    return ToAnsi(QString::fromLocal8Bit(path.c_str()));
}

bool IsUtf8(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(QByteArrayView(bytes.data(), bytes.size()));
    return !decoder.hasError();
}

}  // namespace

void NotepadWindow::SetFileChooser(FileChooser chooser) {
    Chooser() = std::move(chooser);
}

QString NotepadWindow::ChooseFile(QWidget* parent, const QString& caption, bool save) {
    return Chooser()(parent, caption, save);
}

NotepadWindow::NotepadWindow(QWidget* parent) : ChildWindow("", "", parent) {
    editor_ = new QPlainTextEdit(this);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    editor_->setFont(mono);
    menuBar_ = new QMenuBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(editor_);
    setFocusProxy(editor_);
    BuildMenu();
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            [this] { UpdateTitle(); });
    resize(640, 480);
}

void NotepadWindow::BuildMenu() {
    QMenu* file = menuBar_->addMenu("&File");
    file->addAction("&New", this, [this] {
        if (!MaySwitchText()) return;
        editor_->clear();
        editor_->document()->setModified(false);
        path_.clear();
        UpdateTitle();
    });
    file->addAction("&Open...", this, [this] {
        if (!MaySwitchText()) return;
        QString name = ChooseFile(this, FromAnsi("Открытие файла"_cp), false);
        if (!name.isEmpty() && !Load(LocalPath(name)))
            Svc().Warning(
                Format("Файл %s не открывается\nВозможно, слишком велик"_cp, ToAnsi(name).c_str()));
    });
    file->addAction("&Save", this, [this] { Save(); });
    file->addAction("Save &As...", this, [this] {
        QString name = ChooseFile(this, FromAnsi("Введи имя файла"_cp), true);
        if (!name.isEmpty()) Save(LocalPath(name));
    });
    file->addSeparator();
    // Exit closes the frame's window around the notepad, not only the notepad in it.
    file->addAction("E&xit", this, [this] {
        auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (sub)
            sub->close();
        else
            close();
    });

    QMenu* edit = menuBar_->addMenu("&Edit");
    edit->addAction("&Undo", QKeySequence::Undo, editor_, &QPlainTextEdit::undo);
    edit->addSeparator();
    edit->addAction("Cu&t", QKeySequence::Cut, editor_, &QPlainTextEdit::cut);
    edit->addAction("&Copy", QKeySequence::Copy, editor_, &QPlainTextEdit::copy);
    edit->addAction("&Paste", QKeySequence::Paste, editor_, &QPlainTextEdit::paste);
    edit->addAction("&Delete", QKeySequence::Delete, this,
                    [this] { editor_->textCursor().removeSelectedText(); });
    edit->addSeparator();
    edit->addAction("C&lear All", this, [this] {
        editor_->selectAll();
        editor_->textCursor().removeSelectedText();
    });

    QMenu* search = menuBar_->addMenu("&Search");
    search->addAction("&Find...", QKeySequence::Find, this, [this] { Find(true); });
    search->addAction("&Replace...", QKeySequence::Replace, this, [this] { Replace(); });
    search->addAction("&Next", QKeySequence::FindNext, this, [this] { Find(false); });
}

bool NotepadWindow::Load(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes || bytes->size() > kLargestFile) return false;
    // Files the program wrote for other programs are UTF-8, its own texts CP1251.
    utf8_ = !keepAnsi_ && IsUtf8(*bytes);
    editor_->setPlainText(utf8_ ? QString::fromUtf8(*bytes) : FromAnsi(*bytes));
    editor_->document()->setModified(false);
    path_ = path;
    UpdateTitle();
    return true;
}

bool NotepadWindow::Save(const std::string& path) {
    std::string target = path.empty() ? path_ : path;
    if (target.empty()) {
        QString name = ChooseFile(this, FromAnsi("Введи имя файла"_cp), true);
        if (name.isEmpty()) return false;
        target = LocalPath(name);
    }
    QString text = editor_->toPlainText();
    std::string bytes = utf8_ ? text.toUtf8().toStdString() : ToAnsi(text);
    if (!WriteFileAtomically(target, bytes)) {
        Svc().Warning(Format("Не записывается файл %s"_cp, AnsiPath(target).c_str()));
        return false;
    }
    path_ = target;
    editor_->document()->setModified(false);
    UpdateTitle();
    return true;
}

bool NotepadWindow::MaySwitchText() {
    if (!editor_->document()->isModified()) return true;
    auto answer = ShowMessageBox(
        this, QMessageBox::Question, "Orbeta",
        Format("Файл %s был изменен.\n\nСохранить изменения?"_cp, AnsiPath(path_).c_str()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    return answer == QMessageBox::No || Save();
}

void NotepadWindow::closeEvent(QCloseEvent* event) {
    if (MaySwitchText())
        event->accept();
    else
        event->ignore();
}

void NotepadWindow::UpdateTitle() {
    QString title = FromAnsi(Format("Редактирование %s"_cp, AnsiPath(path_).c_str()));
    if (editor_->document()->isModified()) title += " *";
    setWindowTitle(title);
}

void NotepadWindow::Find(bool ask) {
    if (ask || searched_.isEmpty()) {
        bool ok = false;
        QString text = QInputDialog::getText(this, "Find", FromAnsi("Найти:"_cp), QLineEdit::Normal,
                                             searched_, &ok);
        if (!ok || text.isEmpty()) return;
        searched_ = text;
    }
    if (!editor_->find(searched_)) {
        // From the top again once the end is reached.
        editor_->moveCursor(QTextCursor::Start);
        editor_->find(searched_);
    }
}

void NotepadWindow::Replace() {
    bool ok = false;
    QString what = QInputDialog::getText(this, "Replace", FromAnsi("Найти:"_cp), QLineEdit::Normal,
                                         searched_, &ok);
    if (!ok || what.isEmpty()) return;
    QString with = QInputDialog::getText(this, "Replace", FromAnsi("Заменить на:"_cp),
                                         QLineEdit::Normal, QString(), &ok);
    if (!ok) return;
    searched_ = what;
    editor_->moveCursor(QTextCursor::Start);
    QTextCursor group = editor_->textCursor();
    group.beginEditBlock();
    while (editor_->find(what)) editor_->textCursor().insertText(with);
    group.endEditBlock();
}

NotepadWindow* OpenNotepad(const std::string& path) {
    auto* window = new NotepadWindow;
    if (!window->Load(path)) {
        delete window;
        Svc().Warning(
            Format("Файл %s не открывается\nВозможно, слишком велик"_cp, AnsiPath(path).c_str()));
        return nullptr;
    }
    window->ShowInFrame(window->windowTitle());
    window->Editor()->setFocus();
    return window;
}

void RunNotepad(QWidget* parent) {
    QString name = NotepadWindow::ChooseFile(parent, FromAnsi("Открытие файла"_cp), false);
    if (!name.isEmpty()) OpenNotepad(LocalPath(name));
}

}  // namespace orbeta
