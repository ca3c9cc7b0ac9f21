// The main window driven through its menus (by their access keys), the data editor's controls,
// scripted message boxes and scripted file dialogs: Open, Save Data As, the calibration run with
// its messages and menu states, New, the results window and its file, Delete Row, the plot
// commands, printing and a file given on the command line.
#include "data_grid.h"
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"
#include "print_dialog.h"
#include "results_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace morvane;

namespace {

const QString kApplicationTitle = QStringLiteral("TIRONEX 3.1");
const QString kNewQuestion =
    kApplicationTitle +
    QStringLiteral(": Data and results will be erased.  Are you sure you want to proceed?");
const QString kDeleteQuestion =
    kApplicationTitle + QStringLiteral(": The selected row will be erased.  Are you sure you want "
                                       "to proceed?");
const QString kCloseResultsQuestion =
    kApplicationTitle + QStringLiteral(": Closing this window will erase results.  Are you sure "
                                       "you want to close the window?");

// The menu items whose enabling changes, and those enabled at start-up.
const QStringList kChangingItems = {"mnuFileItem3", "mnuFileItem5", "mnuDataEditor",
                                    "mnuResults",   "mnuGraph",     "mnuMakePlot",
                                    "mnuCopyPlot",  "mnuSavePlot",  "mnuPlotOptions"};
const QStringList kAlwaysEnabled = {"mnuFileItem0", "mnuFileItem1", "mnuFileItem2",
                                    "mnuFileItem7", "mnuDeleteRow", "mnuAbout"};
const QStringList kReportItems = {"mnuFileItem3", "mnuFileItem5", "mnuDataEditor", "mnuResults"};
const QStringList kPlotItems = {"mnuMakePlot", "mnuPlotOptions"};

QString fixture(const QString& name) {
    return QStringLiteral(MORVANE_TEST_DATA_DIR "/") + name;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

Qt::Key accessKey(const QString& caption) {
    return Qt::Key(caption.at(caption.indexOf(QLatin1Char('&')) + 1).toUpper().unicode());
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

// Some samples of ui_calibration.txt as the grid shows them: tag, y, x.
const QString kRow1 = QStringLiteral("Normal,12.4,13.1");
const QString kRow3 = QStringLiteral("Normal,11.8,12.6");
const QString kRow4 = QStringLiteral("Normal,13.2,14.3");
const QString kRow5 = QStringLiteral("Normal,12.6,13.4");
const QString kRow12 = QStringLiteral("Abnormal,27.7,31.9");
const QString kRow13 = QStringLiteral("Abnormal,46,56.1");

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
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

    EditorWindow* editor() const { return mWindow->editor(); }
    DataGrid* grid() const { return editor()->findChild<DataGrid*>(QStringLiteral("Grid1")); }
    QLineEdit* field(const QString& name) const { return editor()->findChild<QLineEdit*>(name); }
    QAction* item(const QString& name) const { return mWindow->findChild<QAction*>(name); }
    QString editorCaption() const { return editor()->windowTitle(); }
    QString path(const char* name) const { return mFolder->filePath(QLatin1String(name)); }

    // Opens the menu with its access key, then chooses the item with its own.
    void choose(const char* menuName, const char* itemName) {
        auto* menu = mWindow->findChild<QMenu*>(QLatin1String(menuName));
        QVERIFY(menu);
        if (QApplication::activeWindow() != mWindow.get()) {
            QApplication::setActiveWindow(mWindow.get());
            QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
        }
        QTest::keyClick(mWindow.get(), accessKey(menu->title()), Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, accessKey(item(QLatin1String(itemName))->text()));
        QTRY_VERIFY(!menu->isVisible());
    }
    void openFile(const QString& file) {
        mDialogs.answers = {file};
        choose("mnuFile", "mnuFileItem1");
    }
    void openAndCalibrate() {
        openFile(fixture("ui_calibration.txt"));
        calibrate();
    }
    void calibrate() {
        QTest::mouseClick(editor()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
    }
    void replaceText(QLineEdit* edit, const QString& text) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void setField(const QString& name, const QString& text) { replaceText(field(name), text); }
    void clickCell(int row, int col) {
        const QModelIndex index = grid()->model()->index(row - 1, col - 1);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(index).center());
    }
    void clickRowNumber(int row) {
        QHeaderView* header = grid()->verticalHeader();
        const QPoint centre(header->width() / 2, header->sectionViewportPosition(row - 1) +
                                                     header->sectionSize(row - 1) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    void typeAndEnter(const QString& text) {
        auto* box = editor()->findChild<QLineEdit*>(QStringLiteral("txtGrid"));
        replaceText(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void chooseTag(int row, Qt::Key key) {
        clickCell(row, 1);
        QTest::keyClick(editor()->findChild<QComboBox*>(QStringLiteral("Combotag")), key);
    }
    // Entries of the test tables: "row,col=text" types into a cell, "name=text" into a field.
    void enter(const QStringList& entries) {
        for (const QString& entry : entries) {
            const QString target = entry.section(QLatin1Char('='), 0, 0);
            const QString text = entry.section(QLatin1Char('='), 1);
            if (target.contains(QLatin1Char(','))) {
                clickCell(target.section(',', 0, 0).toInt(), target.section(',', 1).toInt());
                typeAndEnter(text);
            } else {
                setField(target, text);
            }
        }
    }

    QStringList fieldTexts() const {
        QStringList texts;
        for (const char* name : {"txtid", "txtIRP", "txtWRP", "txtISI", "txtSEISI", "txtLowerINR",
                                 "txtUpperINR", "txtSDReg"})
            texts << field(QLatin1String(name))->text();
        return texts;
    }
    QString rowText(int row) const {
        return QStringList{grid()->text(row, 1), grid()->text(row, 2), grid()->text(row, 3)}.join(
            QLatin1Char(','));
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
        for (const QString& name : kChangingItems + kAlwaysEnabled) {
            if (item(name)->isEnabled())
                enabled << name;
        }
        return sorted(enabled);
    }
    QString resultsText() const {
        return mWindow->results() ? mWindow->results()->reportText() : QStringLiteral("<none>");
    }
    bool resultsShown() const {
        return mWindow->results() && mWindow->results()->parentWidget()->isVisible();
    }
    QWidget* plotWindow() const { return mWindow->findChild<QWidget*>(QStringLiteral("frmGraph")); }

private slots:
    void initTestCase() {
        // Reports print this moment: 2023-11-14 22:13:20 UTC.
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
    }
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

    void openFillsTheEditorFromTheFile() {
        openFile(fixture("ui_calibration.txt"));
        QCOMPARE(mDialogs.requests.front().title, QStringLiteral("Open Data File"));
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: ui_calibration.txt"));
        QCOMPARE(fieldTexts(), (QStringList{"ui_calibration.txt", "RefPrep A", "WorkPrep B", "1.1",
                                            "0.02", "1.5", "4.5", "3"}));
        QCOMPARE((QStringList{rowText(1), rowText(13), rowText(14)}),
                 (QStringList{kRow1, kRow13, ",,"}));
        QCOMPARE(mWindow->plotOptions().YAxisLabel, std::string("RefPrep A"));
        QCOMPARE(mWindow->plotOptions().XAxisLabel, std::string("WorkPrep B"));
        QVERIFY(takeMessages().isEmpty());
    }

    void saveDataAsWritesTheGridAndFields() {
        clickCell(1, 2);
        for (const char* y : {"25.3", "12.1", "30"})
            typeAndEnter(QLatin1String(y));
        clickCell(1, 3);
        for (const char* x : {"31.2", "13.4", "38.5"})
            typeAndEnter(QLatin1String(x));
        chooseTag(1, Qt::Key_Home);
        chooseTag(2, Qt::Key_End);
        chooseTag(3, Qt::Key_Home);
        setField(QStringLiteral("txtISI"), QStringLiteral("1.1"));
        setField(QStringLiteral("txtSEISI"), QString());
        mDialogs.answers = {path("saved.txt")};
        choose("mnuFile", "mnuFileItem2");
        QCOMPARE(mDialogs.requests.front().fileName, QStringLiteral("dataset1.txt"));
        // An empty SE(ISI) is saved as a quoted text.
        QCOMPARE(fileBytes(path("saved.txt")),
                 QByteArray("\"RP\"\r\n\"WP\"\r\n1.1\r\n\"SEISI\"\r\n"
                            "0,25.3,31.2\r\n1,12.1,13.4\r\n0,30,38.5\r\n"));
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: saved.txt"));
        QVERIFY(takeMessages().isEmpty());
    }

    void calibrateShowsItsMessagesAndSetsTheMenus_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("entries"); // made before Calibrate
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("fieldsAfter"); // "name=text"
        QTest::addColumn<QStringList>("enabled");
        const QStringList none = kAlwaysEnabled;
        const QStringList report = kAlwaysEnabled + kReportItems;
        const QStringList plot = report + kPlotItems;
        const QString dataError = QStringLiteral("Data Error: ");
        QTest::newRow("good run, INR limits at their bounds 0 and 99")
            << "ui_calibration.txt" << QStringList{"txtLowerINR=0", "txtUpperINR=99"}
            << QStringList() << QStringList{"txtLowerINR=0", "txtUpperINR=99"} << plot;
        QTest::newRow("a y cell that is not a number")
            << "ui_calibration.txt" << QStringList{"2,2=abc"}
            << QStringList{dataError + "Data type mis-match error"} << QStringList() << none;
        QTest::newRow("an x column one cell short")
            << "ui_calibration.txt" << QStringList{"13,3="}
            << QStringList{dataError + "There are missing observations in one or more columns"}
            << QStringList() << none;
        QTest::newRow("two abnormal samples")
            << "ui_two_abnormals.txt" << QStringList()
            << QStringList{dataError +
                           "There is either insufficient data to perform the calibration (at "
                           "least 3 abnormal samples and 2 normals are required) or "
                           "abnormal/normal data has been tagged incorrectly"}
            << QStringList() << none;
        QTest::newRow("four invalid entries replaced, in order")
            << "ui_calibration.txt"
            << QStringList{"txtLowerINR=-1", "txtSDReg=-2", "txtISI=x", "txtSEISI=y"}
            << QStringList{"INR limits: Valid INR limits have not been entered. Vantel recommended "
                           "limits will be used for this calibration (Lower INR=1.5; Upper "
                           "INR=4.5).",
                           "Calibration Line Limits: A valid calibration line limit not entered. "
                           "Vantel "
                           "recommended limit will be used for this calibration (Standard "
                           "Deviation "
                           "Limit=3.0).",
                           "ISI not entered: Valid ISI of reference reagent not entered. ISI=1 "
                           "will be "
                           "used for this calibration.",
                           "SE(ISI) not entered: Valid SE(ISI) of reference reagent not entered. "
                           "SEISI=0 "
                           "will be used for this calibration."}
            << QStringList{"txtLowerINR=1.5", "txtSDReg=3", "txtISI=1", "txtSEISI=0"} << plot;
        QTest::newRow("failed fit: every plasma outside the INR limits")
            << "ui_calibration.txt" << QStringList{"txtLowerINR=10", "txtUpperINR=20"}
            << QStringList{dataError +
                           "After exclusions, there is insufficient data to perform the "
                           "calibration"}
            << QStringList() << report;
    }
    void calibrateShowsItsMessagesAndSetsTheMenus() {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, fieldsAfter);
        QFETCH(QStringList, enabled);
        openFile(fixture(file));
        enter(entries);
        calibrate();
        QCOMPARE(takeMessages(), messages);
        for (const QString& expected : fieldsAfter)
            QCOMPARE(field(expected.section('=', 0, 0))->text(), expected.section('=', 1));
        QCOMPARE(enabledItems(), sorted(enabled));
        QCOMPARE(resultsShown(), enabled.contains(QStringLiteral("mnuResults")));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void missingCriticalTTableStopsTheRun() {
        mWindow.reset();
        start(path("none/tcrit.txt"));
        QTRY_COMPARE(mMessages.messages.size(), std::size_t(1));
        mMessages.messages.clear();
        openAndCalibrate();
        QCOMPARE(mMessages.messages.size(), std::size_t(1));
        QCOMPARE(mMessages.messages.front().title, std::string("Critical t Table"));
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled));
    }

    void failedRunKeepsThePlotCommandsAndNewTakesAllAway() {
        openAndCalibrate();
        setField(QStringLiteral("txtLowerINR"), QStringLiteral("10"));
        setField(QStringLiteral("txtUpperINR"), QStringLiteral("20"));
        calibrate();
        QCOMPARE(takeMessages().size(), 1);
        const QStringList afterRuns = sorted(kAlwaysEnabled + kReportItems + kPlotItems);
        QCOMPARE(enabledItems(), afterRuns);
        mMessages.answers = {MessageAnswer::No};
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(takeMessages(), QStringList{kNewQuestion});
        QCOMPARE(rowText(1), kRow1);
        QCOMPARE(enabledItems(), afterRuns);
        choose("mnuFile", "mnuFileItem0"); // answered Yes
        QCOMPARE(takeMessages(), QStringList{kNewQuestion});
        QCOMPARE(editorCaption(), QStringLiteral("Data Editor: dataset1.txt"));
        QCOMPARE(fieldTexts(),
                 (QStringList{"dataset1.txt", "RP", "WP", "1", "0", "1.5", "4.5", "3"}));
        QCOMPARE(rowText(1), QStringLiteral(",,"));
        QVERIFY(!resultsShown());
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled));
    }

    // The rule is applied by Calibrate and by Save Results As, which proposes a name from it.
    void identifierGetsItsExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("without extension") << "run5"
                                           << "run5.txt"
                                           << "run5_results";
        QTest::newRow("extension in capitals is not one") << "RUN5.TXT"
                                                          << "RUN5.TXT.txt"
                                                          << "RUN5.TXT_results";
        QTest::newRow("extension inside the name") << "a.txt.b"
                                                   << "a.txt.b"
                                                   << "a_results";
    }
    void identifierGetsItsExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, identifier);
        QFETCH(QString, proposed);
        openFile(fixture("ui_calibration.txt"));
        setField(QStringLiteral("txtid"), typed);
        calibrate();
        QCOMPARE(field("txtid")->text(), identifier);
        setField(QStringLiteral("txtid"), typed);
        mDialogs.answers = {std::nullopt};
        choose("mnuFile", "mnuFileItem5");
        QCOMPARE(mDialogs.requests.last().fileName, proposed);
        QCOMPARE(field("txtid")->text(), identifier);
    }

    void savedResultsAreTheWindowTextInQuotes() {
        openAndCalibrate();
        mWindow->results()
            ->findChild<QPlainTextEdit*>(QStringLiteral("txtResults"))
            ->setPlainText(QStringLiteral("first line\nsecond \"quoted\" line, 2 \u00b5l\n"));
        mDialogs.answers = {path("results.txt")};
        choose("mnuFile", "mnuFileItem5");
        QCOMPARE(mDialogs.requests.last().title, QStringLiteral("Save Results As..."));
        QCOMPARE(fileBytes(path("results.txt")),
                 QByteArray("\"first line\r\nsecond \"quoted\" line, 2 \xc2\xb5l\r\n\"\r\n"));
        // The next report names the results file.
        calibrate();
        QVERIFY(resultsText().contains("\r\nFile Name: " + path("results.txt") + "\r\n"));
    }

    void closingAsksBeforeTheResultsGo_data() {
        QTest::addColumn<bool>("mainWindow"); // else the results window
        QTest::addColumn<int>("answer");
        QTest::newRow("results window, No keeps it") << false << int(MessageAnswer::No);
        QTest::newRow("results window, Yes closes it") << false << int(MessageAnswer::Yes);
        QTest::newRow("main window, No keeps it") << true << int(MessageAnswer::No);
    }
    void closingAsksBeforeTheResultsGo() {
        QFETCH(bool, mainWindow);
        QFETCH(int, answer);
        openAndCalibrate();
        mMessages.answers = {MessageAnswer(answer)};
        QWidget* closed =
            mainWindow ? static_cast<QWidget*>(mWindow.get()) : mWindow->results()->parentWidget();
        const bool yes = answer == int(MessageAnswer::Yes);
        QCOMPARE(closed->close(), yes);
        QCOMPARE(takeMessages(), QStringList{kCloseResultsQuestion});
        if (yes)
            QTRY_COMPARE(mWindow->results(), nullptr);
        else
            QVERIFY(resultsShown() && mWindow->isVisible());
    }

    void deleteRowAsksThenMovesTheRowsUp_data() {
        QTest::addColumn<bool>("wholeRow"); // else one cell of row 4
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("rows"); // rows 3, 4, 12, 13 afterwards
        QTest::newRow("a single cell is refused")
            << false << int(MessageAnswer::Yes)
            << QStringList{"Delete Row Error: An entire row must be selected"}
            << QStringList{kRow3, kRow4, kRow12, kRow13};
        QTest::newRow("Yes") << true << int(MessageAnswer::Yes) << QStringList{kDeleteQuestion}
                             << QStringList{kRow3, kRow5, kRow13, ",,"};
        QTest::newRow("No") << true << int(MessageAnswer::No) << QStringList{kDeleteQuestion}
                            << QStringList{kRow3, kRow4, kRow12, kRow13};
    }
    void deleteRowAsksThenMovesTheRowsUp() {
        QFETCH(bool, wholeRow);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, rows);
        openFile(fixture("ui_calibration.txt"));
        if (wholeRow)
            clickRowNumber(4);
        else
            clickCell(4, 2);
        mMessages.answers = {MessageAnswer(answer)};
        choose("mnuEdit", "mnuDeleteRow");
        QCOMPARE(takeMessages(), messages);
        QCOMPARE((QStringList{rowText(3), rowText(4), rowText(12), rowText(13)}), rows);
    }

    void plotCommandsProduceCopyAndSaveThePlot() {
        openAndCalibrate();
        choose("mnuPlot", "mnuMakePlot");
        QVERIFY(plotWindow() && plotWindow()->isVisible());
        QCOMPARE(enabledItems(), sorted(kAlwaysEnabled + kReportItems + kPlotItems +
                                        QStringList{"mnuCopyPlot", "mnuSavePlot", "mnuGraph"}));
        QApplication::clipboard()->clear();
        choose("mnuPlot", "mnuCopyPlot");
        QVERIFY(!QApplication::clipboard()->image().isNull());
        mDialogs.answers = {path("plot.bmp")};
        choose("mnuPlot", "mnuSavePlot");
        QCOMPARE(mDialogs.requests.last().fileName, QStringLiteral("ui_calibration_plot"));
        QVERIFY(fileBytes(path("plot.bmp")).startsWith("BM"));
        // A new run takes the old plot away; the plot commands stay enabled.
        calibrate();
        QTRY_VERIFY(!plotWindow());
        QVERIFY(item("mnuCopyPlot")->isEnabled());
    }

    void printPrintsTheCurrentReportToPdf() {
        openAndCalibrate();
        choose("mnuFile", "mnuFileItem3");
        auto* dialog = mWindow->findChild<PrintDialog*>(QStringLiteral("frmPrint"));
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY2(!dialog->findChild<QCheckBox*>(QStringLiteral("chkPlot"))->isEnabled(),
                 "no plot has been produced");
        dialog->setPrinterName(QString());
        mDialogs.answers = {path("report.pdf")};
        QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("chkResults")),
                          Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOKPrint")),
                          Qt::LeftButton);
        QVERIFY(fileBytes(path("report.pdf")).startsWith("%PDF"));
        QTRY_VERIFY(!mWindow->findChild<PrintDialog*>(QStringLiteral("frmPrint")));
        // Once a plot exists, the dialog offers it.
        choose("mnuPlot", "mnuMakePlot");
        choose("mnuFile", "mnuFileItem3");
        dialog = mWindow->findChild<PrintDialog*>(QStringLiteral("frmPrint"));
        QVERIFY(dialog && dialog->findChild<QCheckBox*>(QStringLiteral("chkPlot"))->isEnabled());
    }

    void programOpensTheFileGivenOnItsCommandLine() {
        // The screenshot mode opens the file, presses Calibrate and saves two pictures.
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("MORVANE_SCREENSHOTS"), mFolder->path());
        // Only the program's own messages reach the standard error.
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*=false"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MORVANE_PROGRAM), {fixture("ui_calibration.txt")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        for (const char* name : {"editor.png", "results.png"})
            QVERIFY(!QImage(path(name)).isNull());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
