// The print dialog and the printouts. Reports are printed to PDF files and read back with
// poppler's pdftotext in its physical layout mode at the report's column pitch (-fixed); the
// plot page is checked with pdfinfo and pdfimages. The
// expected report lines are laid out by hand from the report's rules; every number in them
// comes from the bc calculation in tests/data/report_worked_example.bc (40 digits), rounded by
// hand to the shown decimals.

#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "graph_window.h"
#include "grid_conversion.h"
#include "plot_options.h"
#include "print_dialog.h"
#include "report_printer.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <initializer_list>

using namespace morvane;

namespace {

const QString kWorkedExample = QStringLiteral(MORVANE_TEST_DATA_DIR "/report_worked_example.txt");
const QString kUnderline(58, QLatin1Char('_'));

QString spaces(int count) {
    return QString(count, QLatin1Char(' '));
}

// The records of a session after "Calibrate", reached as the program reaches them.
struct Session {
    Calibration calibration;
    EditorFields fields;
    QImage plot;
};

// Opens a data file and calibrates it as the program does: the file is read into the data set,
// written to the grid, its header fields fill the editor, and the run reads them back.
void calibrate(Session& session, const QString& dataFile, const std::string& upperINR,
               bool tomenson) {
    RecordingMessageSink messages;
    CalibrationDataSet& data = session.calibration.data;
    ReadDataFile(QFile::encodeName(dataFile).toStdString(), data, messages);
    GridCells grid;
    WriteDataToGrid(data, grid);
    EditorFields& fields = session.fields;
    fields.txtid = QFileInfo(dataFile).fileName().toStdString();
    fields.txtIRP = data.ReferencePreparationName.text();
    fields.txtWRP = data.WorkingPreparationName.text();
    fields.txtISI = data.ISIReference.text();
    fields.txtSEISI = data.SEISIReference.text();
    fields.txtUpperINR = upperINR;
    fields.Chkbox1 = tomenson;
    session.calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
    PerformCalibrationRun(session.calibration, grid, fields, messages);
}

ReportHeader headerAt(const char* time) {
    return {"report_worked_example.txt", "Version 3.1 (Morvane 1.0)", "2023-11-14", time};
}

PrintInputs inputsOf(Session& session, const char* time = "22:13:20") {
    return {[&session]() -> Calibration& { return session.calibration; },
            [&session] { return session.fields; }, [time] { return headerAt(time); },
            [&session] { return session.plot; }};
}

// Runs a poppler tool on a file and returns what it wrote.
QString runTool(const QString& tool, QStringList arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The width of a column of the printed report, in points.
double columnPitchInPoints() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QFontMetricsF metrics(DefaultPrinterFont(), &printer);
    return metrics.averageCharWidth() * 72.0 / printer.resolution();
}

int indentation(const QString& line) {
    int count = 0;
    while (count < line.size() && line[count] == QLatin1Char(' '))
        ++count;
    return count;
}

// The pages of a PDF as text: pdftotext places every word at its column of the report's pitch.
// The printable area's left margin is taken off every line (the first page always has a line
// that starts in the first column), and trailing blanks and blank lines at a page's end go.
QStringList pdfPages(const QString& pdf) {
    const QString pitch = QString::number(columnPitchInPoints());
    QStringList pages = runTool("pdftotext", {"-fixed", pitch, pdf, "-"}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().isEmpty())
        pages.removeLast();
    QList<QStringList> pageLines;
    int margin = 1000;
    for (const QString& page : pages) {
        QStringList lines = page.split(QLatin1Char('\n'));
        for (QString& line : lines) {
            line.remove(QRegularExpression(QStringLiteral(" +$")));
            if (!line.isEmpty())
                margin = std::min(margin, indentation(line));
        }
        while (!lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
        pageLines.append(lines);
    }
    QStringList texts;
    for (QStringList& lines : pageLines) {
        for (QString& line : lines)
            line.remove(0, margin);
        texts.append(lines.join(QLatin1Char('\n')));
    }
    return texts;
}

QString joinLines(std::initializer_list<QString> lines) {
    return QStringList(lines).join(QLatin1Char('\n'));
}

bool printReportTo(Session& session, const QString& pdf, const char* time = "22:13:20") {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return PrintResultsReport(session.calibration, session.fields, headerAt(time), printer);
}

// The printed header of the worked example: the date and the time two print zones apart.
QString printedHeader() {
    return joinLines({
        spaces(14) + "MORVANE",
        spaces(14) + "Version 3.1 (Morvane 1.0)",
        kUnderline,
        "File Name: report_worked_example.txt",
        "Date: 2023-11-14" + spaces(26) + "Time: 22:13:20",
        "",
        "Reference thromboplastin: Reference rTF/95",
        "Working thromboplastin: Working lot 17",
        "",
        " 2  normal observations and",
        " 3  abnormal observations in original data-set",
    });
}

// The worked example with the upper INR limit at 6 and Tomenson's column: the statistics on the
// first page, the table of PTs and INRs on a page of its own.
QStringList printedWorkedExample() {
    const QString statistics = joinLines({
        printedHeader(),
        kUnderline,
        "ABNORMAL+NORMAL CALIBRATION (n =  5 )",
        "",
        "",
        "Coefficients  :          y  =  -0.3133  +  1.1359 x",
        "Standard error:               (0.0425)    (0.0138)",
        "",
        "    SD about line = 0.0102   CV of slope = 1.21",
        "",
        "    95% Confidence Interval for slope: (1.0930, 1.1806)",
        kUnderline,
        "ABNORMAL ONLY CALIBRATION (n =  3 )",
        "",
        "Coefficients  :          y  =  -0.2920  +  1.1300 x",
        "Standard error:               (0.0300)    (0.0088)",
        "",
        "    SD about line = 0.0033   CV of slope = 0.78",
        "",
        "    95% Confidence Interval for slope: (1.0241,  1.2482 )",
        "",
        kUnderline,
        "",
        "TOMENSON'S CORRECTION",
        "",
        "    Vertical displacement, d, between abnormal only line",
        "    and mean of normal log PT = 0.0081 (exp(d) = 1.0081)",
        "    95% Confidence Interval for displacement: (-0.077,  .093 )",
        "    Test for zero displacement: test statistic = 0.41",
        spaces(47) + "degrees of freedom =  2",
        spaces(48) + "0.700 < p-value < 0.800",
        "",
        kUnderline,
        "ISI STATISTICS",
        "",
        "ISI (Reference rTF/95) = 1.1000",
        "MNPT =  12.8452  ( 2 normals)",
        "Standard error = 0.02",
        "CV of ISI =  1.82",
        "",
        "ISI (Working lot 17) = 1.2495",
        "MNPT = 12.4900 ( 2 normals)",
        "Standard error = 0.0273",
        "CV of ISI =  2.18",
        kUnderline,
    });
    // Plasma number at column 10, then the columns 20, 30, 40, 50 and 60.
    auto row = [](const char* n, const char* y, const char* inrY, const char* x, const char* inrX,
                  const char* inrT) {
        return spaces(10) + n + spaces(8) + y + spaces(5) + inrY + spaces(6) + x + spaces(5) +
               inrX + spaces(6) + inrT;
    };
    const QString table = joinLines({
        "PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS",
        "",
        spaces(19) + "Reference" + spaces(11) + "Working" + spaces(13) + "Tomenson's",
        spaces(19) + "Thromboplastin" + spaces(6) + "Thromboplastin" + spaces(6) + "corrected",
        spaces(6) + "Plasma" + spaces(7) + "PT" + spaces(8) + "INR" + spaces(7) + "PT" + spaces(8) +
            "INR" + spaces(7) + "INR",
        row("1", "12.50", "0.97", "12.00", "0.95", "0.96"),
        row("2", "13.20", "1.03", "13.00", "1.05", "1.06"),
        row("3", "22.00", "1.81", "20.00", "1.80", "1.81"),
        row("4", "35.00", "3.01", "30.00", "2.99", "3.00"),
        row("5", "55.00", "4.95", "45.00", "4.96", "4.96"),
    });
    return {statistics, table};
}

// The worked example as the program starts it (upper INR limit 4.5): plasma 5, with the INR
// (55 / 12.84523)^1.1 = 4.952, is left out and two abnormal plasmas are too few for a line.
QStringList printedINRExclusion() {
    return {joinLines({
        printedHeader(),
        kUnderline,
        spaces(14) + " Observations outside INR limits",
        spaces(14) + "(MNPT derived from all  2 normal observations",
        spaces(14) + "(lower limit=1.50; upper limit=4.50)",
        "",
        spaces(14) + "    Plasma       PT                INR",
        spaces(19) + " 5 " + spaces(6) + " 55 " + spaces(10) + "4.95",
        kUnderline,
        "After exclusions, there is insufficient data to perform the calibration",
    })};
}

// The worked example's records as if the SD limit had left out plasma 4 (PT 35) and the fit had
// then been abandoned.
void makeSDExclusion(Session& session) {
    calibrate(session, kWorkedExample, "6", false);
    CalibrationResults& results = session.calibration.results;
    results.SDExcludedCount = 1;
    results.SDExcluded[4] = 1;
    results.CalibrationFailed = 1;
}

QStringList printedSDExclusion() {
    return {joinLines({
        printedHeader(),
        kUnderline,
        spaces(14) + " Observations outside SD limits",
        spaces(14) + "(SD limit=3.00)",
        "",
        spaces(14) + "    Plasma       PT",
        spaces(19) + " 4 " + spaces(6) + " 35",
        kUnderline,
        "After exclusions, there is insufficient data to perform the calibration",
    })};
}

// A data file of 130 plasmas, 20 normal and 110 abnormal, whose INRs lie within 1.5 and 4.5.
QString writeLongDataFile(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray text = "\"RP\"\r\n\"WP\"\r\n1.1\r\n0.02\r\n";
    for (int i = 1; i <= 130; ++i) {
        const bool normal = i <= 20;
        const double y = normal ? 12.0 + 0.1 * (i % 7) : 20.0 + 0.18 * (i - 20);
        const double x = normal ? 11.5 + 0.1 * (i % 5) : 0.9 * y + 0.05 * (i % 3);
        text += QByteArray::number(normal ? 1 : 0) + "," + QByteArray::number(y) + "," +
                QByteArray::number(x) + "\r\n";
    }
    file.write(text);
    return path;
}

// A picture drawn by the plot window from calibrated records.
QImage plotPicture(const Session& session) {
    GraphWindow window;
    window.resize(640, 480);
    PlotOptions options;
    window.drawCalibrationPlot(session.calibration.data, session.calibration.results, options);
    return window.picture();
}

template <typename T> T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child named %s", name);
    return found;
}

// Clicks a check box on its indicator, as a user ticks it.
void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class PrintDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    // The printed report.
    void printoutFollowsTheReportLineForLine_data();
    void printoutFollowsTheReportLineForLine();
    void printingTwiceChangesNothingButTheTime();
    void longTableContinuesOnNewPages();
    void printingWritesNoScratchFile();
    void plotFillsThePageKeepingItsShape_data();
    void plotFillsThePageKeepingItsShape();

