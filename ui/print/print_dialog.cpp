#include "print_dialog.h"

#include "busy_pointer.h"
#include "mdi_child.h"
#include "plot_image_io.h"
#include "printer_choice.h"
#include "report_printer.h"
#include "twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace morvane {

namespace {

constexpr QSize kDesignedSize(4500, 3000);
// The controls reach 4095 twips across and 2415 down; the client area keeps a margin beyond.
constexpr QSize kLeastClientSize(4215, 2535);
constexpr QPoint kBoxTopLeft(240, 1320);
constexpr QPoint kBoxBottomRight(2400, 2400);

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const QString& text) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setText(text);
    return control;
}

QFrame* makeLine(QWidget* parent, const char* name, QFrame::Shape shape) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

// A line of the rectangle from one designed point to another, one pixel thick.
void placeLine(QFrame* line, QPoint fromTwips, QPoint toTwips, const QWidget* widget) {
    const QPoint from = twipsToPixels(fromTwips, widget);
    const QPoint to = twipsToPixels(toTwips, widget);
    line->setGeometry(QRect(from, to).normalized());
}

} // namespace

QString DefaultPrinterName() {
    return QPrinterInfo::defaultPrinterName();
}

QString PrintDialog::pdfPrinterCaption() {
    return QStringLiteral("Print to PDF file");
}

PrintDialog::PrintDialog(PrintInputs inputs, bool plotAvailable, FileDialogBackend& fileDialogs,
                         MessageSink& messages, QWidget* parent)
    : QWidget(parent), mInputs(std::move(inputs)), mFileDialogs(fileDialogs), mMessages(messages),
      mReportFont(DefaultPrinterFont()),
      lblPrinter(makeControl<QLabel>(this, "lblPrinter", QStringLiteral("Printer:"))),
      Label4(makeControl<QLabel>(this, "Label4", QString())),
      chkResults(makeControl<QCheckBox>(this, "chkResults", QStringLiteral("Results"))),
      chkPlot(makeControl<QCheckBox>(this, "chkPlot", QStringLiteral("Plot"))),
      cmdOKPrint(makeControl<QPushButton>(this, "cmdOKPrint", QStringLiteral("OK"))),
      cmdCancelPrint(makeControl<QPushButton>(this, "cmdCancelPrint", QStringLiteral("Cancel"))),
      cmdPreview(makeControl<QPushButton>(this, "cmdPreview", QStringLiteral("Preview..."))),
      Line1(makeLine(this, "Line1", QFrame::HLine)), Line2(makeLine(this, "Line2", QFrame::VLine)),
      Line3(makeLine(this, "Line3", QFrame::HLine)), Line4(makeLine(this, "Line4", QFrame::VLine)) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Print"));
    setAttribute(Qt::WA_DeleteOnClose);
    placeControls();
    setPrinterName(DefaultPrinterName());
    chkResults->setChecked(false);
    setPlotAvailable(plotAvailable);
    updatePreviewButton();
    connect(chkResults, &QCheckBox::toggled, this, &PrintDialog::updatePreviewButton);
    connect(chkPlot, &QCheckBox::toggled, this, &PrintDialog::updatePreviewButton);
    connect(cmdOKPrint, &QPushButton::clicked, this, &PrintDialog::cmdOKPrint_Click);
    connect(cmdCancelPrint, &QPushButton::clicked, this, &PrintDialog::cmdCancelPrint_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &PrintDialog::cmdPreview_Click);
}

// The designed positions, in twips; the Preview button stands in the free place above OK.
void PrintDialog::placeControls() {
    lblPrinter->setGeometry(twipsToPixels(240, 360, 975, 375, this));
    Label4->setGeometry(twipsToPixels(1440, 360, 2655, 375, this));
    chkResults->setGeometry(twipsToPixels(360, 1440, 1935, 375, this));
    chkPlot->setGeometry(twipsToPixels(360, 1920, 1935, 375, this));
    cmdOKPrint->setGeometry(twipsToPixels(2880, 1440, 1215, 375, this));
    cmdCancelPrint->setGeometry(twipsToPixels(2880, 2040, 1215, 375, this));
    cmdPreview->setGeometry(twipsToPixels(2880, 840, 1215, 375, this));
    const QPoint topRight(kBoxBottomRight.x(), kBoxTopLeft.y());
    const QPoint bottomLeft(kBoxTopLeft.x(), kBoxBottomRight.y());
    placeLine(Line1, kBoxTopLeft, topRight, this);
    placeLine(Line2, topRight, kBoxBottomRight, this);
    placeLine(Line3, bottomLeft, kBoxBottomRight, this);
    placeLine(Line4, kBoxTopLeft, bottomLeft, this);
}

