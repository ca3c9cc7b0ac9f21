// The pieces under the windows: message boxes as the user sees them and the platform's file
// dialog set up from a command's filter list.
#include "file_dialog.h"
#include "message_box_sink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace morvane;

Q_DECLARE_METATYPE(morvane::Message)
Q_DECLARE_METATYPE(morvane::MessageAnswer)

namespace {

// Runs `inspect` on the modal window that opens next, while it is open.
template <typename Window> void whenShown(std::function<void(Window*)> inspect) {
    QTimer::singleShot(0, qApp, [inspect] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        QVERIFY2(window, "no modal window of the expected kind is open");
        inspect(window);
    });
}

} // namespace

class DesktopHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxShowsTheMessage_data() {
        QTest::addColumn<Message>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<MessageAnswer>("answer");
        const Message question{"", "Sure?", MessageIcon::Question, MessageButtons::YesNo};
        const int yesNo = QMessageBox::Yes | QMessageBox::No;
        QTest::newRow("data error") << DataErrorMessage("Data type mis-match error") << "Data Error"
                                    << int(QMessageBox::Critical) << int(QMessageBox::Ok)
                                    << int(QMessageBox::Ok) << MessageAnswer::Ok;
        QTest::newRow("question without a title, answered No")
            << question << "TIRONEX 3.1" << int(QMessageBox::Question) << yesNo
            << int(QMessageBox::No) << MessageAnswer::No;
        QTest::newRow("question answered Yes")
            << question << "TIRONEX 3.1" << int(QMessageBox::Question) << yesNo
            << int(QMessageBox::Yes) << MessageAnswer::Yes;
    }
    void messageBoxShowsTheMessage() {
        QFETCH(Message, message);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, pressed);
        QFETCH(MessageAnswer, answer);
        bool inspected = false;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            inspected = true;
            QAbstractButton* toPress = box->button(QMessageBox::StandardButton(pressed));
            // The box closes even when a check fails, so that the test goes on.
            const auto press = qScopeGuard([&] { toPress ? toPress->click() : box->done(0); });
            QVERIFY(toPress);
            QCOMPARE(box->windowTitle(), title);
            QCOMPARE(box->text(), QString::fromStdString(message.text));
            QCOMPARE(int(box->icon()), icon);
            QCOMPARE(int(box->standardButtons()), buttons);
            // The busy pointer of a run is lifted while the user reads the box.
            QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        });
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        MessageBoxSink sink;
        const MessageAnswer given = sink.show(message);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(inspected);
        QCOMPARE(given, answer);
    }

    void platformDialogIsSetUpFromTheRequest() {
        QTemporaryDir folder;
        const FileDialogRequest request{FileDialogKind::Save,
                                        "All Files (*.*)|*.*|Text Files (*.txt)|*.txt",
                                        "Save Data As...",
                                        "run5",
                                        2,
                                        "txt"};
        QtFileDialogBackend dialogs;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Save Data As..."));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            // "*.*" would hide the files without an extension.
            QCOMPARE(dialog->nameFilters(), (QStringList{"All Files (*)", "Text Files (*.txt)"}));
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->reject();
        });
        QCOMPARE(dialogs.choose(request, nullptr), std::nullopt);
        const QString chosen = folder.filePath(QStringLiteral("chosen.txt"));
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(dialogs.choose(request, nullptr), std::optional<QString>(chosen));
    }
};

QTEST_MAIN(DesktopHelpersTest)
#include "desktop_helpers_test.moc"