    // The dialog.
    void controlsStandAtTheirDesignedPlaces_data();
    void controlsStandAtTheirDesignedPlaces();
    void labelNamesTheCurrentPrinter();
    void plotBoxFollowsCopyPlot();
    void frameHasNoMinimizeOrMaximizeButton();
    void okWithoutATickKeepsTheDialogOpen();
    void okPrintsTheReportToTheChosenPdfUnderTheBusyPointer();
    void okPrintsReportAndPlotAsTwoJobs();
    void cancelledFileChoicePrintsNothing();
    void previewShowsTheTickedParts();

private:
    QTemporaryDir mDir;
};

void PrintDialogTest::initTestCase() {
    for (const char* tool : {"pdftotext", "pdfinfo", "pdfimages"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("poppler-utils are not installed");
    QVERIFY(mDir.isValid());
}

void PrintDialogTest::printoutFollowsTheReportLineForLine_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("full report: the table heads a new page, 47 spaces before the df")
        << "tomenson" << printedWorkedExample();
    QTest::newRow("failed fit after an INR exclusion: wide heading, one page")
        << "inr" << printedINRExclusion();
    QTest::newRow("failed fit after an SD exclusion: wide heading, one page")
        << "sd" << printedSDExclusion();
}

void PrintDialogTest::printoutFollowsTheReportLineForLine() {
    QFETCH(QString, setup);
    QFETCH(QStringList, expected);
    Session session;
    if (setup == "tomenson")
        calibrate(session, kWorkedExample, "6", true);
    else if (setup == "inr")
        calibrate(session, kWorkedExample, "4.5", false);
    else
        makeSDExclusion(session);
    const QString pdf = mDir.filePath(setup + ".pdf");
    QVERIFY(printReportTo(session, pdf));
    QCOMPARE(pdfPages(pdf), expected);
}

void PrintDialogTest::printingTwiceChangesNothingButTheTime() {
    Session session;
    calibrate(session, kWorkedExample, "6", true);
    const QString first = mDir.filePath("first.pdf");
    const QString second = mDir.filePath("second.pdf");
    QVERIFY(printReportTo(session, first, "22:13:20"));
    const CalibrationResults afterFirst = session.calibration.results;
    QVERIFY(printReportTo(session, second, "22:14:05"));
    const CalibrationResults& afterSecond = session.calibration.results;
    // Fields the report holds as numbers and as texts come through the second rounding unchanged.
    QVERIFY(afterSecond.SlopeCIHighAbnormal == afterFirst.SlopeCIHighAbnormal);
    QVERIFY(afterSecond.MNPTReferenceUsed == afterFirst.MNPTReferenceUsed);
    QVERIFY(afterSecond.CVISIWorking == afterFirst.CVISIWorking);
    QVERIFY(afterSecond.SlopeAll == afterFirst.SlopeAll);
    QStringList firstPages = pdfPages(first);
    const QStringList secondPages = pdfPages(second);
    QVERIFY(firstPages != secondPages);
    firstPages[0].replace("Time: 22:13:20", "Time: 22:14:05");
    QCOMPARE(secondPages, firstPages);
}

void PrintDialogTest::longTableContinuesOnNewPages() {
    Session session;
    const QString data = writeLongDataFile(mDir);
    QVERIFY(!data.isEmpty());
    calibrate(session, data, "4.5", false);
    QCOMPARE(session.calibration.results.CalibrationFailed, 0);
    const QString pdf = mDir.filePath("long.pdf");
    QVERIFY(printReportTo(session, pdf));
    const QStringList pages = pdfPages(pdf);
    QVERIFY2(pages.size() >= 3, "130 rows do not fit on the page the table starts");
    QVERIFY(pages[1].startsWith("PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS"));
    // Every plasma's row once, in order, the rows of a full page going on on the next.
    const QRegularExpression row(QStringLiteral("^ +(\\d+) +\\d+\\.\\d\\d +\\d+\\.\\d\\d +"
                                                "\\d+\\.\\d\\d +\\d+\\.\\d\\d$"));
    int expectedPlasma = 1;
    for (int p = 1; p < pages.size(); ++p) {
        const QStringList lines = pages[p].split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QRegularExpressionMatch match = row.match(line);
            if (match.hasMatch())
                QCOMPARE(match.captured(1).toInt(), expectedPlasma++);
        }
    }
    QCOMPARE(expectedPlasma, 131);
}

