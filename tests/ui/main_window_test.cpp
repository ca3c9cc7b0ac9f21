// The main window driven through its menus (by their access keys) and the editor's controls,
// with scripted message boxes and file dialogs. Expected report numbers come from the hand
// calculation in tests/data/report_worked_example.bc.
#include "calibration_checks_text.h"
#include "checks_window.h"
#include "cli_app.h"
#include "graph_window.h"
#include "results_window.h"
#include "window_test_support.h"

#include <QClipboard>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>
#include <filesystem>

using namespace morvane;
using namespace morvane::test;

namespace {

const QString kQuestion = QStringLiteral("TIRONEX 3.1: ");
// The items whose enabling changes, in alphabetical order; the others are always enabled.
const QStringList kChanging = {"mnuChecks",    "mnuCopyPlot", "mnuDataEditor", "mnuFileItem3",
                               "mnuFileItem5", "mnuGraph",    "mnuMakePlot",   "mnuPlotOptions",
                               "mnuResults",   "mnuSavePlot"};

// The messages morvane-cli prints for `calibrate FILE`, one "TITLE: TEXT" per line.
QStringList cliMessages(const QString& file) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = std::tmpfile();
    std::FILE* err = ::open_memstream(&text, &size);
    RunCli({"calibrate", file.toStdString()},
           std::filesystem::path(MORVANE_TCRIT_FILE).parent_path(), out, err);
    std::fclose(err);
    std::fclose(out);
    const QString printed = QString::fromUtf8(text, static_cast<qsizetype>(size));
    std::free(text);
    return printed.split('\n', Qt::SkipEmptyParts);
}

} // namespace

class MainWindowTest : public QObject, MainWindowDriver {
    Q_OBJECT

    QString row(int r) const {
        auto* grid = child<DataGrid>(mWindow->editor(), "Grid1");
        return QStringList{grid->text(r, 1), grid->text(r, 2), grid->text(r, 3)}.join(',');
    }
    QStringList enabledItems() const {
        QStringList enabled = kChanging;
        enabled.removeIf([&](const QString& name) {
            return !child<QAction>(mWindow.get(), qPrintable(name))->isEnabled();
        });
        return enabled;
    }
    bool resultsShown() const {
        return mWindow->results() && mWindow->results()->parentWidget()->isVisible();
    }

private slots:
    void init() { restart(); }

    // A file the reader refuses gives the same message in both programs; a data set the run
    // refuses too. The command line stops there, the window goes on with what was read.
    void windowAndCommandLineSayTheSameOfABadFile() {
        for (const QString& file : {fixture("ui_semicolon_in_a_pt.txt"), path("none.txt"),
                                    mFolder->path(), fixture("report_two_abnormals.txt")}) {
            mDialogs.answers = {file};
            choose("mnuFile", "mnuFileItem1");
            QStringList shown = takeMessages();
            if (shown.isEmpty()) {
                QTest::mouseClick(child<QPushButton>(mWindow->editor(), "Command1"),
                                  Qt::LeftButton);
                shown = takeMessages();
            }
            QVERIFY2(!shown.isEmpty(), qPrintable(file));
            QCOMPARE(shown, cliMessages(file));
        }
    }

    // Typing goes to the edit box above the grid at start, after Open, View > Data Editor and
    // New; Enter in a parameter field moves on to the next field and writes no cell.
    void typingGoesToTheEditBoxAndEnterInAFieldWritesNoCell() {
        const auto focused = [] { return QApplication::focusWidget()->objectName(); };
        QTRY_COMPARE(focused(), "txtGrid");
        open("ui_calibration.txt");
        clickCell(child<DataGrid>(mWindow->editor(), "Grid1"), 2, 2);
        QTest::keyClicks(field("txtGrid"), "99");
        field("txtISI")->setFocus();
        QTest::keyClick(field("txtISI"), Qt::Key_Return);
        QCOMPARE(focused(), "txtSEISI");
        child<QWidget>(mWindow->editor(), "ComboCI")->setFocus(); // and in the confidence list
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(focused() != "ComboCI");
        QCOMPARE(row(2), "Normal,12.9,13.8");
        choose("mnuView", "mnuDataEditor");
        QTRY_COMPARE(focused(), "txtGrid");
        choose("mnuFile", "mnuFileItem0"); // New, answered Yes
        QTRY_COMPARE(focused(), "txtGrid");
    }

    void missingCriticalTTableStopsTheRun() {
        start(path("none/tcrit.txt"));
        QTRY_VERIFY(!mMessages.messages.empty());
        takeMessages();
        open("ui_calibration.txt");
        QCOMPARE(takeMessages().value(0).section(':', 0, 0), "Critical t Table");
        QCOMPARE(enabledItems(), QStringList());
    }

