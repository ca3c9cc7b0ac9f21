// The printouts as File > Print makes them, to PDF files read back with poppler's tools: the
// report's and the plot's jobs and the checks on a landscape page.
#include "checks_window.h"
#include "graph_window.h"
#include "print_dialog.h"
#include "report_printer.h"
#include "window_test_support.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace morvane;
using namespace morvane::test;

namespace {

QString runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(QStandardPaths::findExecutable(tool), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class PrintoutTest : public QObject, MainWindowDriver {
    Q_OBJECT

    // File > Print to PDF files, the report ticked and the plot too when there is one.
    void printJobs(bool plot, const QList<std::optional<QString>>& files) {
        choose("mnuFile", "mnuFileItem3");
        auto* dialog = child<PrintDialog>(mWindow.get(), "frmPrint");
        dialog->setPrinterName(QString());
        QCOMPARE(child<QCheckBox>(dialog, "chkPlot")->isEnabled(), plot);
        mDialogs.requests.clear();
        mDialogs.answers = files;
        tick(child<QCheckBox>(dialog, "chkResults"));
        QVERIFY(child<QPushButton>(dialog, "cmdPreview")->isEnabled());
        if (plot)
            tick(child<QCheckBox>(dialog, "chkPlot"));
        // Preview shows the ticked parts' pages before anything is printed.
        int previewPages = 0;
        whenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
            if (!preview)
                return;
            if (preview->objectName() == "printPreview")
                previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            preview->close();
        });
        QTest::mouseClick(child<QPushButton>(dialog, "cmdPreview"), Qt::LeftButton);
        QVERIFY2(previewPages >= (plot ? 3 : 2), qPrintable(QString::number(previewPages)));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOKPrint"), Qt::LeftButton);
        QTRY_VERIFY(!mWindow->findChild<PrintDialog*>());
    }

private slots:
    void init() { restart(); }

    void printOffersThePlotOnceThereIsOne() {
        if (QStandardPaths::findExecutable("pdfimages").isEmpty())
            QSKIP("poppler-utils are not installed");
        open("report_worked_example.txt", {"txtUpperINR=6"});
        choose("mnuPlot", "mnuMakePlot");
        printJobs(true, {path("report.pdf"), path("plot.pdf")});
        QCOMPARE(mDialogs.requests.value(0).fileName, "report_worked_example_results.pdf");
        QCOMPARE(mDialogs.requests.value(1).fileName, "report_worked_example_plot.pdf");
        // Each job carries its name; the plot's is one page with the plot drawn as lines and
        // texts, no picture.
        QVERIFY(runTool("pdfinfo", {path("report.pdf")})
                    .contains(QRegularExpression("Title: +Morvane results\\n")));
        QVERIFY(runTool("pdfinfo", {path("plot.pdf")})
                    .contains(QRegularExpression("(?s)Title: +Morvane plot\\n.*Pages: +1\\n")));
        QCOMPARE(runTool("pdfimages", {"-list", path("plot.pdf")}).count('\n'), 2); // headings
        runTool("pdftoppm", {"-r", "30", "-png", "-singlefile", path("plot.pdf"), path("page")});
        const QImage page =
            QImage(path("page.png")).scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(!page.isNull() && qGray(page.pixel(0, 0)) < 254); // the page is not blank
    }

    // View > Calibration Checks prints the table as a job of its own on a landscape page.
    void checksPrintOnALandscapePage() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils are not installed");
        open("report_worked_example.txt", {"txtUpperINR=6"});
        choose("mnuView", "mnuChecks");
        auto* checks = child<ChecksWindow>(mWindow.get(), "frmChecks");
        checks->setPrinterName(QString());
        mDialogs.answers = {std::nullopt, path("checks.pdf")}; // the first file dialog cancelled
        for (int click = 0; click < 2; ++click)
            QTest::mouseClick(child<QPushButton>(checks, "cmdPrintChecks"), Qt::LeftButton);
        QCOMPARE(mDialogs.requests.last().fileName, "report_worked_example_checks.pdf");
        const QRegularExpressionMatch page =
            QRegularExpression("Title: +Morvane checks\\n(?s:.*)Page size: +([0-9.]+) x ([0-9.]+)")
                .match(runTool("pdfinfo", {path("checks.pdf")}));
        QVERIFY(page.hasMatch() && page.captured(1).toDouble() > page.captured(2).toDouble());
        QVERIFY(runTool("pdftotext", {path("checks.pdf"), "-"}).contains("Design"));
    }
};

QTEST_MAIN(PrintoutTest)
#include "printout_test.moc"
