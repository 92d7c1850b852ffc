// Command 314: a base chosen in dialog 1077, a kind and its values in dialog 1078,
// the block edited in the notepad window; the report then prints the new text. A key
// no source names is created on request.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "dialog_test_support.h"
#include "gui/app_state.h"
#include "interp/text_base.h"
#include "interp/text_report.h"
#include "interp/ui/text_edit_dialogs.h"
#include "platform/codepage.h"
#include "platform/ui_text.h"
#include "shell_test_support.h"
#include "test_classes.h"

namespace orbeta::test {

namespace {

TextChoiceDialog* OpenChoice() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<TextChoiceDialog*>(w)) return d;
    return nullptr;
}

QString Printed(const char* key) {
    FindText(key);
    return QString::fromUtf8(AnsiToUtf8(PrintBlock(FoundTextLines()).text));
}

// File / Exit of the notepad: its frame window goes with it.
void CloseEditor(TextChoiceDialog* dialog) {
    dialog->Editor()->Save();
    for (QAction* a : dialog->Editor()->findChildren<QAction*>())
        if (a->text() == "E&xit") a->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TextEditTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { ResetProgramState(); }

    void editedBlockIsPrintedAndMissingKeyCreated() {
        TestWorkspace ws;
        UseQtServices qt;
        QMdiArea client;
        App().client = &client;
        ws.Write("natal.csr", Utf8ToOem("@@ CTL\n=Планета в знаке $ p%02dz%02d PLAN ZOD\n@@\n"
                                        "@p01z01\nСтарый текст.\n@p01z01\nПоследний.\n@@\n"));
        LoadUiTexts("orbtw.t");
        QString title, firstBase;
        WhenDialogOpens([&](QDialog* d) {
            title = d->windowTitle();
            auto* bases = d->findChild<QComboBox*>("101");
            firstBase = bases->itemText(0);
            bases->setCurrentIndex(0);
            Click(d, "1");
        });
        RunTextEditing(nullptr);
        QCOMPARE(title, QString("Выбор текста"));
        QCOMPARE(firstBase, QString("Натальная карта"));
        TextChoiceDialog* dialog = OpenChoice();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Выбор конкретного текста"));
        QCOMPARE(dialog->findChild<QComboBox*>("101")->currentText(), QString("Планета в знаке"));
        QCOMPARE(dialog->findChild<QComboBox*>("103")->itemText(11), QString("Рыбы"));
        QCOMPARE(dialog->ChosenKey(), std::string("p01z01"));

        Click(dialog, "3001");
        QVERIFY(dialog->Editor());
        // The last block of the key, the one reports print.
        QCOMPARE(dialog->Editor()->Editor()->toPlainText(), QString("@p01z01\nПоследний.\n"));
        Click(dialog, "3001");  // only raises the open editor
        QCOMPARE(client.subWindowList().size(), 1);
        dialog->Editor()->Editor()->setPlainText("@p01z01\nНовый — текст.\n");
        CloseEditor(dialog);
        QVERIFY(!dialog->Editor());
        QVERIFY(client.subWindowList().isEmpty());
        QVERIFY(!QFile::exists("p.tmp"));
        QVERIFY(OpenTextBase("natal"));
        QCOMPARE(Printed("p01z01"), QString("Новый - текст.\n\n"));
        CloseTextBase();

        // A key no source names: the question, then its new block.
        BoxAnswerer boxes({QMessageBox::Yes});
        dialog->findChild<QComboBox*>("103")->setCurrentIndex(1);
        Click(dialog, "3001");
        QCOMPARE(boxes.seen.size(), size_t(1));
        QCOMPARE(boxes.seen[0].title, QString("Orbeta"));
        QCOMPARE(boxes.seen[0].text, QString("Текста с ключом p01z02 нет. Создать его?"));
        QVERIFY(dialog->Editor());
        QCOMPARE(dialog->Editor()->Editor()->toPlainText(), QString("@p01z02\n"));
        dialog->Editor()->Editor()->setPlainText("@p01z02\nСолнце в Тельце.\n");
        CloseEditor(dialog);
        QVERIFY(OpenTextBase("natal"));
        QCOMPARE(Printed("p01z02"), QString("Солнце в Тельце.\n\n"));
        CloseTextBase();
        dialog->close();
    }
};

static RegisterTestClass<TextEditTest> reg("text_edit");

}  // namespace orbeta::test

#include "text_edit_test.moc"