    void plotCommandsWorkUntilNewTakesThemAway() {
        open("ui_calibration.txt");
        choose("mnuPlot", "mnuPlotOptions");
        QCOMPARE(child<QLineEdit>(mWindow.get(), "txtYLabel")->text(), "RefPrep A");
        replaceText(child<QLineEdit>(mWindow.get(), "txtPlotTitle"), "Lot 7 & lot 8");
        tick(child<QCheckBox>(mWindow.get(), "chkAbnormal"));
        QTest::keyClick(child<QLineEdit>(mWindow.get(), "txtPlotTitle"), Qt::Key_Return); // Apply
        QCOMPARE(mWindow->plotOptions().PlotTitle, std::string("Lot 7 & lot 8"));
        QVERIFY(!mWindow->plotOptions().ShowAbnormalOnlyLine);
        QVERIFY(mWindow->plotOptions().ShowLegend);
        choose("mnuPlot", "mnuMakePlot");
        const QImage picture = child<GraphWindow>(mWindow.get(), "frmGraph")->picture();
        // Black on white, the axes' corner inked 1.5 U in from the left and bottom of 8 U.
        QCOMPARE(picture.pixel(2, 2), qRgb(255, 255, 255));
        QVERIFY(qGray(picture.pixel(picture.width() * 1.5 / 8, picture.height() * 6.5 / 8)) < 128);
        QApplication::clipboard()->clear();
        choose("mnuPlot", "mnuCopyPlot");
        QCOMPARE(QApplication::clipboard()->image(), picture);
        for (const auto& [name, format] :
             {std::pair("plot", "bmp"), {"plot.png", "png"}, {"plot.svg", "svg"}}) {
            mDialogs.answers = {path(name)};
            choose("mnuPlot", "mnuSavePlot");
            QImageReader reader(path(name));
            QCOMPARE(reader.format(), format);
            const QImage saved = reader.read().convertToFormat(picture.format());
            QVERIFY(format == QByteArray("svg") ? saved.size() == picture.size()
                                                : saved == picture);
        }
        QCOMPARE(mDialogs.requests.last().fileName, "ui_calibration_plot");
        QCOMPARE(mDialogs.requests.last().defaultExt, "bmp");
        replaceText(field("txtUpperINR"), "1.6");
        QTest::mouseClick(child<QPushButton>(mWindow->editor(), "Command1"), Qt::LeftButton);
        QCOMPARE(enabledItems(), kChanging);              // a failed run keeps the plot commands
        QTRY_VERIFY(!mWindow->findChild<GraphWindow*>()); // but takes the old plot away
        const QString question = kQuestion + "Data and results will be erased.  Are you sure you "
                                             "want to proceed?";
        takeMessages();
        choose("mnuPlot", "mnuCopyPlot"); // with the plot gone: the clipboard emptied, and a word
        choose("mnuPlot", "mnuSavePlot");
        QVERIFY(QApplication::clipboard()->image().isNull());
        QCOMPARE(takeMessages(),
                 QStringList(2, "Plot: There is no plot yet: choose Plot > Produce Plot first."));
        mMessages.answers = {MessageAnswer::No};
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(row(1), "Normal,12.4,13.1");
        choose("mnuFile", "mnuFileItem0"); // answered Yes
        QCOMPARE(takeMessages(), QStringList(2, question));
        QCOMPARE(mWindow->editor()->windowTitle(), "Data Editor: dataset1.txt");
        QCOMPARE(row(1), ",,");
        QVERIFY(!resultsShown());
        QCOMPARE(enabledItems(), QStringList());
    }

