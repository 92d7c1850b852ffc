#include "shell/text_commands.h"

#include <QDir>
#include <QFileDialog>
#include <QMdiArea>

#include "gui/app_state.h"
#include "gui/dial.h"
#include "gui/help_window.h"
#include "gui/qt_services.h"
#include "gui/qt_text.h"
#include "gui/text_window.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {

void ChooseExternalEditor() {
    QString previous = QDir::currentPath();
    // Programs here have no ".exe": the filter offers every file.
    std::u8string current = PathOfProfileName(App().settings.namRed).u8string();
    QString name = QFileDialog::getOpenFileName(
        App().client.data(), FromAnsi("Установка внешнего редактора"_cp),
        QString::fromUtf8(reinterpret_cast<const char*>(current.c_str())),
        FromAnsi("Выполняемые (*)"_cp));
    QDir::setCurrent(previous);
    if (name.isEmpty()) return;
    QByteArray utf8 = name.toUtf8();
    std::filesystem::path path(std::u8string(utf8.begin(), utf8.end()));
    // The profile keeps the name in its own code page; one it cannot hold is refused.
    if (auto profileName = ProfileNameOfPath(path))
        App().settings.namRed = *profileName;
    else
        Svc().Warning(Format("Имя %s содержит знаки, которые профиль не хранит"_cp,
                             PathForMessage(path).c_str()));
}

void InstallTextWindows(QtServices& services) {
    services.SetReportViewer(
        [](const std::string& path, const std::string& title, const std::string& helpKey,
           const ReportOrigin& origin) { TextWindow::Show(path, title, helpKey, origin); });
    Dial::SetHelpOpener([](const std::string& key) { HelpWindow::Open(key); });
}

}  // namespace orbeta