void PrintDialogTest::printingWritesNoScratchFile() {
    QTemporaryDir workingFolder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workingFolder.path()));
    Session session;
    calibrate(session, kWorkedExample, "6", false);
    const bool printed = printReportTo(session, mDir.filePath("scratch.pdf"));
    const QStringList left =
        QDir(workingFolder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    QDir::setCurrent(previous);
    QVERIFY(printed);
    QCOMPARE(left, QStringList());
}

void PrintDialogTest::plotFillsThePageKeepingItsShape_data() {
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QRectF>("target");
    QTest::newRow("wider than the page: full width, at the top")
        << QSizeF(400, 300) << QSizeF(800, 1000) << QRectF(0, 0, 800, 600);
    QTest::newRow("taller than the page: full height, centred across")
        << QSizeF(300, 600) << QSizeF(800, 1000) << QRectF(150, 0, 500, 1000);
    QTest::newRow("small pictures are enlarged")
        << QSizeF(40, 10) << QSizeF(800, 1000) << QRectF(0, 0, 800, 200);
}

void PrintDialogTest::plotFillsThePageKeepingItsShape() {
    QFETCH(QSizeF, picture);
    QFETCH(QSizeF, page);
    QFETCH(QRectF, target);
    QCOMPARE(PlotPictureTarget(picture, page), target);
}