    void reportIsShownCheckedAndSaved() {
        const QDate today = QDate::currentDate();
        open("report_worked_example.txt", {"txtUpperINR=6", "txtid=run5", "Chkbox1"});
        QCOMPARE(field("txtid")->text(), "run5.txt");
        const QString date = mWindow->results()->reportText().section("\r\n", 4, 4).mid(6, 10);
        QVERIFY2(QDate::fromString(date, Qt::ISODate) >= today,
                 qPrintable(date)); // or the next day
        // View > Calibration Checks: the design fails (2 normal, 3 abnormal plasmas), visibly.
        choose("mnuView", "mnuChecks");
        auto* table = child<QTableWidget>(mWindow->checks(), "tblChecks");
        QStringList verdicts;
        for (int r = 0; r < table->rowCount(); ++r)
            verdicts << table->item(r, 0)->text() + " | " + table->item(r, 3)->text();
        QCOMPARE(verdicts, QStringList({"Precision of the slope | Pass", "Design | Fail",
                                        "Exclusions | ", "Model adequacy (Tomenson) | Pass",
                                        "% INR deviation at INR 2.0 and 4.5 | "}));
        QVERIFY(table->item(1, 3)->font().bold());
        QCOMPARE(table->item(1, 3)->background().color(), QColor(192, 0, 0));
        auto* overall = child<QLabel>(mWindow->checks(), "lblOverall");
        QCOMPARE(overall->text(), "Calibration does not meet the guideline criteria: Design");
        overall->ensurePolished(); // in bold, in the failure's red
        QCOMPARE(overall->palette().color(overall->foregroundRole()), QColor(192, 0, 0));
        QVERIFY(overall->font().bold());
        mDialogs.answers = {path("checks.txt")};
        QTest::mouseClick(child<QPushButton>(mWindow->checks(), "cmdSaveChecks"), Qt::LeftButton);
        QCOMPARE(fileBytes(path("checks.txt")).toStdString(),
                 CalibrationChecksText(mWindow->calibration().checks));
        QCOMPARE(mDialogs.requests.last().defaultExt, "txt");
        const QString tableRow = "          1        12.50     0.97      12.00     0.95      0.96";
        for (const QString& line :
             {"File Name: " + QDir::toNativeSeparators(fixture("report_worked_example.txt")),
              QStringLiteral("CV of ISI =  2.18 "), tableRow})
            QVERIFY2(mWindow->results()->reportText().contains("\r\n" + line + "\r\n"),
                     qPrintable(line));
        // Saved as the window shows it, in quotes.
        child<QPlainTextEdit>(mWindow->results(), "txtResults")
            ->setPlainText(QStringLiteral("first line\nsecond \"quoted\" line, 2 \u00b5l\n"));
        QFile::remove("run5_results");
        mDialogs.answers = {std::nullopt}; // cancelled: nothing is written
        choose("mnuFile", "mnuFileItem5");
        QVERIFY(!QFile::exists("run5_results"));
        mDialogs.answers = {path("results.txt")};
        choose("mnuFile", "mnuFileItem5");
        QCOMPARE(mDialogs.requests.last().title, "Save Results As...");
        QCOMPARE(mDialogs.requests.last().fileName, "run5_results");
        QCOMPARE(fileBytes(path("results.txt")),
                 "\"first line\r\nsecond \"quoted\" line, 2 \xc2\xb5l\r\n\"\r\n");
        // A later run, here one whose fit fails, shows its own checks in the open window.
        replaceText(field("txtUpperINR"), "4.5");
        QTest::mouseClick(child<QPushButton>(mWindow->editor(), "Command1"), Qt::LeftButton);
        QCOMPARE(overall->text(), "Calibration could not be judged against the guideline criteria");
    }

    void closingAsksBeforeTheResultsGo() {
        open("ui_calibration.txt");
        QWidget* results = mWindow->results()->parentWidget();
        mMessages.answers = {MessageAnswer::No, MessageAnswer::No};
        QVERIFY(!mWindow->close());
        QVERIFY(!results->close());
        QVERIFY(resultsShown());
        QVERIFY(results->close()); // answered Yes
        QCOMPARE(takeMessages(), QStringList(3, kQuestion + "Closing this window will erase "
                                                            "results.  Are you sure you want to "
                                                            "close the window?"));
        QTRY_VERIFY(!resultsShown());
    }