void PrintDialog::placeInWorkspace() {
    QMdiSubWindow* sub = subWindowOf(this);
    sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    resizeToDesign(sub, twipsToPixels(kDesignedSize, this), twipsToPixels(kLeastClientSize, this));
    sub->move(0, 0);
}

void PrintDialog::setPlotAvailable(bool available) {
    chkPlot->setEnabled(available);
    if (!available)
        chkPlot->setChecked(false);
}

void PrintDialog::setPrinterName(const QString& name) {
    mPrinterName = name;
    Label4->setText(name.isEmpty() ? pdfPrinterCaption() : name);
    Label4->setToolTip(Label4->text());
}

bool PrintDialog::plotTicked() const {
    return chkPlot->isEnabled() && chkPlot->isChecked();
}

void PrintDialog::updatePreviewButton() {
    cmdPreview->setEnabled(chkResults->isChecked() || plotTicked());
}

// OK: the report, then the plot, each as its own job. With neither box ticked, or every file
// choice cancelled, nothing happens and the dialog stays open; so it does, with a message, when
// the plot is ticked but a new run has taken the plot away.
void PrintDialog::cmdOKPrint_Click() {
    if (plotTicked() && mInputs.plot().isNull()) {
        mMessages.show(NoPlotMessage());
        return;
    }
    std::unique_ptr<QPrinter> reportPrinter;
    std::unique_ptr<QPrinter> plotPrinter;
    if (chkResults->isChecked())
        reportPrinter = printerForJob(QStringLiteral("Morvane results"),
                                      QStringLiteral("Print Results to PDF"), "_results");
    if (plotTicked())
        plotPrinter = printerForJob(QStringLiteral("Morvane plot"),
                                    QStringLiteral("Print Plot to PDF"), "_plot");
    if (!reportPrinter && !plotPrinter)
        return;
    {
        BusyPointer busy;
        // A job that fails is skipped without a word, as the printing rules have it.
        if (reportPrinter)
            PrintReportStatements(mInputs.printedReport(), *reportPrinter, mReportFont);
        if (plotPrinter)
            PrintPlotPicture(mInputs.plot(), *plotPrinter);
    }
    chkResults->setChecked(false);
    chkPlot->setChecked(false);
    closeDialog();
}

void PrintDialog::cmdCancelPrint_Click() {
    chkResults->setChecked(false);
    chkPlot->setChecked(false);
    closeDialog();
}

void PrintDialog::closeDialog() {
    hostWindow(this)->close();
}

std::unique_ptr<QPrinter> PrintDialog::printerForJob(const QString& documentName,
                                                     const QString& pdfTitle,
                                                     const std::string& pdfSuffix) {
    const std::string proposed =
        ProposedFileName(mInputs.editorFields().txtid, pdfSuffix).fileName + ".pdf";
    return PrinterForJob(mPrinterName, documentName,
                         PdfFileRequest(pdfTitle, QString::fromStdString(proposed)), mFileDialogs,
                         this);
}

// Preview: the ticked parts as OK would print them, the plot's page after the report's.
void PrintDialog::cmdPreview_Click() {
    QPrinter printer(QPrinter::HighResolution);
    if (mPrinterName.isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);
    else
        printer.setPrinterName(mPrinterName);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("printPreview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* shown) { paintPreview(*shown); });
    preview.exec();
}

void PrintDialog::paintPreview(QPrinter& printer) {
    QPainter painter(&printer);
    if (chkResults->isChecked()) {
        PaintReportStatements(painter, printer, mInputs.printedReport(), mReportFont);
    }
    const PrintedPlot plot = plotTicked() ? mInputs.plot() : PrintedPlot();
    if (plot.isNull())
        return;
    if (chkResults->isChecked())
        printer.newPage();
    PaintPlotPicture(painter, printer, plot);
}

} // namespace morvane
