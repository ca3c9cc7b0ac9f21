#pragma once

#include "calibration_run.h"
#include "file_dialog.h"
#include "message.h"
#include "report_printer.h"
#include "report_statements.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QPrinter;
class QPushButton;

namespace morvane {

// What printing reads from the session, asked for when the printing starts.
struct PrintInputs {
    // The printed report of the last run, with the editor's fields and the header as they stand.
    std::function<ReportStatements()> printedReport;
    // The data editor's fields as they stand: the calibration identifier names PDF files.
    std::function<EditorFields()> editorFields;
    // The plot window's plot; null when no plot has been drawn.
    std::function<PrintedPlot()> plot;
};

// The system's default printer, or an empty name when no printer is installed.
QString DefaultPrinterName();

// frmPrint, the print dialog: prints the results report, the plot, or both, on the current
// printer, each as a job of its own, the report first. When no printer is installed it prints
// to PDF files and asks for each file's name with a save dialog.
//
// A child window of the main window: add it to the workspace, call placeInWorkspace(), show it.
// It deletes itself when OK has printed or Cancel was pressed.
class PrintDialog : public QWidget {
    Q_OBJECT
public:
    // plotAvailable: whether a plot has been drawn (Copy Plot is enabled); chkPlot is enabled
    // only then. fileDialogs asks for the PDF files; messages says when the plot is gone.
    PrintDialog(PrintInputs inputs, bool plotAvailable, FileDialogBackend& fileDialogs,
                MessageSink& messages, QWidget* parent = nullptr);

    // Enables chkPlot when a plot exists, else disables and clears it.
    void setPlotAvailable(bool available);

    // The printer the dialog prints on and names; empty: PDF files.
    void setPrinterName(const QString& name);
    QString printerName() const { return mPrinterName; }

    // The font the report is printed in (by default DefaultPrinterFont()).
    void setReportFont(const QFont& font) { mReportFont = font; }

    // Gives the window its designed frame: no minimize or maximize button, 4500 by 3000 twips,
    // at the top-left corner of the main window's workspace. Call it before the window is first
    // shown.
    void placeInWorkspace();

    // The text Label4 shows for printing to PDF files.
    static QString pdfPrinterCaption();

private:
    void placeControls();
    void updatePreviewButton();
    void cmdOKPrint_Click();
    void cmdCancelPrint_Click();
    void cmdPreview_Click();
    void closeDialog();
    // A printer set up for one job, or nothing when the user cancelled the choice of its file.
    std::unique_ptr<QPrinter> printerForJob(const QString& documentName, const QString& pdfTitle,
                                            const std::string& pdfSuffix);
    void paintPreview(QPrinter& printer);
    bool plotTicked() const;

    PrintInputs mInputs;
    FileDialogBackend& mFileDialogs;
    MessageSink& mMessages;
    QString mPrinterName;
    QFont mReportFont;

    QLabel* lblPrinter;
    QLabel* Label4;
    QCheckBox* chkResults;
    QCheckBox* chkPlot;
    QPushButton* cmdOKPrint;
    QPushButton* cmdCancelPrint;
    QPushButton* cmdPreview;
    QFrame* Line1;
    QFrame* Line2;
    QFrame* Line3;
    QFrame* Line4;
};

} // namespace morvane
