// The lot register from the desktop: recording a run, a failed fit's too, in the default
// register, the option that records every successful run, a refused register, opening a
// record again from the register window and the trend plot. The user's folders and the register
// live in a scratch folder.
#include "lot_register.h"
#include "register_settings.h"
#include "register_window.h"
#include "results_window.h"
#include "trend_window.h"
#include "window_test_support.h"

#include <QImageReader>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>

using namespace morvane;
using namespace morvane::test;

class RegisterWindowTest : public QObject, MainWindowDriver {
    Q_OBJECT

    QTemporaryDir mHome;
    QString mRegister;
    int mRegisters = 0;

    std::vector<RegisterRecord> recorded() const {
        return OpenLotRegister(mRegister.toStdString(), RegisterAccess::ReadOnly)->list();
    }
    QAction* item(const char* name) const { return child<QAction>(mWindow.get(), name); }
    QString cell(int row, int col) const {
        auto* grid = child<DataGrid>(mWindow->editor(), "Grid1");
        return grid->text(row, col);
    }
    QString statusText() const { return mWindow->statusBar()->currentMessage(); }
    // Calibrate the fixture with the working preparation and ISI given, then Record in Register.
    void recordRun(const QString& workingPreparation, const QString& isi = "1.1") {
        open("ui_calibration.txt", {"txtWRP=" + workingPreparation, "txtISI=" + isi});
        choose("mnuFile", "mnuRecordInRegister");
    }
    QTableWidget* table() const { return child<QTableWidget>(mWindow.get(), "tblRecords"); }
    void useRegister(const QString& location, bool recordEveryRun = false) {
        SaveRegisterSettings({location, recordEveryRun});
        restart();
    }

private slots:
    void initTestCase() {
        for (const char* name :
             {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
            qputenv(name, QFile::encodeName(mHome.filePath(name)));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           mHome.filePath("XDG_CONFIG_HOME"));
    }

    void init() {
        mRegister = mHome.filePath(QStringLiteral("register-%1.sqlite").arg(++mRegisters));
        useRegister(mRegister);
    }

    // A failed fit shows its report, so it may be recorded: without an ISI.
    void aFailedFitIsRecordedWithoutAnIsi() {
        open("ui_calibration.txt", {"txtUpperINR=1.6"});
        takeMessages();
        choose("mnuFile", "mnuRecordInRegister");
        const std::vector<RegisterRecord> records = recorded();
        QCOMPARE(records.size(), 1u);
        QVERIFY(!records[0].isiWorking);
        QCOMPARE(records[0].reportText, mWindow->results()->reportText().toStdString());
    }

    // The default register is the file in the application data folder.
    void withoutAChoiceTheDefaultRegisterIsUsed() {
        useRegister(QString());
        open("ui_calibration.txt");
        choose("mnuFile", "mnuRecordInRegister");
        const QString path = mHome.filePath("XDG_DATA_HOME/Morvane/register.sqlite");
        QVERIFY(QFile::exists(path));
        QCOMPARE(statusText(), "Recorded as record 1 in " + path);
        QFile::remove(path);
    }

    void theOptionRecordsEverySuccessfulRunAndIsKept() {
        QVERIFY(!item("mnuRecordEveryRun")->isChecked());
        choose("mnuFile", "mnuRecordEveryRun");
        QVERIFY(LoadRegisterSettings().recordEveryRun);
        QVERIFY(QFile::exists(mHome.filePath("XDG_CONFIG_HOME/Morvane/Morvane.conf")));
        open("ui_calibration.txt");
        open("ui_calibration.txt", {"txtISI=1.2"});
        QCOMPARE(statusText(), "Recorded as record 2 in " + mRegister);
        open("ui_calibration.txt", {"txtUpperINR=1.6"}); // a failed fit is not recorded
        QCOMPARE(recorded().size(), 2u);
        QVERIFY(item("mnuRecordInRegister")->isEnabled()); // but may be recorded by hand
        restart();
        QVERIFY(item("mnuRecordEveryRun")->isChecked());
        choose("mnuFile", "mnuRecordEveryRun");
        QVERIFY(!LoadRegisterSettings().recordEveryRun);
    }

    // A text file is no register: it is refused with its reason, left as it was, and the run
    // can still be recorded elsewhere.
    void aRefusedRegisterSaysWhyAndRecordsNothing() {
        const QString text = mHome.filePath("notes.txt");
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a register\n");
        file.close();
        useRegister(text);
        open("ui_calibration.txt");
        choose("mnuFile", "mnuRecordInRegister");
        const QStringList shown = takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith("Record in Register: "), qPrintable(shown[0]));
        QCOMPARE(fileBytes(text), QByteArray("not a register\n"));
        QVERIFY(item("mnuRecordInRegister")->isEnabled());
        choose("mnuView", "mnuRegister");
        QVERIFY(takeMessages().value(0).startsWith("Register: "));
        QCOMPARE(table()->rowCount(), 0);
        for (const char* button : {"cmdOpenRecord", "cmdTrendPlot"})
            QTest::mouseClick(child<QPushButton>(mWindow.get(), button), Qt::LeftButton);
        QCOMPARE(takeMessages(), (QStringList{"Register: Choose a record to open.",
                                              "Register: Choose a working preparation for the "
                                              "trend plot."}));
        QVERIFY(child<RegisterWindow>(mWindow.get(), "RegisterWindow")->isVisible());
    }

