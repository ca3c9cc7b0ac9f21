// The desktop program's report carries the real local date and time, whatever
// SOURCE_DATE_EPOCH says: that variable makes only the command-line calibrator reproducible.
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"
#include "results_window.h"

#include <QDateTime>
#include <QPushButton>
#include <QTest>

using namespace morvane;

class DesktopReportDateTest : public QObject {
    Q_OBJECT

private slots:
    void reportShowsTheLocalClockNotSourceDateEpoch() {
        qputenv("SOURCE_DATE_EPOCH", "86400"); // 1970-01-02 00:00:00 UTC
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        window.show();
        window.openDataFile(QStringLiteral(MORVANE_TEST_DATA_DIR "/ui_calibration.txt"));
        const QDateTime before = QDateTime::currentDateTime();
        QTest::mouseClick(window.editor()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        const QDateTime after = QDateTime::currentDateTime();
        QVERIFY(window.results());
        const QString line = window.results()->reportText().section(QStringLiteral("\r\n"), 4, 4);
        auto shows = [&line](const QDateTime& moment) {
            return line.startsWith(moment.toString(QStringLiteral("'Date: 'yyyy-MM-dd"))) &&
                   line.endsWith(moment.toString(QStringLiteral("'Time: 'HH:mm:ss")));
        };
        QVERIFY2(shows(before) || shows(after), qPrintable(line));
    }
};

QTEST_MAIN(DesktopReportDateTest)
#include "desktop_report_date_test.moc"
