// View > Calibration Checks after a run on the worked example with the upper INR limit at 6:
// the design check fails (2 normal and 3 abnormal plasmas), the others pass or need no verdict.
#include "calibration_checks_text.h"
#include "checks_window.h"
#include "editor_window.h"
#include "main_window.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class ChecksWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsEachCheckWithAFailThatStandsOut() {
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        window.show();
        auto* item = window.findChild<QAction*>(QStringLiteral("mnuChecks"));
        QVERIFY(!item->isEnabled());
        window.openDataFile(QStringLiteral(MORVANE_TEST_DATA_DIR "/report_worked_example.txt"));
        EditorFields fields = window.editor()->fields();
        fields.txtUpperINR = "6";
        window.editor()->setFields(fields);
        window.editor()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        item->trigger();
        ChecksWindow* checks = window.checks();
        QVERIFY(checks && checks->isVisible());
        QCOMPARE(checks->windowTitle(), QStringLiteral("Calibration Checks"));
        auto* table = checks->findChild<QTableWidget*>(QStringLiteral("tblChecks"));
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + " | " + table->item(row, 3)->text();
        QCOMPARE(rows, QStringList({"Precision of the slope | Pass", "Design | Fail",
                                    "Exclusions | ", "Model adequacy (Tomenson) | Pass",
                                    "% INR deviation at INR 2.0 and 4.5 | "}));
        QVERIFY(table->item(1, 3)->font().bold());
        QCOMPARE(table->item(1, 3)->background().color(), QColor(192, 0, 0));
        QCOMPARE(checks->findChild<QLabel*>(QStringLiteral("lblOverall"))->text(),
                 QStringLiteral("Calibration does not meet the guideline criteria: Design"));

        QTemporaryDir folder;
        dialogs.answers = {folder.filePath(QStringLiteral("checks.txt"))};
        checks->findChild<QPushButton*>(QStringLiteral("cmdSaveChecks"))->click();
        QFile file(folder.filePath(QStringLiteral("checks.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), CalibrationChecksText(window.calibration().checks));
    }
};

QTEST_MAIN(ChecksWindowTest)
#include "checks_window_test.moc"