    void aDoubleClickOpensTheRecord() {
        recordRun("Lot 7");
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(cell(1, 2), "");
        choose("mnuView", "mnuRegister");
        const QRect first = table()->visualRect(table()->model()->index(0, 1));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(cell(1, 2), "12.4");
        QCOMPARE(mWindow->results()->reportText().toStdString(), recorded().at(0).reportText);
        recordRun("Lot 8"); // the open register window lists the new record at once
        QCOMPARE(table()->rowCount(), 2);
    }

    void theTrendPlotShowsEachRecordedIsiOfThePreparation() {
        recordRun("Lot 7", "1.0");
        recordRun("Lot 8", "1.2");
        recordRun("Lot 7", "1.1");
        open("ui_calibration.txt", {"txtWRP=Lot 7", "txtUpperINR=1.6"}); // failed fit: no ISI
        choose("mnuFile", "mnuRecordInRegister");
        recordRun("Lot 7", "1.2");
        takeMessages();
        choose("mnuView", "mnuRegister");
        child<QComboBox>(mWindow.get(), "cboWorkingPreparation")->setCurrentIndex(1);
        QTest::mouseClick(child<QPushButton>(mWindow.get(), "cmdTrendPlot"), Qt::LeftButton);
        auto* trend = child<TrendWindow>(mWindow.get(), "TrendWindow");
        QVERIFY(trend->isVisible());
        QCOMPARE(trend->windowTitle(), "ISI Trend: Lot 7");
        QCOMPARE(trend->points().size(), 3u);
        QVERIFY(trend->points()[0].isi < trend->points()[1].isi);
        QVERIFY(trend->points()[1].isi < trend->points()[2].isi);
        QVERIFY(trend->points()[0].seIsi.has_value());
        const QString label = QString::fromStdString(trend->points()[0].label);
        QVERIFY2(QRegularExpression("^#1 \\d{4}-\\d\\d-\\d\\d$")
                     .match(label)
                     .hasMatch(), // its record, its day
                 qPrintable(label));
        QVERIFY(!trend->picture().isNull());
        QFile::remove("Lot 7_trend.png");
        mDialogs.answers = {std::nullopt}; // cancelled: nothing is written
        QTest::mouseClick(child<QPushButton>(trend, "cmdSaveTrendPlot"), Qt::LeftButton);
        QVERIFY(!QFile::exists("Lot 7_trend.png"));
        mDialogs.answers = {path("trend.svg")};
        QTest::mouseClick(child<QPushButton>(trend, "cmdSaveTrendPlot"), Qt::LeftButton);
        QCOMPARE(fileBytes(path("trend.svg")).count("<circle"), 3);
        mDialogs.answers = {path("trend")};
        QTest::mouseClick(child<QPushButton>(trend, "cmdSaveTrendPlot"), Qt::LeftButton);
        QCOMPARE(QImageReader(path("trend.png")).format(), "png");
        const FileDialogRequest asked{
            FileDialogKind::Save, "PNG Pictures (*.png)|*.png|SVG Pictures (*.svg)|*.svg",
            "Save Trend Plot",    "Lot 7_trend",
            kAskBeforeReplacing,  "png"};
        QVERIFY(mDialogs.requests.last() == asked);
        const QString unwritable = path("none/trend.svg"); // the earlier saves said nothing
        mDialogs.answers = {unwritable};
        QTest::mouseClick(child<QPushButton>(trend, "cmdSaveTrendPlot"), Qt::LeftButton);
        QCOMPARE(takeMessages(),
                 QStringList("Save Trend Plot: The trend plot could not be saved as " + unwritable +
                             "."));
    }
};

QTEST_MAIN(RegisterWindowTest)
#include "register_window_test.moc"