void PrintDialogTest::controlsStandAtTheirDesignedPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("pixels");
    // Twips divided by 15 (1440 twips to the inch at 96 pixels to the inch).
    QTest::newRow("lblPrinter") << "lblPrinter"
                                << "Printer:" << QRect(16, 24, 65, 25);
    QTest::newRow("Label4") << "Label4"
                            << "" << QRect(96, 24, 177, 25);
    QTest::newRow("chkResults") << "chkResults"
                                << "Results" << QRect(24, 96, 129, 25);
    QTest::newRow("chkPlot") << "chkPlot"
                             << "Plot" << QRect(24, 128, 129, 25);
    QTest::newRow("cmdOKPrint") << "cmdOKPrint"
                                << "OK" << QRect(192, 96, 81, 25);
    QTest::newRow("cmdCancelPrint") << "cmdCancelPrint"
                                    << "Cancel" << QRect(192, 136, 81, 25);
    // The rectangle from (240, 1320) to (2400, 2400) twips.
    QTest::newRow("Line1 top") << "Line1"
                               << "" << QRect(16, 88, 145, 1);
    QTest::newRow("Line2 right") << "Line2"
                                 << "" << QRect(160, 88, 1, 73);
    QTest::newRow("Line3 bottom") << "Line3"
                                  << "" << QRect(16, 160, 145, 1);
    QTest::newRow("Line4 left") << "Line4"
                                << "" << QRect(16, 88, 1, 73);
}

