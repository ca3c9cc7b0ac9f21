// The print dialog and the printouts, printed to PDF files and read back with poppler's tools:
// pdftotext -fixed at the report's column pitch puts every word at its column. The expected lines
// (tests/data/printed_*.txt, pages split by a form feed) were laid out by hand from the report's
// rules; every number in them comes from tests/data/report_worked_example.bc.
#include "calibration_run.h"
#include "critical_t_table.h"
#include "data_file.h"
#include "graph_window.h"
#include "grid_conversion.h"
#include "print_dialog.h"
#include "report_printer.h"
#include "window_test_support.h"

#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace morvane;
using namespace morvane::test;

namespace {

// The records after Calibrate on the worked example, reached as the program reaches them.
struct Session {
    Calibration calibration;
    EditorFields fields;
    QImage plot;
    Session(const char* upperINR, bool tomenson) {
        RecordingMessageSink messages;
        ReadDataFile(MORVANE_TEST_DATA_DIR "/report_worked_example.txt", calibration.data,
                     messages);
        GridCells grid;
        WriteDataToGrid(calibration.data, grid);
        fields = EditorFieldsAfterOpening(calibration.data, "report_worked_example.txt");
        fields.txtUpperINR = upperINR;
        fields.Chkbox1 = tomenson;
        calibration.tcrit = LoadCriticalTTable(MORVANE_TCRIT_FILE);
        PerformCalibrationRun(calibration, grid, fields, messages);
    }
    bool print(const QString& pdf) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return PrintResultsReport(calibration, fields, header(), printer);
    }
    static ReportHeader header() {
        return {"report_worked_example.txt", "Version 3.1 (Morvane 1.0)", "2023-11-14", "22:13:20"};
    }
};

QString runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(QStandardPaths::findExecutable(tool), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The pages as text without trailing blanks and without the printable area's left margin (the
// first page always has a line that starts in the report's first column).
QStringList pdfPages(const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QFontMetricsF metrics(DefaultPrinterFont(), &printer);
    const double pitch = metrics.averageCharWidth() * 72.0 / printer.resolution();
    const auto lines = QRegularExpression::MultilineOption;
    QString text = runTool("pdftotext", {"-fixed", QString::number(pitch), pdf, "-"})
                       .replace('\f', "\f\n")
                       .remove(QRegularExpression(" +$", lines));
    qsizetype margin = 1000;
    for (const QRegularExpressionMatch& indent :
         QRegularExpression("^ *(?=\\S)", lines).globalMatch(text))
        margin = std::min(margin, indent.capturedLength());
    text.remove(QRegularExpression(QStringLiteral("^ {%1}").arg(margin), lines));
    return text.split(QRegularExpression("\\n*\\f\\n"), Qt::SkipEmptyParts);
}

// Every expected line stands whole on its page, in order, the first one heading the page.
bool pageHasLines(const QString& page, const QStringList& expected) {
    const QStringList lines = page.split('\n');
    qsizetype at = 0;
    for (const QString& line : expected)
        if ((at = lines.indexOf(line, at)) < 0)
            return false;
    return lines.value(0) == expected.value(0);
}

} // namespace

class PrintDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir mDir;

private slots:
    void initTestCase() {
        for (const char* tool : {"pdftotext", "pdfinfo", "pdfimages"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("poppler-utils are not installed");
    }

    void printoutHasItsLinesOnItsPages_data() {
        QTest::addColumn<QString>("upperINR");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full report: the PT and INR table heads a new page")
            << "6"
            << "printed_table_on_second_page.txt";
        QTest::newRow("failed fit after an INR exclusion: wide heading, one page")
            << "4.5"
            << "printed_inr_exclusion_one_page.txt";
    }
    void printoutHasItsLinesOnItsPages() {
        QFETCH(QString, upperINR);
        QFETCH(QString, expected);
        Session session(qPrintable(upperINR), upperINR == "6");
        QVERIFY(session.print(mDir.filePath("report.pdf")));
        const QStringList printed = pdfPages(mDir.filePath("report.pdf"));
        const QStringList pages = QString::fromUtf8(fileBytes(fixture(expected))).split("\f\n");
        QCOMPARE(printed.size(), pages.size());
        for (qsizetype p = 0; p < pages.size(); ++p)
            QVERIFY2(pageHasLines(printed[p], pages[p].split('\n', Qt::SkipEmptyParts)),
                     qPrintable(printed[p]));
    }

    void okPrintsReportAndPlotAsTwoJobs() {
        Session session("6", true);
        GraphWindow window;
        window.resize(640, 480);
        window.drawCalibrationPlot(session.calibration.data, session.calibration.results, {});
        session.plot = window.picture();
        ScriptedFileDialogs dialogs;
        dialogs.answers = {mDir.filePath("report.pdf"), mDir.filePath("plot.pdf")};
        PrintInputs inputs{[&]() -> Calibration& { return session.calibration; },
                           [&] { return session.fields; }, [] { return Session::header(); },
                           [&] { return session.plot; }};
        QPointer<PrintDialog> dialog = new PrintDialog(inputs, true, dialogs);
        dialog->setPrinterName(QString());
        dialog->show();
        tick(child<QCheckBox>(dialog, "chkResults"));
        tick(child<QCheckBox>(dialog, "chkPlot"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        QCOMPARE(dialogs.requests.value(1).fileName, QString("report_worked_example_plot.pdf"));
        QCOMPARE(pdfPages(mDir.filePath("report.pdf")).size(), 2);
        // One page holding the picture whole, at the same resolution both ways. pdfimages -list
        // gives two heading lines, then: page num type width height color comp bpc enc interp
        // object ID x-ppi y-ppi size ratio.
        QVERIFY(runTool("pdfinfo", {mDir.filePath("plot.pdf")})
                    .contains(QRegularExpression("Pages: +1\\n")));
        const QStringList image = runTool("pdfimages", {"-list", mDir.filePath("plot.pdf")})
                                      .section('\n', 2, 2)
                                      .simplified()
                                      .split(' ');
        QCOMPARE(image.value(3).toInt(), session.plot.width());
        QCOMPARE(image.value(4).toInt(), session.plot.height());
        QCOMPARE(image.value(12), image.value(13));
    }
};

QTEST_MAIN(PrintDialogTest)
#include "print_dialog_test.moc"
