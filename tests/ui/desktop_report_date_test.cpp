// The desktop report carries the local date and time, whatever SOURCE_DATE_EPOCH says.
#include "editor_window.h"
#include "main_window.h"
#include "results_window.h"

#include <QDateTime>
#include <QPushButton>
#include <QTest>

using namespace morvane;

class DesktopReportDateTest : public QObject {
    Q_OBJECT

private slots:
    void reportShowsTheLocalClock() {
        qputenv("SOURCE_DATE_EPOCH", "86400"); // 1970-01-02 00:00:00 UTC
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        window.openDataFile(QStringLiteral(MORVANE_TEST_DATA_DIR "/ui_calibration.txt"));
        const QDateTime before = QDateTime::currentDateTime();
        QTest::mouseClick(window.editor()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        const QString line = window.results()->reportText().section("\r\n", 4, 4);
        const QString format = "'Date: 'yyyy-MM-dd'" + QString(54, ' ') + "Time: 'HH:mm:ss";
        QVERIFY2(line == before.toString(format) ||
                     line == QDateTime::currentDateTime().toString(format),
                 qPrintable(line));
    }
};

QTEST_MAIN(DesktopReportDateTest)
#include "desktop_report_date_test.moc"