void PrintDialogTest::controlsStandAtTheirDesignedPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, pixels);
    Session session;
    ScriptedFileDialogs dialogs;
    PrintDialog dialog(inputsOf(session), false, dialogs);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    if (dialog.logicalDpiX() != 96 || dialog.logicalDpiY() != 96)
        QSKIP("the expected places are worked out for 96 pixels to the inch");
    QCOMPARE(dialog.objectName(), QString("frmPrint"));
    QCOMPARE(dialog.windowTitle(), QString("Print"));
    QWidget* control = child<QWidget>(&dialog, name.toLatin1().constData());
    QCOMPARE(control->geometry(), pixels);
    if (!caption.isEmpty())
        QCOMPARE(control->property("text").toString(), caption);
}

void PrintDialogTest::labelNamesTheCurrentPrinter() {
    Session session;
    ScriptedFileDialogs dialogs;
    PrintDialog dialog(inputsOf(session), false, dialogs);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* label = child<QLabel>(&dialog, "Label4");
    const QString installed = DefaultPrinterName();
    QCOMPARE(label->text(), installed.isEmpty() ? QString("Print to PDF file") : installed);
    dialog.setPrinterName("Laboratory LaserJet");
    QCOMPARE(label->text(), QString("Laboratory LaserJet"));
    dialog.setPrinterName(QString());
    QCOMPARE(label->text(), QString("Print to PDF file"));
}

