// The pieces under the windows: message boxes as the user sees them, the platform's file
// dialog set up from a command's filter list, and a caption fitted to its label.
#include "caption_fit.h"
#include "file_dialog.h"
#include "message_box_sink.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

using namespace morvane;
using namespace morvane::test;

class DesktopHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxShowsTheMessage_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("answer");
        QTest::newRow("data error")
            << MessageButtons::Ok << int(QMessageBox::Ok) << int(MessageAnswer::Ok);
        QTest::newRow("question answered No")
            << MessageButtons::YesNo << int(QMessageBox::No) << int(MessageAnswer::No);
        QTest::newRow("question answered Yes")
            << MessageButtons::YesNo << int(QMessageBox::Yes) << int(MessageAnswer::Yes);
        QTest::newRow("save question answered Save")
            << MessageButtons::SaveDiscardCancel << int(QMessageBox::Save)
            << int(MessageAnswer::Save);
        QTest::newRow("save question cancelled")
            << MessageButtons::SaveDiscardCancel << int(QMessageBox::Cancel)
            << int(MessageAnswer::Cancel);
    }
    void messageBoxShowsTheMessage() {
        QFETCH(MessageButtons, buttons);
        QFETCH(int, pressed);
        const bool question = buttons != MessageButtons::Ok;
        const Message message = question ? Message{"", "Sure?", MessageIcon::Question, buttons}
                                         : DataErrorMessage("Data type mis-match error");
        QString shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            shown = box->windowTitle() + ": " + box->text();
            icon = box->icon();
            // The busy pointer of a run is lifted while the user reads the box.
            if (QGuiApplication::overrideCursor())
                shown += " (busy)";
            box->button(QMessageBox::StandardButton(pressed))->click();
        });
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QTEST(int(MessageBoxSink().show(message)), "answer");
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(shown, question ? "TIRONEX 3.1: Sure?" : "Data Error: Data type mis-match error");
        QCOMPARE(icon, question ? QMessageBox::Question : QMessageBox::Critical);
    }

    void platformDialogIsSetUpFromTheRequest() {
        const QString filter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
        const FileDialogRequest request{
            FileDialogKind::Save, filter, "Save Data As...", "run5", 2, "txt"};
        QStringList shown;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            // "*.*" would hide the files without an extension.
            shown = dialog->nameFilters();
            shown << dialog->windowTitle() << dialog->defaultSuffix()
                  << dialog->directory().absolutePath();
            if (dialog->acceptMode() == QFileDialog::AcceptSave &&
                !dialog->testOption(QFileDialog::DontConfirmOverwrite))
                shown << "asks before replacing";
            dialog->reject();
        });
        QtFileDialogBackend dialogs; // it starts in the folder of the last file
        dialogs.rememberFolderOf(QDir::tempPath() + "/data.txt");
        QCOMPARE(dialogs.choose(request, nullptr), std::nullopt);
        QCOMPARE(shown, (QStringList{"All Files (*)", "Text Files (*.txt)", "Save Data As...",
                                     "txt", QDir::tempPath(), "asks before replacing"}));
    }

    // A caption exactly as wide and as high as its label keeps its font, on one line, also after
    // it was wrapped in a narrower label.
    void captionThatJustFitsStaysAsItIs() {
        QLabel label("Upper INR limit");
        const QFontMetrics metrics(label.font());
        label.setGeometry(10, 10, metrics.horizontalAdvance("Upper INR"),
                          3 * metrics.lineSpacing());
        FitLabel(&label, 0);
        QVERIFY(label.wordWrap());
        label.setGeometry(10, 10, metrics.horizontalAdvance(label.text()), metrics.height());
        FitLabel(&label, label.geometry().right() + 1);
        QCOMPARE(label.font(), QApplication::font());
        QVERIFY(!label.wordWrap());
    }
};

QTEST_MAIN(DesktopHelpersTest)
#include "desktop_helpers_test.moc"