    // Delete Row asks, then moves the rows up. Each change of the grid is one step to take back
    // and make again, and the cell it was made at becomes the cell being edited; undone to the
    // opened file, the data set is unchanged.
    void gridChangesAreUndoneAndRedoneStepByStep() {
        mDialogs.answers = {fixture("ui_calibration.txt")};
        choose("mnuFile", "mnuFileItem1");
        auto* grid = child<DataGrid>(mWindow->editor(), "Grid1");
        const auto rows = [&] { return QStringList{row(2), row(3), row(4), row(5)}; };
        QList<QStringList> states{rows()};
        enterIntoCell(mWindow->editor(), 2, 3, "99");
        states << rows();
        enterIntoCell(mWindow->editor(), 3, 1, "Abnormal");
        states << rows();
        clickCell(grid, 5, 2);
        QApplication::clipboard()->setText("40\t41\n");
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        states << rows();
        choose("mnuEdit", "mnuDeleteRow");
        QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(2, grid->cellRect(4, 2, grid->viewport()).center().y()));
        mMessages.answers = {MessageAnswer::No};
        choose("mnuEdit", "mnuDeleteRow"); // answered No: the row stays
        QCOMPARE(rows(), states[3]);
        choose("mnuEdit", "mnuDeleteRow"); // answered Yes
        const QString question =
            kQuestion + "The selected row will be erased.  Are you sure you want to proceed?";
        QCOMPARE(takeMessages(), (QStringList{"Delete Row Error: An entire row must be selected",
                                              question, question}));
        QCOMPARE(rows(), (QStringList{"Normal,12.9,99", "Abnormal,11.8,12.6", "Normal,40,41",
                                      "Abnormal,21.5,24"}));
        const QList<QPoint> cells = {{2, 3}, {3, 1}, {5, 2}, {4, 1}};
        for (int step = 3; step >= 0; --step) {
            choose("mnuEdit", "mnuUndo");
            QCOMPARE(rows(), states[step]);
            QCOMPARE(QPoint(mWindow->editor()->currentRow(), mWindow->editor()->currentCol()),
                     cells[step]);
        }
        QVERIFY(!mWindow->editor()->isChanged());
        QCOMPARE(grid->text(130, 0), "130"); // the row numbers stay
        for (const QKeySequence& redo : {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")})
            QTest::keySequence(field("txtGrid"), redo);
        QCOMPARE(rows(), states[2]);
        QTest::keySequence(field("txtGrid"), QKeySequence::Undo);
        QCOMPARE(rows(), states[1]);
        choose("mnuFile", "mnuFileItem0"); // Discard, then Yes
        QVERIFY(!child<QAction>(mWindow.get(), "mnuUndo")->isEnabled());
    }

    // An opened file is saved back byte for byte but for what was typed. Only changed data
    // brings the question: Cancel keeps everything, Save goes through Save Data As, Discard goes
    // on.
    void changedDataIsAskedAboutBeforeItGoes() {
        mDialogs.answers = {fixture("ui_calibration.txt"), path("saved.txt")};
        choose("mnuFile", "mnuFileItem1");
        QCOMPARE((QStringList{mWindow->editor()->windowTitle(), field("txtIRP")->text(), row(13)}),
                 (QStringList{"Data Editor: ui_calibration.txt", "RefPrep A", "Abnormal,46,56.1"}));
        enterIntoCell(mWindow->editor(), 2, 3, "99");
        mMessages.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel, MessageAnswer::Cancel,
                             MessageAnswer::Save, MessageAnswer::No};
        choose("mnuFile", "mnuFileItem1");
        QVERIFY(!mWindow->close());
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(row(2), "Normal,12.9,99");
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(fileBytes(path("saved.txt")),
                 fileBytes(fixture("ui_calibration.txt")).replace("12.9,13.8", "12.9,99"));
        QCOMPARE(mWindow->editor()->windowTitle(), "Data Editor: saved.txt");
        QCOMPARE(takeMessages(),
                 (QStringList(4, kQuestion + "Save the changes to the data set?")
                  << kQuestion + "Data and results will be erased.  Are you sure you want to "
                                 "proceed?"));
        QCOMPARE(mDialogs.requests.value(0).title, "Open Data File");
        QCOMPARE(mDialogs.requests.value(1).fileName, "ui_calibration.txt");
        QCOMPARE(mDialogs.requests.size(), 2); // the second Open was cancelled before its dialog
        mDialogs.answers = {path("again.txt")};
        choose("mnuFile", "mnuFileItem2"); // Save Data As, from the menu
        QCOMPARE(fileBytes(path("again.txt")), fileBytes(path("saved.txt")));
        QVERIFY(!mWindow->editor()->isChanged()); // saved: nothing left to ask about
        enterIntoCell(mWindow->editor(), 2, 3, "98");
        mMessages.answers = {MessageAnswer::Save, MessageAnswer::Discard};
        mDialogs.answers = {std::nullopt}; // Save Data As cancelled: New goes no further
        choose("mnuFile", "mnuFileItem0");
        QCOMPARE(row(2), "Normal,12.9,98");
        QVERIFY(mWindow->close());
        QCOMPARE(takeMessages(), QStringList(2, kQuestion + "Save the changes to the data set?"));
    }

    // File > Exit ends the program's event loop, with status 0.
    void exitEndsTheProgram() {
        QTimer::singleShot(0, this, [this] { choose("mnuFile", "mnuFileItem7"); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
    }

    // A data file dropped on the window is opened as by File > Open; a web address is refused.
    void aDroppedDataFileIsOpened() {
        QMimeData web, file;
        web.setUrls({QUrl("https://example.org/ui_calibration.txt")});
        file.setUrls({QUrl::fromLocalFile(fixture("ui_calibration.txt"))});
        for (QMimeData* data : {&web, &file}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(mWindow.get(), &enter);
            QCOMPARE(enter.isAccepted(), data == &file);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(mWindow.get(), &drop);
            QCOMPARE(mWindow->editor()->windowTitle(), data == &file
                                                           ? "Data Editor: ui_calibration.txt"
                                                           : "Data Editor: dataset1.txt");
        }
    }

    void aboutBoxStaysUntilOk() {
        QTest::keyClick(mWindow.get(), Qt::Key_A, Qt::AltModifier);
        auto* about = child<QWidget>(mWindow.get(), "frmAbout");
        QTRY_VERIFY(about->isVisible());
        QTest::mouseClick(child<QPushButton>(about, "cmdAboutOK"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