void PrintDialogTest::plotBoxFollowsCopyPlot() {
    Session session;
    ScriptedFileDialogs dialogs;
    for (bool plotAvailable : {false, true}) {
        PrintDialog dialog(inputsOf(session), plotAvailable, dialogs);
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        auto* results = child<QCheckBox>(&dialog, "chkResults");
        auto* plot = child<QCheckBox>(&dialog, "chkPlot");
        QVERIFY(!results->isChecked());
        QVERIFY(!plot->isChecked());
        QVERIFY(results->isEnabled());
        QCOMPARE(plot->isEnabled(), plotAvailable);
    }
    PrintDialog dialog(inputsOf(session), true, dialogs);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* plot = child<QCheckBox>(&dialog, "chkPlot");
    plot->setChecked(true);
    dialog.setPlotAvailable(false);
    QVERIFY(!plot->isEnabled());
    QVERIFY2(!plot->isChecked(), "a disabled box cannot stay ticked");
}

void PrintDialogTest::frameHasNoMinimizeOrMaximizeButton() {
    Session session;
    ScriptedFileDialogs dialogs;
    QMdiArea workspace;
    workspace.resize(800, 600);
    QPointer<PrintDialog> dialog = new PrintDialog(inputsOf(session), false, dialogs);
    QPointer<QMdiSubWindow> sub = new QMdiSubWindow;
    sub->setWidget(dialog);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    workspace.addSubWindow(sub);
    dialog->placeInWorkspace();
    workspace.show();
    sub->show();
    const Qt::WindowFlags flags = sub->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(sub->pos(), QPoint(0, 0));
    if (dialog->logicalDpiX() == 96 && dialog->logicalDpiY() == 96) {
        // 4500 by 3000 twips, grown when the frame leaves less than 4215 by 2535 inside.
        QVERIFY(sub->width() >= 300 && sub->height() >= 200);
        QVERIFY(dialog->width() >= 281 && dialog->height() >= 169);
    }
    // Cancel closes the window with its frame and prints nothing.
    tick(child<QCheckBox>(dialog, "chkResults"));
    QTest::mouseClick(child<QPushButton>(dialog, "cmdCancelPrint"), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(sub.isNull());
    QVERIFY(dialog.isNull());
    QVERIFY(dialogs.requests.isEmpty());
}

void PrintDialogTest::okWithoutATickKeepsTheDialogOpen() {
    Session session;
    calibrate(session, kWorkedExample, "6", false);
    ScriptedFileDialogs dialogs;
    QPointer<PrintDialog> dialog = new PrintDialog(inputsOf(session), true, dialogs);
    dialog->setPrinterName(QString());
    dialog->show();
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(!dialog.isNull());
    QVERIFY(dialog->isVisible());
    QVERIFY(dialogs.requests.isEmpty());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    delete dialog;
}

void PrintDialogTest::okPrintsTheReportToTheChosenPdfUnderTheBusyPointer() {
    Session session;
    calibrate(session, kWorkedExample, "6", true);
    const QString pdf = mDir.filePath("dialog_report.pdf");
    ScriptedFileDialogs dialogs;
    dialogs.answers = {pdf};
    Qt::CursorShape pointerWhilePrinting = Qt::ArrowCursor;
    PrintInputs inputs = inputsOf(session);
    inputs.calibration = [&]() -> Calibration& {
        const QCursor* pointer = QGuiApplication::overrideCursor();
        pointerWhilePrinting = pointer ? pointer->shape() : Qt::ArrowCursor;
        return session.calibration;
    };
    QPointer<PrintDialog> dialog = new PrintDialog(std::move(inputs), false, dialogs);
    dialog->setPrinterName(QString());
    dialog->show();
    tick(child<QCheckBox>(dialog, "chkResults"));
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(dialog.isNull());
    QCOMPARE(pointerWhilePrinting, Qt::WaitCursor);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QCOMPARE(dialogs.requests.size(), 1);
    const FileDialogRequest& request = dialogs.requests[0];
    QCOMPARE(request.kind, FileDialogKind::Save);
    QCOMPARE(request.title, QString("Print Results to PDF"));
    QCOMPARE(request.fileName, QString("report_worked_example_results.pdf"));
    QCOMPARE(request.filter, QString("PDF Files (*.pdf)|*.pdf"));
    QCOMPARE(pdfPages(pdf), printedWorkedExample());
}

void PrintDialogTest::okPrintsReportAndPlotAsTwoJobs() {
    Session session;
    calibrate(session, kWorkedExample, "6", true);
    session.plot = plotPicture(session);
    const QString report = mDir.filePath("both_report.pdf");
    const QString plot = mDir.filePath("both_plot.pdf");
    ScriptedFileDialogs dialogs;
    dialogs.answers = {report, plot};
    QPointer<PrintDialog> dialog = new PrintDialog(inputsOf(session), true, dialogs);
    dialog->setPrinterName(QString());
    dialog->show();
    tick(child<QCheckBox>(dialog, "chkResults"));
    tick(child<QCheckBox>(dialog, "chkPlot"));
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(dialog.isNull());
    QCOMPARE(dialogs.requests.size(), 2);
    QCOMPARE(dialogs.requests[1].title, QString("Print Plot to PDF"));
    QCOMPARE(dialogs.requests[1].fileName, QString("report_worked_example_plot.pdf"));
    QCOMPARE(pdfPages(report).size(), 2);
    // The plot's job: one page holding the picture, at the same resolution both ways (its shape
    // kept) and spanning the printable width (it is not taller than wide). pdfimages -list
    // gives two heading lines, then per image: page num type width height color comp bpc enc
    // interp object ID x-ppi y-ppi size ratio, the resolutions rounded to whole numbers.
    QVERIFY(runTool("pdfinfo", {plot}).contains(QRegularExpression("Pages: +1\\n")));
    const QStringList listing =
        runTool("pdfimages", {"-list", plot}).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(listing.size(), 3);
    const QStringList image = listing[2].simplified().split(' ');
    QCOMPARE(image[3].toInt(), session.plot.width());
    QCOMPARE(image[4].toInt(), session.plot.height());
    QCOMPARE(image[12], image[13]);
    QVERIFY(session.plot.width() >= session.plot.height());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const double printableWidth = printer.pageLayout().paintRect(QPageLayout::Point).width();
    QVERIFY(std::abs(image[12].toDouble() - session.plot.width() * 72.0 / printableWidth) <= 0.5);
}

void PrintDialogTest::cancelledFileChoicePrintsNothing() {
    Session session;
    calibrate(session, kWorkedExample, "6", false);
    ScriptedFileDialogs dialogs; // no answer: the save dialog is cancelled
    QPointer<PrintDialog> dialog = new PrintDialog(inputsOf(session), false, dialogs);
    dialog->setPrinterName(QString());
    dialog->show();
    auto* results = child<QCheckBox>(dialog, "chkResults");
    results->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(!dialog.isNull());
    QCOMPARE(dialogs.requests.size(), 1);
    QVERIFY(results->isChecked());
    delete dialog;
}

void PrintDialogTest::previewShowsTheTickedParts() {
    Session session;
    calibrate(session, kWorkedExample, "6", true);
    session.plot = plotPicture(session);
    ScriptedFileDialogs dialogs;
    QPointer<PrintDialog> dialog = new PrintDialog(inputsOf(session), true, dialogs);
    dialog->setPrinterName(QString());
    dialog->show();
    auto* preview = child<QPushButton>(dialog, "cmdPreview");
    QVERIFY2(!preview->isEnabled(), "nothing ticked, nothing to preview");
    child<QCheckBox>(dialog, "chkResults")->setChecked(true);
    child<QCheckBox>(dialog, "chkPlot")->setChecked(true);
    QVERIFY(preview->isEnabled());
    int pages = -1;
    QTimer::singleShot(0, this, [&pages] {
        auto* shown = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!shown)
            return;
        if (auto* widget = shown->findChild<QPrintPreviewWidget*>())
            pages = widget->pageCount();
        shown->reject();
    });
    QTest::mouseClick(preview, Qt::LeftButton);
    QCOMPARE(pages, 3); // the report's two pages and the plot's
    QVERIFY(!dialog.isNull());
    delete dialog;
}

QTEST_MAIN(PrintDialogTest)
#include "print_dialog_test.moc"
