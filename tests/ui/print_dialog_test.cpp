// The print dialog and the printouts. Reports are printed to PDF files and read back with
// poppler's pdftotext in its physical layout mode at the report's column pitch (-fixed); the
// plot page is checked with pdfinfo and pdfimages. The expected report lines are the ones
// where the printed layout differs from the screen's, laid out by hand from the report's
// rules; every number in them comes from the bc calculation in tests/data/report_worked_example.bc
// (40 digits), rounded by hand to the shown decimals.

#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "graph_window.h"
#include "grid_conversion.h"
#include "plot_options.h"
#include "print_dialog.h"
#include "report_printer.h"

#include <QCheckBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

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

PrintInputs inputsOf(Session& session) {
    return {[&session]() -> Calibration& { return session.calibration; },
            [&session] { return session.fields; }, [] { return headerAt("22:13:20"); },
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

// The pages of a PDF as text: pdftotext places every word at its column of the report's pitch.
// The printable area's left margin is taken off every line (the first page always has a line
// that starts in the first column), and trailing blanks and blank lines at a page's end go.
QStringList pdfPages(const QString& pdf) {
    const QString pitch = QString::number(columnPitchInPoints());
    QStringList pages = runTool("pdftotext", {"-fixed", pitch, pdf, "-"}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().isEmpty())
        pages.removeLast();
    const QRegularExpression trailingBlanks(QStringLiteral(" +$"),
                                            QRegularExpression::MultilineOption);
    const QRegularExpression firstWord(QStringLiteral("\\S"));
    qsizetype margin = 1000;
    for (QString& page : pages) {
        page.remove(trailingBlanks);
        while (page.endsWith(QLatin1Char('\n')))
            page.chop(1);
        for (const QString& line : page.split(QLatin1Char('\n')))
            margin = line.isEmpty() ? margin : std::min(margin, line.indexOf(firstWord));
    }
    const QRegularExpression marginBlanks(QStringLiteral("^ {%1}").arg(margin),
                                          QRegularExpression::MultilineOption);
    for (QString& page : pages)
        page.remove(marginBlanks);
    return pages;
}

bool printReportTo(Session& session, const QString& pdf, const char* time = "22:13:20") {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return PrintResultsReport(session.calibration, session.fields, headerAt(time), printer);
}

// Every expected line stands whole on its page, in order, the first one heading the page.
bool pageHasLines(const QString& page, const QStringList& expected) {
    const QStringList lines = page.split(QLatin1Char('\n'));
    if (expected.isEmpty() || lines.isEmpty() || lines.front() != expected.front())
        return false;
    qsizetype at = 0;
    for (const QString& line : expected) {
        at = lines.indexOf(line, at);
        if (at < 0)
            return false;
    }
    return true;
}

const QString kHeading = spaces(14) + "MORVANE";
const QString kTooFew =
    QStringLiteral("After exclusions, there is insufficient data to perform the calibration");

// The worked example with the upper INR limit at 6 and Tomenson's column: the statistics on the
// first page with the date and the time two print zones apart and the degrees of freedom at
// column 48; the table of PTs and INRs on a page of its own, its columns at 10, 20, ... 60.
QList<QStringList> printedWorkedExample() {
    auto row = [](const char* n, const char* y, const char* inrY, const char* x, const char* inrX,
                  const char* inrT) {
        return spaces(10) + n + spaces(8) + y + spaces(5) + inrY + spaces(6) + x + spaces(5) +
               inrX + spaces(6) + inrT;
    };
    return {{kHeading, "Date: 2023-11-14" + spaces(26) + "Time: 22:13:20",
             "    Test for zero displacement: test statistic = 0.41",
             spaces(47) + "degrees of freedom =  2", spaces(48) + "0.700 < p-value < 0.800",
             "CV of ISI =  2.18", kUnderline},
            {"PROTHROMBIN TIMES AND INTERNATIONAL NORMALIZED RATIOS",
             spaces(6) + "Plasma" + spaces(7) + "PT" + spaces(8) + "INR" + spaces(7) + "PT" +
                 spaces(8) + "INR" + spaces(7) + "INR",
             row("1", "12.50", "0.97", "12.00", "0.95", "0.96"),
             row("5", "55.00", "4.95", "45.00", "4.96", "4.96")}};
}

// The worked example as the program starts it (upper INR limit 4.5): plasma 5, with the INR
// (55 / 12.84523)^1.1 = 4.952, is left out and two abnormal plasmas are too few for a line.
QList<QStringList> printedINRExclusion() {
    return {{kHeading, spaces(14) + " Observations outside INR limits",
             spaces(14) + "(lower limit=1.50; upper limit=4.50)",
             spaces(14) + "    Plasma       PT                INR",
             spaces(19) + " 5 " + spaces(6) + " 55 " + spaces(10) + "4.95", kTooFew}};
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

QList<QStringList> printedSDExclusion() {
    return {{kHeading, spaces(14) + " Observations outside SD limits",
             spaces(14) + "(SD limit=3.00)", spaces(14) + "    Plasma       PT",
             spaces(19) + " 4 " + spaces(6) + " 35", kTooFew}};
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
    void printoutHasItsLinesOnItsPages_data();
    void printoutHasItsLinesOnItsPages();
    void printingTwiceChangesNothingButTheTime();
    void okPrintsReportAndPlotAsTwoJobs();

private:
    QTemporaryDir mDir;
};

void PrintDialogTest::initTestCase() {
    for (const char* tool : {"pdftotext", "pdfinfo", "pdfimages"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("poppler-utils are not installed");
    QVERIFY(mDir.isValid());
}

void PrintDialogTest::printoutHasItsLinesOnItsPages_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<QStringList>>("pages");
    QTest::newRow("full report: the table heads a new page, 47 spaces before the df")
        << "tomenson" << printedWorkedExample();
    QTest::newRow("failed fit after an INR exclusion: wide heading, one page")
        << "inr" << printedINRExclusion();
    QTest::newRow("failed fit after an SD exclusion: wide heading, one page")
        << "sd" << printedSDExclusion();
}

void PrintDialogTest::printoutHasItsLinesOnItsPages() {
    QFETCH(QString, setup);
    QFETCH(QList<QStringList>, pages);
    Session session;
    if (setup == "sd")
        makeSDExclusion(session);
    else
        calibrate(session, kWorkedExample, setup == "inr" ? "4.5" : "6", setup == "tomenson");
    const QString pdf = mDir.filePath(setup + ".pdf");
    QVERIFY(printReportTo(session, pdf));
    const QStringList printed = pdfPages(pdf);
    QCOMPARE(printed.size(), pages.size());
    for (qsizetype p = 0; p < pages.size(); ++p)
        QVERIFY2(pageHasLines(printed[p], pages[p]), qPrintable(printed[p]));
}

void PrintDialogTest::printingTwiceChangesNothingButTheTime() {
    Session session;
    calibrate(session, kWorkedExample, "6", true);
    const QString first = mDir.filePath("first.pdf");
    const QString second = mDir.filePath("second.pdf");
    // The first printing rounds the result fields in place; the second must not round again.
    QVERIFY(printReportTo(session, first, "22:13:20"));
    QVERIFY(printReportTo(session, second, "22:14:05"));
    QStringList firstPages = pdfPages(first);
    const QStringList secondPages = pdfPages(second);
    QVERIFY(firstPages != secondPages);
    firstPages[0].replace("Time: 22:13:20", "Time: 22:14:05");
    QCOMPARE(secondPages, firstPages);
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
    QCOMPARE(dialogs.requests[0].fileName, QString("report_worked_example_results.pdf"));
    QCOMPARE(dialogs.requests[1].fileName, QString("report_worked_example_plot.pdf"));
    QCOMPARE(pdfPages(report).size(), 2);
    // The plot's job: one page holding the picture at the same resolution both ways, its shape
    // kept. pdfimages -list gives two heading lines, then per image: page num type width height
    // color comp bpc enc interp object ID x-ppi y-ppi size ratio.
    QVERIFY(runTool("pdfinfo", {plot}).contains(QRegularExpression("Pages: +1\\n")));
    const QStringList listing =
        runTool("pdfimages", {"-list", plot}).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(listing.size(), 3);
    const QStringList image = listing[2].simplified().split(' ');
    QCOMPARE(image[3].toInt(), session.plot.width());
    QCOMPARE(image[4].toInt(), session.plot.height());
    QCOMPARE(image[12], image[13]);
}

QTEST_MAIN(PrintDialogTest)
#include "print_dialog_test.moc"
