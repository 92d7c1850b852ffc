#include "data/ui/base_commands.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/chart_base.h"
#include "data/open_base.h"
#include "data/ui/base_dialog.h"
#include "data/ui/input_box.h"
#include "data/ui/town_dialogs.h"
#include "gui/app_state.h"
#include "gui/birth_data_dialog.h"
#include "gui/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/ui_text.h"

namespace orbeta {

namespace {

// The profile keeps the database's stem in its own code page; the store takes it as a
// path (UTF-8).
std::string StemPath(const std::string& profileName) {
    std::u8string path = PathOfProfileName(profileName).u8string();
    return std::string(path.begin(), path.end());
}

std::string CurrentStem() {
    return StemPath(App().settings.basa);
}

// The profile's form of a chosen stem; a name CP1251 cannot hold is refused, never
// written half converted.
std::optional<std::string> ProfileStem(const std::string& utf8) {
    std::filesystem::path path(std::u8string(utf8.begin(), utf8.end()));
    auto name = ProfileNameOfPath(path);
    if (!name)
        Svc().Warning(Format("Имя базы %s содержит знаки, которые профиль не хранит"_cp,
                             PathForMessage(path).c_str()));
    return name;
}

// "NoB%s" with the stem in place of "%s"; the text is data, never a printf format.
void WarnBaseNotOpened(const std::string& stem) {
    if (TellBaseMessages()) return;  // the store said what is wrong
    std::string text = LookupText("NoB%s");
    size_t at = text.find("%s");
    if (at == std::string::npos)
        text += " " + stem;
    else
        text.replace(at, 2, stem);
    Svc().Warning(text);
}

std::optional<std::vector<std::string>> ListCurrentCards() {
    auto lines = ListCards(CurrentStem());
    if (!lines)
        WarnBaseNotOpened(App().settings.basa);
    else
        TellBaseMessages();  // cards that could not be read
    return lines;
}

}  // namespace

void ShowChartBase(QWidget* parent) {
    auto lines = ListCurrentCards();
    if (!lines) return;
    ChartBaseDialog dialog(parent, CurrentStem(), *lines, ChartBaseDialog::Use::Manage);
    dialog.exec();
}

std::optional<ChartRecord> ChooseChartFromBase(QWidget* parent) {
    auto lines = ListCurrentCards();
    if (!lines) return std::nullopt;
    ChartBaseDialog dialog(parent, CurrentStem(), *lines, ChartBaseDialog::Use::Pick);
    int result = dialog.exec();
    DebugJournal(Format("DVvod::FromBasa k=%d", result));
    if (result != QDialog::Accepted || dialog.Chosen() < 0) return std::nullopt;
    auto chart = ChartOfListedCard(CurrentStem(), dialog.Chosen());
    TellBaseMessages(chart ? std::string() : "Карточка не читается из базы данных"_cp);
    return chart;
}

bool StoreChartInBase(QWidget*, const ChartRecord& chart) {
    const std::string& stem = App().settings.basa;
    if (std::string key = StoreChart(CurrentStem(), chart); !key.empty()) {
        Svc().Notice(
            Format("Карта записана в базу данных %s под ключом %s"_cp, stem.c_str(), key.c_str()));
        return true;
    }
    TellBaseMessages(Format("Карта не записана в базу данных %s"_cp, stem.c_str()));
    return false;
}

bool UseChosenBaseFile(const std::string& path) {
    auto stem = StemOfChosenFile(path);
    if (!stem) return false;
    auto name = ProfileStem(*stem);
    if (!name) return true;  // told why; the profile keeps its database
    App().settings.basa = *name;
    return true;
}

BaseFileDialog::BaseFileDialog(QWidget* parent) : Dial(parent, 0, "BasaCh", false) {
    setObjectName("BaseFile");
    setWindowTitle(FromAnsi("Смена базы"_cp));
    files_ =
        new QFileDialog(this, QString(), QDir::currentPath(), FromAnsi("Базы данных (*.bod)"_cp));
    // Shown inside this dialog, under its Help button, rather than as a window.
    files_->setWindowFlags(Qt::Widget);
    files_->setOption(QFileDialog::DontUseNativeDialog);
    files_->setFileMode(QFileDialog::ExistingFile);
    files_->setAcceptMode(QFileDialog::AcceptOpen);
    files_->setLabelText(QFileDialog::LookIn, FromAnsi("Папка:"_cp));
    files_->setLabelText(QFileDialog::FileName, FromAnsi("Имя файла:"_cp));
    files_->setLabelText(QFileDialog::FileType, FromAnsi("Тип файлов:"_cp));
    if (auto* own = files_->findChild<QDialogButtonBox*>()) own->hide();
    connect(files_, &QFileDialog::accepted, this, &QDialog::accept);
    connect(files_, &QFileDialog::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(files_);
    QHBoxLayout* buttons = StandardButtons();
    layout->addLayout(buttons);
    // OK goes through the file dialog: it enters a chosen folder and checks the file.
    auto* ok = findChild<QPushButton*>("1", Qt::FindDirectChildrenOnly);
    disconnect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, [this] { static_cast<QDialog*>(files_)->accept(); });
}

std::string BaseFileDialog::ChosenPath() const {
    QStringList chosen = files_->selectedFiles();
    if (chosen.isEmpty()) return {};
    // A base in the working directory or below is kept by a short relative stem.
    QString path = chosen.first();
    QString relative = QDir::current().relativeFilePath(path);
    if (!relative.startsWith("..")) path = relative;
    return QFile::encodeName(path).toStdString();
}

void ChangeChartBase(QWidget* parent) {
    BaseFileDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return;
    std::string path = dialog.ChosenPath();
    if (!path.empty() && !UseChosenBaseFile(path))
        Svc().Warning(Format("Файл %s не открывается"_cp,
                             PathForMessage(std::u8string(path.begin(), path.end())).c_str()));
}

void CreateNewBase(QWidget* parent) {
    auto name = AskText(parent, "BasaNew", "Создание базы"_cp, LookupText("NewBD"), 40);
    if (!name || name->empty()) return;
    if (name->size() > kMaxStemLength) {
        Svc().Warning(Format("Путь к базе длиннее %zu символов"_cp, kMaxStemLength));
        return;
    }
    // The typed name is a text of the dialog (CP1251); the store takes a path.
    switch (CreateChartBase(StemPath(*name))) {
        case CreateBaseResult::Created:
            App().settings.basa = *name;
            break;
        case CreateBaseResult::Exists:  // warned "bis"
            break;
        case CreateBaseResult::Failed:
            Svc().Warning(Format("База данных %s не создается"_cp, name->c_str()));
            break;
    }
}

void InstallBaseDialogs() {
    BirthDataDialog::SetChartSource(
        [] { return ChooseChartFromBase(QApplication::activeModalWidget()); });
    InstallTownDirectory();
}

}  // namespace orbeta
