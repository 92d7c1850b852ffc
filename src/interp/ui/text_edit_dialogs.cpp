#include "interp/ui/text_edit_dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app_state.h"
#include "gui/notepad_window.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

constexpr int kCmdEdit = 3001;
constexpr const char* kEditFile = "p.tmp";

// The editor of p.tmp: one block is edited at a time, whichever dialog opened it.
QPointer<NotepadWindow>& OpenEditor() {
    static QPointer<NotepadWindow> editor;
    return editor;
}

// The UI text with its "%s" replaced by a value.
std::string WithValue(std::string text, const std::string& value) {
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

QComboBox* AddCombo(QGridLayout* grid, int row, QLabel* label, const char* name) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setMinimumContentsLength(24);
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);
    label->setBuddy(combo);
    return combo;
}

}  // namespace

TextBaseChoiceDialog::TextBaseChoiceDialog(QWidget* parent) : Dial(parent, 1077, "RedCsr", false) {
    setWindowTitle(FromAnsi("Выбор текста"_cp));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    bases_ = AddCombo(grid, 0, new QLabel(FromAnsi("Блок редактируемых текстов"_cp)), "101");
    for (const auto& entry : SplitListText(LookupText("CSR"))) {
        size_t bracket = entry.find('[');
        if (bracket == std::string::npos) continue;
        bases_->addItem(FromAnsi(MenuLabel(entry)));
        std::string name = entry.substr(bracket + 1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
        sources_.push_back(name);
    }
    layout->addLayout(grid);
    layout->addLayout(StandardButtons());
}

std::string TextBaseChoiceDialog::ChosenSource() const {
    int i = bases_->currentIndex();
    return i >= 0 && i < static_cast<int>(sources_.size()) ? sources_[i] : std::string();
}

TextChoiceDialog::TextChoiceDialog(QWidget* parent, EditDescription description)
    : Dial(parent, 1078, "RedCsr2", false), description_(std::move(description)) {
    setWindowTitle(FromAnsi("Выбор конкретного текста"_cp));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    kinds_ = AddCombo(grid, 0, new QLabel(FromAnsi("Вид текстов"_cp)), "101");
    for (int i = 0; i < 3; ++i) {
        captions_[i] = new QLabel;
        lists_[i] = AddCombo(grid, i + 1, captions_[i], std::to_string(102 + i).c_str());
    }
    for (const auto& kind : description_.kinds) kinds_->addItem(FromAnsi(OemToAnsi(kind.label)));
    connect(kinds_, &QComboBox::currentIndexChanged, this, &TextChoiceDialog::ShowKind);
    layout->addLayout(grid);
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* edit = AddButton(row, kCmdEdit, "Редактировать"_cp);
    edit->setDefault(true);
    connect(edit, &QPushButton::clicked, this, &TextChoiceDialog::EditChosen);
    connect(AddButton(row, 2, "Закрыть"_cp), &QPushButton::clicked, this, &QDialog::reject);
    connect(AddButton(row, kCmdHelp, "Помощь"_cp), &QPushButton::clicked, this,
            [this] { OpenHelp(HelpKey()); });
    layout->addLayout(row);
    ShowKind(kinds_->currentIndex());
}

TextChoiceDialog::~TextChoiceDialog() {
    // An edit still open goes on; its window finishes it when it closes.
    if (editor_) disconnect(editor_, nullptr, this, nullptr);
    if (editor_ && session_) {
        auto session = std::shared_ptr<EditSession>(std::move(session_));
        QObject::connect(editor_, &QObject::destroyed, [session] {
            std::string message;
            if (FinishEdit(*session, message) == EditEnd::Kept) Svc().Warning(message);
        });
    }
}

void TextChoiceDialog::ShowKind(int index) {
    const CtlLine* kind = index >= 0 && index < static_cast<int>(description_.kinds.size())
                              ? &description_.kinds[index]
                              : nullptr;
    for (size_t i = 0; i < 3; ++i) {
        bool shown = kind && i < kind->lists.size();
        captions_[i]->setVisible(shown);
        lists_[i]->setVisible(shown);
        lists_[i]->clear();
        entries_[i].clear();
        if (!shown) continue;
        captions_[i]->setText(FromAnsi(LookupText("z" + kind->lists[i])));
        entries_[i] = SplitListText(LookupText(kind->lists[i]));
        for (const auto& entry : entries_[i]) lists_[i]->addItem(FromAnsi(entry));
    }
}

std::string TextChoiceDialog::ChosenKey() const {
    int index = kinds_->currentIndex();
    if (index < 0 || index >= static_cast<int>(description_.kinds.size())) return {};
    const CtlLine& kind = description_.kinds[index];
    std::vector<int> values;
    for (size_t i = 0; i < kind.lists.size() && i < 3; ++i) {
        int position = lists_[i]->currentIndex();
        std::string entry = position >= 0 && position < static_cast<int>(entries_[i].size())
                                ? entries_[i][position]
                                : std::string();
        values.push_back(ChoiceValue(kind.lists[i], position, entry));
    }
    return FormatKey(kind.format, values);
}

void TextChoiceDialog::EditChosen() {
    if (NotepadWindow* open = OpenEditor()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) {
            sub->raise();
            sub->setFocus();
        }
        open->raise();
        return;
    }
    std::string key = ChosenKey();
    if (key.empty() || description_.sources.empty()) return;
    auto session = std::make_unique<EditSession>();
    std::string error;
    EditStart start = StartEdit(description_.sources, key, kEditFile, *session, error);
    if (start == EditStart::NoSuchKey) {
        if (!Svc().AskYesNo("Orbeta", WithValue(LookupText("FnoI"), key))) return;
        if (!AppendKeyLine(description_.sources.front(), key)) {
            Svc().Warning(Format("Не записывается файл %s"_cp,
                                 PathForMessage(description_.sources.front()).c_str()));
            return;
        }
        start = StartEdit(description_.sources, key, kEditFile, *session, error);
    }
    if (start != EditStart::Opened) {
        if (!error.empty()) Svc().Warning(error);
        return;
    }
    auto* window = new NotepadWindow;
    window->KeepCp1251();
    if (!window->Load(kEditFile)) {
        delete window;
        Svc().Warning(Format("Не открывается файл %s"_cp, kEditFile));
        return;
    }
    session_ = std::move(session);
    editor_ = window;
    OpenEditor() = window;
    connect(window, &QObject::destroyed, this, &TextChoiceDialog::EditorClosed);
    window->ShowInFrame(window->windowTitle());
    window->Editor()->setFocus();
}

void TextChoiceDialog::EditorClosed() {
    editor_ = nullptr;
    if (!session_) return;
    std::string message;
    EditEnd end = FinishEdit(*session_, message);
    session_.reset();
    if (end == EditEnd::Kept) Svc().Warning(message);
}

void RunTextEditing(QWidget* parent) {
    TextBaseChoiceDialog choice(parent);
    if (choice.exec() != QDialog::Accepted) return;
    std::string csr = choice.ChosenSource();
    EditDescription description;
    if (csr.empty() || !ReadEditDescription(PathOfProfileName(csr), description)) {
        Svc().Warning(Format("Не открывается файл %s"_cp, csr.c_str()));
        return;
    }
    // Modeless: it goes with the frame when the program ends.
    QWidget* owner = parent;
    if (!owner && App().frame) owner = App().frame.data();
    auto* dialog = new TextChoiceDialog(owner, std::move(description));
    dialog->show();
}

}  // namespace orbeta
