// The pieces under the windows: message boxes as the user sees them, the platform's file
// dialog set up from a command's filter list, and text pasted from a spreadsheet.
#include "file_dialog.h"
#include "grid_clipboard.h"
#include "message_box_sink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
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
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("data error")
            << DataErrorMessage("Data type mis-match error") << "Data Error"
            << int(QMessageBox::Critical) << QStringList{"OK"} << "OK" << MessageAnswer::Ok;
        QTest::newRow("question without a title, answered No")
            << Message{"", "Sure?", MessageIcon::Question, MessageButtons::YesNo} << "TIRONEX 3.1"
            << int(QMessageBox::Question) << QStringList{"No", "Yes"} << "No" << MessageAnswer::No;
        QTest::newRow("question answered Yes")
            << Message{"", "Sure?", MessageIcon::Question, MessageButtons::YesNo} << "TIRONEX 3.1"
            << int(QMessageBox::Question) << QStringList{"No", "Yes"} << "Yes"
            << MessageAnswer::Yes;
    }
    void messageBoxShowsTheMessage() {
        QFETCH(Message, message);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(QString, pressed);
        QFETCH(MessageAnswer, answer);
        bool inspected = false;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), title);
            QCOMPARE(box->text(), QString::fromStdString(message.text));
            QCOMPARE(int(box->icon()), icon);
            QStringList shown;
            QAbstractButton* toPress = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                const QString text = button->text().remove(QLatin1Char('&'));
                shown << text;
                if (text == pressed)
                    toPress = button;
            }
            shown.sort();
            QCOMPARE(shown, buttons);
            // The busy pointer of a run is lifted while the user reads the box.
            QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
            inspected = true;
            if (!toPress) {
                box->done(0);
                QFAIL("the button to press is missing");
            }
            toPress->click();
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

    void nameFiltersFromTheFilterList_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("data files") << "All Files (*.*)|*.*|Text Files (*.txt)|*.txt"
                                    << QStringList{"All Files (*)", "Text Files (*.txt)"};
        QTest::newRow("bitmaps") << "Bitmaps (*.bmp)|*.bmp" << QStringList{"Bitmaps (*.bmp)"};
        QTest::newRow("description without its pattern")
            << "Data|*.dat;*.txt" << QStringList{"Data (*.dat *.txt)"};
        QTest::newRow("a description without pattern is left out")
            << "Text Files (*.txt)|*.txt|Odd" << QStringList{"Text Files (*.txt)"};
    }
    void nameFiltersFromTheFilterList() {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(NameFiltersFromList(filter), nameFilters);
    }

    void platformDialogIsSetUpFromTheRequest() {
        QTemporaryDir folder;
        const FileDialogRequest request{FileDialogKind::Save,
                                        "Text Files (*.txt)|*.txt",
                                        "Save Results As...",
                                        "run5_results",
                                        2,
                                        "txt"};
        QtFileDialogBackend dialogs;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Save Results As..."));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->nameFilters(), QStringList{"Text Files (*.txt)"});
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

    void pastedTextSplitsIntoRows_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("tabs and CR LF, last line end")
            << "Normal\t12.4\t13\r\nAbnormal\t30\t38.5\r\n"
            << QList<QStringList>{{"Normal", "12.4", "13"}, {"Abnormal", "30", "38.5"}};
        QTest::newRow("commas with blanks")
            << "Normal, 12.4 ,13\nAbnormal,30"
            << QList<QStringList>{{"Normal", "12.4", "13"}, {"Abnormal", "30"}};
        QTest::newRow("tabs win over commas")
            << "RP lot 5, batch A\t12,5" << QList<QStringList>{{"RP lot 5, batch A", "12,5"}};
        QTest::newRow("empty fields stay") << "\t12\n" << QList<QStringList>{{"", "12"}};
    }
    void pastedTextSplitsIntoRows() {
        QFETCH(QString, text);
        QFETCH(QList<QStringList>, rows);
        QCOMPARE(SplitPastedRows(text), rows);
    }
};

QTEST_MAIN(DesktopHelpersTest)
#include "desktop_helpers_test.moc"
