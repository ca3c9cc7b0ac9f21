// View > Calibration Checks after a run on the worked example with the upper INR limit at 6:
// the design check fails (2 normal and 3 abnormal plasmas), the others pass.
#include "calibration_checks_text.h"
#include "checks_window.h"
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"

#include <QAction>
#include <QFile>
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
        QTest::mouseClick(window.editor()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QVERIFY(item->isEnabled());
        item->trigger();
        ChecksWindow* checks = window.checks();
        QVERIFY(checks && checks->isVisible());
        QCOMPARE(checks->windowTitle(), QStringLiteral("Calibration Checks"));

        auto* table = checks->findChild<QTableWidget*>(QStringLiteral("tblChecks"));
        QStringList checkNames, verdicts;
        for (int row = 0; row < table->rowCount(); ++row) {
            checkNames << table->item(row, 0)->text();
            verdicts << table->item(row, 3)->text();
        }
        QCOMPARE(checkNames,
                 QStringList({"Precision of the slope", "Design", "Exclusions",
                              "Model adequacy (Tomenson)", "% INR deviation at INR 2.0 and 4.5"}));
        QCOMPARE(verdicts, QStringList({"Pass", "Fail", "", "Pass", ""}));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("2 normal, 3 abnormal (used 2, 3)"));
        QVERIFY(table->item(1, 3)->font().bold());
        QCOMPARE(table->item(1, 3)->background().color(), QColor(192, 0, 0));
        QCOMPARE(table->item(0, 3)->background().style(), Qt::NoBrush);
        QCOMPARE(checks->findChild<QLabel*>(QStringLiteral("lblOverall"))->text(),
                 QStringLiteral("Calibration does not meet the guideline criteria: Design"));

        QTemporaryDir folder;
        const QString saved = folder.filePath(QStringLiteral("checks.txt"));
        dialogs.answers = {saved};
        checks->findChild<QPushButton*>(QStringLiteral("cmdSaveChecks"))->click();
        QCOMPARE(dialogs.requests.last().fileName, QStringLiteral("report_worked_example_checks"));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), CalibrationChecksText(window.calibration().checks));

        const QString pdf = folder.filePath(QStringLiteral("checks.pdf"));
        checks->setPrinterName(QString());
        dialogs.answers = {pdf};
        checks->findChild<QPushButton*>(QStringLiteral("cmdPrintChecks"))->click();
        QVERIFY(QFile(pdf).size() > 0);
    }
};

QTEST_MAIN(ChecksWindowTest)
#include "checks_window_test.moc"
