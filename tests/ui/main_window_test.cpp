// The main window driven through its menus (by their access keys) and the editor's controls,
// with scripted message boxes and file dialogs. Expected report numbers come from the hand
// calculation in tests/data/report_worked_example.bc.
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"
#include "print_dialog.h"
#include "results_window.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using namespace morvane;
using namespace morvane::test;

namespace {

const QString kQuestion = QStringLiteral("TIRONEX 3.1: ");
const QString kDataError = QStringLiteral("Data Error: ");
// The items whose enabling changes, and those enabled at start-up.
const QStringList kChanging = {"mnuFileItem3", "mnuFileItem5", "mnuDataEditor",
                               "mnuResults",   "mnuGraph",     "mnuMakePlot",
                               "mnuCopyPlot",  "mnuSavePlot",  "mnuPlotOptions"};
const QStringList kStartUp = {"mnuAbout",     "mnuDeleteRow", "mnuFileItem0",
                              "mnuFileItem1", "mnuFileItem2", "mnuFileItem7"};
const QStringList kReport =
    kStartUp + QStringList{"mnuDataEditor", "mnuFileItem3", "mnuFileItem5", "mnuResults"};
const QStringList kPlot = kReport + QStringList{"mnuMakePlot", "mnuPlotOptions"};
const QStringList kPlotMade = {"mnuCopyPlot", "mnuGraph", "mnuSavePlot"};

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

Qt::Key accessKey(const QString& caption) {
    return Qt::Key(caption.at(caption.indexOf(QLatin1Char('&')) + 1).toUpper().unicode());
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    RecordingMessageSink mMessages;
    ScriptedFileDialogs mDialogs;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<QTemporaryDir> mFolder;

    void start(const QString& tcrit = QStringLiteral(MORVANE_TCRIT_FILE)) {
        mWindow = std::make_unique<MainWindow>(mMessages, mDialogs, tcrit);
        mWindow->show();
        QApplication::setActiveWindow(mWindow.get());
        QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
    }
    DataGrid* grid() const { return child<DataGrid>(mWindow->editor(), "Grid1"); }
    QLineEdit* field(const char* name) const { return child<QLineEdit>(mWindow->editor(), name); }
    QString path(const char* name) const { return mFolder->filePath(QLatin1String(name)); }
    QAction* item(const QString& name) const { return mWindow->findChild<QAction*>(name); }

    // Opens the menu with its access key, then chooses the item with its own.
    void choose(const char* menuName, const char* itemName) {
        auto* menu = child<QMenu>(mWindow.get(), menuName);
        QApplication::setActiveWindow(mWindow.get());
        QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
        QTest::keyClick(mWindow.get(), accessKey(menu->title()), Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, accessKey(item(QLatin1String(itemName))->text()));
        QTRY_VERIFY(!menu->isVisible());
    }
    void open(const QString& file) {
        mDialogs.answers = {fixture(file)};
        choose("mnuFile", "mnuFileItem1");
    }
    void calibrate() {
        QTest::mouseClick(child<QPushButton>(mWindow->editor(), "Command1"), Qt::LeftButton);
    }
    // "row,col=text" types into a cell and presses Enter, "name=text" replaces a field's text.
    void enter(const QStringList& entries) {
        for (const QString& entry : entries) {
            const QString target = entry.section('=', 0, 0), text = entry.section('=', 1);
            if (!target.contains(',')) {
                replaceText(field(qPrintable(target)), text);
                continue;
            }
            clickCell(grid(), target.section(',', 0, 0).toInt(), target.section(',', 1).toInt());
            replaceText(field("txtGrid"), text);
            QTest::keyClick(field("txtGrid"), Qt::Key_Return);
        }
    }
    QString row(int r) const {
        return QStringList{grid()->text(r, 1), grid()->text(r, 2), grid()->text(r, 3)}.join(',');
    }
    QStringList takeMessages() {
        QStringList shown;
        for (const Message& message : mMessages.messages)
            shown << QString::fromStdString(message.shownTitle() + ": " + message.text);
        mMessages.messages.clear();
        return shown;
    }
    QStringList enabledItems() const {
        QStringList enabled;
        for (const QString& name : kChanging + kStartUp)
            if (item(name)->isEnabled())
                enabled << name;
        return sorted(enabled);
    }
    QString resultsText() const {
        return mWindow->results() ? mWindow->results()->reportText() : QString();
    }
    bool resultsShown() const {
        return mWindow->results() && mWindow->results()->parentWidget()->isVisible();
    }

private slots:
    void initTestCase() { qputenv("SOURCE_DATE_EPOCH", "1700000000"); }
    void init() {
        mMessages = RecordingMessageSink();
        mDialogs = ScriptedFileDialogs();
        mFolder = std::make_unique<QTemporaryDir>();
        start();
    }
    void cleanup() {
        mWindow.reset();
        mFolder.reset();
    }

    void openedFileIsSavedBackByteForByte() {
        open("ui_calibration.txt");
        QCOMPARE(mDialogs.requests.last().title, QStringLiteral("Open Data File"));
        QCOMPARE(mWindow->editor()->windowTitle(),
                 QStringLiteral("Data Editor: ui_calibration.txt"));
        QCOMPARE(field("txtIRP")->text(), QStringLiteral("RefPrep A"));
        QCOMPARE(row(13), QStringLiteral("Abnormal,46,56.1"));
        mDialogs.answers = {path("saved.txt")};
        choose("mnuFile", "mnuFileItem2");
        QCOMPARE(mDialogs.requests.last().fileName, QStringLiteral("ui_calibration.txt"));
        QCOMPARE(fileBytes(path("saved.txt")), fileBytes(fixture("ui_calibration.txt")));
        QCOMPARE(mWindow->editor()->windowTitle(), QStringLiteral("Data Editor: saved.txt"));
        QCOMPARE(takeMessages(), QStringList());
    }

    void calibrateShowsItsMessagesAndSetsTheMenus_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("entries"); // made before Calibrate
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("fieldsAfter"); // "name=text"
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("good run") << "ui_calibration.txt" << QStringList{"txtLowerINR=0"}
                                  << QStringList() << QStringList{"txtLowerINR=0"} << kPlot;
        QTest::newRow("a y cell that is not a number")
            << "ui_calibration.txt" << QStringList{"2,2=abc"}
            << QStringList{kDataError + "Data type mis-match error"} << QStringList() << kStartUp;
        QTest::newRow("two abnormal samples")
            << "ui_two_abnormals.txt" << QStringList()
            << QStringList{kDataError + "There is either insufficient data to perform the "
                                        "calibration (at least 3 abnormal samples and 2 normals "
                                        "are required) or abnormal/normal data has been tagged "
                                        "incorrectly"}
            << QStringList() << kStartUp;
        QTest::newRow("invalid entries replaced, in order")
            << "ui_calibration.txt" << QStringList{"txtLowerINR=-1", "txtISI=x"}
            << QStringList{"INR limits: Valid INR limits have not been entered. Vantel recommended "
                           "limits will be used for this calibration (Lower INR=1.5; Upper "
                           "INR=4.5).",
                           "ISI not entered: Valid ISI of reference reagent not entered. ISI=1 "
                           "will be used for this calibration."}
            << QStringList{"txtLowerINR=1.5", "txtISI=1"} << kPlot;
        QTest::newRow("failed fit: every plasma outside the INR limits")
            << "ui_calibration.txt" << QStringList{"txtLowerINR=10", "txtUpperINR=20"}
            << QStringList{kDataError + "After exclusions, there is insufficient data to perform "
                                        "the calibration"}
            << QStringList() << kReport;
    }
    void calibrateShowsItsMessagesAndSetsTheMenus() {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, fieldsAfter);
        QFETCH(QStringList, enabled);
        open(file);
        enter(entries);
        calibrate();
        QTEST(takeMessages(), "messages");
        for (const QString& expected : fieldsAfter)
            QCOMPARE(field(qPrintable(expected.section('=', 0, 0)))->text(),
                     expected.section('=', 1));
        QCOMPARE(enabledItems(), sorted(enabled));
        QCOMPARE(resultsShown(), enabled.contains("mnuResults"));
    }

    void missingCriticalTTableStopsTheRun() {
        mWindow.reset();
        start(path("none/tcrit.txt"));
        QTRY_COMPARE(mMessages.messages.size(), std::size_t(1));
        mMessages.messages.clear();
        open("ui_calibration.txt");
        calibrate();
        QCOMPARE(takeMessages().value(0).section(':', 0, 0), QStringLiteral("Critical t Table"));
        QCOMPARE(enabledItems(), sorted(kStartUp));
    }

    void newAsksThenEmptiesEverything() {
        open("ui_calibration.txt");
        calibrate();
        choose("mnuPlot", "mnuMakePlot");
        enter({"txtLowerINR=10", "txtUpperINR=20"});
        calibrate(); // fails, and keeps the plot commands of the first run
        QCOMPARE(takeMessages().size(), 1);
        QCOMPARE(enabledItems(), sorted(kPlot + kPlotMade));
        const QString question = kQuestion + "Data and results will be erased.  Are you sure you "
                                             "want to proceed?";
        mMessages.answers = {MessageAnswer::No};
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(takeMessages(), QStringList{question});
        QCOMPARE(row(1), QStringLiteral("Normal,12.4,13.1"));
        choose("mnuFile", "mnuFileItem0"); // answered Yes
        QCOMPARE(takeMessages(), QStringList{question});
        QCOMPARE(mWindow->editor()->windowTitle(), QStringLiteral("Data Editor: dataset1.txt"));
        QCOMPARE(row(1), QStringLiteral(",,"));
        QVERIFY(!resultsShown());
        QCOMPARE(enabledItems(), sorted(kStartUp));
    }

    void resultsWindowShowsTheReportAndSavesItInQuotes() {
        open("report_worked_example.txt");
        enter({"txtUpperINR=6", "txtid=run5"});
        calibrate();
        QCOMPARE(field("txtid")->text(), QStringLiteral("run5.txt"));
        for (const QString& line :
             {"File Name: " + QDir::toNativeSeparators(fixture("report_worked_example.txt")),
              QStringLiteral("CV of ISI =  2.18 "),
              QString(9, ' ') + " 1 " + QString(7, ' ') + "12.50     0.97      12.00     0.95"})
            QVERIFY2(resultsText().contains("\r\n" + line + "\r\n"), qPrintable(line));
        child<QPlainTextEdit>(mWindow->results(), "txtResults")
            ->setPlainText(QStringLiteral("first line\nsecond \"quoted\" line, 2 \u00b5l\n"));
        mDialogs.answers = {path("results.txt")};
        choose("mnuFile", "mnuFileItem5");
        QCOMPARE(mDialogs.requests.last().title, QStringLiteral("Save Results As..."));
        QCOMPARE(mDialogs.requests.last().fileName, QStringLiteral("run5_results"));
        QCOMPARE(fileBytes(path("results.txt")),
                 QByteArray("\"first line\r\nsecond \"quoted\" line, 2 \xc2\xb5l\r\n\"\r\n"));
    }

    void closingAsksBeforeTheResultsGo_data() {
        QTest::addColumn<bool>("mainWindow"); // else the results window
        QTest::addColumn<bool>("yes");
        QTest::newRow("results window, No keeps it") << false << false;
        QTest::newRow("results window, Yes closes it") << false << true;
        QTest::newRow("main window, No keeps it") << true << false;
    }
    void closingAsksBeforeTheResultsGo() {
        QFETCH(bool, mainWindow);
        QFETCH(bool, yes);
        open("ui_calibration.txt");
        calibrate();
        mMessages.answers = {yes ? MessageAnswer::Yes : MessageAnswer::No};
        QWidget* closed = mainWindow ? mWindow.get() : mWindow->results()->parentWidget();
        QCOMPARE(closed->close(), yes);
        QCOMPARE(takeMessages(), QStringList{kQuestion + "Closing this window will erase results.  "
                                                         "Are you sure you want to close the "
                                                         "window?"});
        QTRY_COMPARE(resultsShown(), !yes);
    }

    void deleteRowAsksThenMovesTheRowsUp_data() {
        QTest::addColumn<bool>("wholeRow"); // else one cell of row 4
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("row4");
        const QString question =
            kQuestion + "The selected row will be erased.  Are you sure you want to proceed?";
        QTest::newRow("a single cell is refused")
            << false << true << "Delete Row Error: An entire row must be selected"
            << "Normal,13.2,14.3";
        QTest::newRow("Yes") << true << true << question << "Normal,12.6,13.4";
        QTest::newRow("No") << true << false << question << "Normal,13.2,14.3";
    }
    void deleteRowAsksThenMovesTheRowsUp() {
        QFETCH(bool, wholeRow);
        QFETCH(bool, yes);
        QFETCH(QString, message);
        open("ui_calibration.txt");
        if (wholeRow) {
            QHeaderView* header = grid()->verticalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->width() / 2, header->sectionViewportPosition(3) +
                                                              header->sectionSize(3) / 2));
        } else {
            clickCell(grid(), 4, 2);
        }
        mMessages.answers = {yes ? MessageAnswer::Yes : MessageAnswer::No};
        choose("mnuEdit", "mnuDeleteRow");
        QCOMPARE(takeMessages(), QStringList{message});
        QTEST(row(4), "row4");
    }

    void plotCommandsProduceCopyAndSaveThePlot() {
        open("ui_calibration.txt");
        calibrate();
        choose("mnuPlot", "mnuPlotOptions");
        auto* options = child<QWidget>(mWindow.get(), "frmPlotOptions");
        QTRY_VERIFY(options->isVisible());
        QCOMPARE(child<QLineEdit>(options, "txtYLabel")->text(), QStringLiteral("RefPrep A"));
        options->close();
        choose("mnuPlot", "mnuMakePlot");
        QVERIFY(child<QWidget>(mWindow.get(), "frmGraph")->isVisible());
        QCOMPARE(enabledItems(), sorted(kPlot + kPlotMade));
        QApplication::clipboard()->clear();
        choose("mnuPlot", "mnuCopyPlot");
        QVERIFY(!QApplication::clipboard()->image().isNull());
        mDialogs.answers = {path("plot.bmp")};
        choose("mnuPlot", "mnuSavePlot");
        QCOMPARE(mDialogs.requests.last().fileName, QStringLiteral("ui_calibration_plot"));
        QVERIFY(fileBytes(path("plot.bmp")).startsWith("BM"));
    }

    void printOffersThePlotOnceThereIsOne() {
        open("ui_calibration.txt");
        calibrate();
        choose("mnuFile", "mnuFileItem3");
        auto* dialog = child<PrintDialog>(mWindow.get(), "frmPrint");
        QVERIFY(!child<QCheckBox>(dialog, "chkPlot")->isEnabled());
        dialog->setPrinterName(QString());
        mDialogs.answers = {path("report.pdf")};
        tick(child<QCheckBox>(dialog, "chkResults"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
        QVERIFY(fileBytes(path("report.pdf")).startsWith("%PDF"));
        QTRY_VERIFY(!mWindow->findChild<PrintDialog*>());
        choose("mnuPlot", "mnuMakePlot");
        choose("mnuFile", "mnuFileItem3");
        QVERIFY(child<QCheckBox>(mWindow.get(), "chkPlot")->isEnabled());
    }

    void aboutBoxShowsTheVersionUntilOk() {
        QTest::keyClick(mWindow.get(), Qt::Key_A, Qt::AltModifier);
        auto* about = child<QWidget>(mWindow.get(), "frmAbout");
        QTRY_VERIFY(about->isVisible());
        QCOMPARE(child<QLabel>(about, "Label4")->text(),
                 QStringLiteral("Version 3.1 (Morvane 1.0)"));
        QTest::mouseClick(child<QPushButton>(about, "cmdAboutOK"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    void programOpensTheFileGivenOnItsCommandLine() {
        // The screenshot mode opens the file, presses Calibrate and saves two pictures.
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("MORVANE_SCREENSHOTS", mFolder->path());
        environment.insert("QT_LOGGING_RULES", "*=false");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MORVANE_PROGRAM), {fixture("ui_calibration.txt")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QVERIFY(!QImage(path("results.png")).isNull());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
