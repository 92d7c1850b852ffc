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

namespace orbeta {

void ChooseExternalEditor() {
    QString previous = QDir::currentPath();
    // Programs here have no ".exe": the filter offers every file.
    QString name = QFileDialog::getOpenFileName(
        App().client.data(), FromAnsi("Установка внешнего редактора"_cp),
        QString::fromLocal8Bit(App().settings.namRed.c_str()), FromAnsi("Выполняемые (*)"_cp));
    QDir::setCurrent(previous);
    if (!name.isEmpty()) App().settings.namRed = name.toLocal8Bit().toStdString();
}

void InstallTextWindows(QtServices& services) {
    services.SetReportViewer(
        [](const std::string& path, const std::string& title, const std::string& helpKey,
           const ReportOrigin& origin) { TextWindow::Show(path, title, helpKey, origin); });
    Dial::SetHelpOpener([](const std::string& key) { HelpWindow::Open(key); });
}

}  // namespace orbeta
