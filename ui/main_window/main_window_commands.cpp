// The commands of the main window's menus and the calibration run behind "Calibrate".
#include "main_window.h"

#include "about_box.h"
#include "atomic_file.h"
#include "busy_pointer.h"
#include "checks_window.h"
#include "editor_window.h"
#include "graph_window.h"
#include "mdi_child.h"
#include "path_for_files.h"
#include "plot_image_io.h"
#include "plot_options_dialog.h"
#include "print_dialog.h"
#include "report_header.h"
#include "results_window.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace morvane {

namespace {

const char* const kDataFilter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
const char* const kResultsFilter = "Text Files (*.txt)|*.txt";
const char* const kPlotFilter = "Bitmaps (*.bmp)|*.bmp";
const char* const kScratchFileName = "junk0000x";

const char* const kNewQuestion =
    "Data and results will be erased.  Are you sure you want to proceed?";

const char* const kSaveChangesQuestion = "Save the changes to the data set?";

enum FileItem { New = 0, Open = 1, SaveDataAs = 2, Print = 3, SaveResultsAs = 5, Exit = 7 };

// The report's files hold its text in UTF-8, byte for byte what the command-line calibrator
// prints (a data file, by contrast, keeps to its single-byte code page).
std::string fileBytes(const QString& text) {
    return text.toStdString();
}

// Passes each message on to be shown and keeps a copy: the messages of one run, for its record.
class KeepingMessageSink : public MessageSink {
public:
    explicit KeepingMessageSink(MessageSink& shown) : mShown(shown) {}
    MessageAnswer show(const Message& message) override {
        kept.push_back(message);
        return mShown.show(message);
    }

    std::vector<Message> kept;

private:
    MessageSink& mShown;
};

} // namespace

void MainWindow::fileItemChosen(int index) {
    switch (index) {
    case New:
        newDataSet();
        break;
    case Open:
        openData();
        break;
    case SaveDataAs:
        saveDataAs();
        break;
    case Print:
        showPrintDialog();
        break;
    case SaveResultsAs:
        saveResultsAs();
        break;
    case Exit:
        // Ends the program at once, without a window's closing step; only changed data is
        // asked about first.
        if (changesSettled())
            QCoreApplication::exit(0);
        break;
    default:
        break;
    }
}

void MainWindow::showPrintDialog() {
    const bool plotAvailable = mnuCopyPlot->isEnabled();
    if (mPrint) {
        mPrint->setPlotAvailable(plotAvailable);
        bringToFront(mPrint);
        return;
    }
    // The dialog asks for the records only when OK or Preview is pressed, so it always prints
    // the current calibration.
    PrintInputs inputs{
        [this] {
            return mSession.printedReport(mEditor->fields(),
                                          mSession.reportHeader(LocalReportDateTime()));
        },
        [this] { return mEditor->fields(); },
        [this] {
            return mGraph ? PrintedPlot{mGraph->picture(), mGraph->pictureSvg()} : PrintedPlot();
        }};
    mPrint = new PrintDialog(std::move(inputs), plotAvailable, mFileDialogs, mMessages);
    addChild(mPrint);
    mPrint->placeInWorkspace();
    bringToFront(mPrint);
}

void MainWindow::emptyDataSet() {
    mSession.newDataSet();
    mEditor->WriteDataToGrid();
    mEditor->setFields(mSession.fields);
    setEditorCaption(currentFileName());
    mEditor->markUnchanged();
}

void MainWindow::setEditorCaption(const QString& name) {
    mEditor->setWindowTitle(QStringLiteral("Data Editor: ") + name);
}

void MainWindow::setIdentifier(const std::string& identifier) {
    EditorFields fields = mEditor->fields();
    fields.txtid = identifier;
    mEditor->setFields(fields);
}

// The name a save dialog proposes; the identifier field takes the identifier rule on the way.
QString MainWindow::proposeFileName(const char* suffix) {
    mSession.fields = mEditor->fields();
    const std::string proposed = mSession.proposeFileName(suffix);
    setIdentifier(mSession.fields.txtid);
    return QString::fromStdString(proposed);
}

void MainWindow::enableResultCommands(bool enabled) {
    for (QAction* item :
         {mnuFileItem[Print], mnuFileItem[SaveResultsAs], mnuResults, mnuDataEditor, mnuChecks})
        item->setEnabled(enabled);
}

void MainWindow::enablePlotCommands(bool enabled) {
    for (QAction* item : {mnuMakePlot, mnuPlotOptions})
        item->setEnabled(enabled);
}

bool MainWindow::changesSettled() {
    if (!mEditor || !mEditor->isChanged())
        return true;
    const Message question{"", kSaveChangesQuestion, MessageIcon::Question,
                           MessageButtons::SaveDiscardCancel};
    switch (mMessages.show(question)) {
    case MessageAnswer::Save:
        return saveDataAs();
    case MessageAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::newDataSet() {
    if (!changesSettled())
        return;
    const Message question{"", kNewQuestion, MessageIcon::Question, MessageButtons::YesNo};
    if (mMessages.show(question) != MessageAnswer::Yes)
        return;
    loadEditor();
    if (mResults) {
        mResults->clear();
        hostWindow(mResults)->hide();
    }
    if (mChecks)
        hostWindow(mChecks)->close();
    enableResultCommands(false);
    enablePlotCommands(false);
    for (QAction* item : {mnuGraph, mnuCopyPlot, mnuSavePlot})
        item->setEnabled(false);
    unloadGraph();
    emptyDataSet();
    forgetRunForRegister();
}

void MainWindow::openData() {
    CMDialog1.Filter = QString::fromLatin1(kDataFilter);
    CMDialog1.Flags = kAskBeforeReplacing;
    if (!changesSettled())
        return;
    CMDialog1.DialogTitle = QStringLiteral("Open Data File");
    // A cancelled dialog leaves the editor and everything else as they were.
    if (!CMDialog1.ShowOpen(this))
        return;
    openDataFile(CMDialog1.FileName);
}

void MainWindow::openDataFile(const QString& path) {
    mFileDialogs.rememberFolderOf(path);
    loadEditor();
    forgetRunForRegister();
    // A file in a folder that does not exist leaves the data set as it was, without a word.
    mSession.openDataFile(
        PathForFiles(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())), mMessages);
    mEditor->setFields(mSession.fields);
    mEditor->WriteDataToGrid();
    setEditorCaption(QFileInfo(path).fileName());
    mEditor->markUnchanged();
}

bool MainWindow::saveDataAs() {
    CMDialog1.Filter = QString::fromLatin1(kDataFilter);
    CMDialog1.Flags = kAskBeforeReplacing;
    CMDialog1.DialogTitle = QStringLiteral("Save Data As...");
    CMDialog1.FileName = QString::fromStdString(mEditor->fields().txtid);
    CMDialog1.DefaultExt = QStringLiteral("txt");
    if (!CMDialog1.ShowSave(this))
        return false;
    mSession.currentFileName = PathForFiles(CMDialog1.FileName);
    mSession.fields = mEditor->fields();
    const bool saved =
        mSession.saveDataFile(mSession.currentFileName, mEditor->gridCells(), mMessages);
    setEditorCaption(CMDialog1.FileTitle);
    setIdentifier(CMDialog1.FileTitle.toStdString());
    if (saved)
        mEditor->markUnchanged();
    return saved;
}

void MainWindow::saveResultsAs() {
    CMDialog1.Filter = QString::fromLatin1(kResultsFilter);
    CMDialog1.Flags = kAskBeforeReplacing;
    CMDialog1.DialogTitle = QStringLiteral("Save Results As...");
    CMDialog1.FileName = proposeFileName("_results");
    CMDialog1.DefaultExt = QStringLiteral("txt");
    if (!CMDialog1.ShowSave(this))
        return;
    mSession.currentFileName = PathForFiles(CMDialog1.FileName);
    SaveResultsFile(CMDialog1.FileName);
}

void MainWindow::SaveResultsFile(const QString& fileName) {
    // A closed results window saves the empty text of a freshly loaded one. Failures are
    // ignored: nothing is saved and nothing is said.
    const QString text = mResults ? mResults->reportText() : QString();
    WriteFileAtomically(PathForFiles(fileName), fileBytes(ResultsFileText(text)));
}

void MainWindow::runCalibration() {
    BusyPointer busy;
    mSession.fields = mEditor->fields();
    const GridCells grid = mEditor->gridCells();
    KeepingMessageSink runMessages(mMessages);
    const RunOutcome outcome = mSession.calibrate(grid, LocalReportDateTime(), runMessages);
    // The run may have replaced invalid parameters and lengthened the identifier.
    mEditor->setFields(mSession.fields);
    if (outcome == RunOutcome::Stopped)
        return;
    showReport(mSession.lastRun()->reportText);
    updateWindowsAfterRun(outcome);
    keepRunForRegister(outcome, grid, runMessages.kept);
}

void MainWindow::showReport(const std::string& report) {
    const QString text = QString::fromStdString(report);
    // The report is also left in the scratch file of the current folder, when it can be.
    if (QFileInfo(QDir::currentPath()).isWritable())
        WriteFileAtomically(kScratchFileName, fileBytes(text));
    ResultsWindow* results = loadResults();
    const bool firstReport = results->reportText().isEmpty();
    results->setReport(text);
    if (firstReport)
        fitResultsWindow();
    bringToFront(mResults);
}

void MainWindow::updateWindowsAfterRun(RunOutcome outcome) {
    // A plot of an earlier run disappears; the workspace keeps its minimised windows lined up
    // by itself.
    unloadGraph();
    bringToFront(loadResults());
    enableResultCommands(true);
    if (mChecks)
        mChecks->setChecks(mSession.checks());
    if (outcome == RunOutcome::Calibrated)
        enablePlotCommands(true);
    if (mAbout)
        hostWindow(mAbout)->hide();
}

void MainWindow::makePlot() {
    if (!mSession.lastRun())
        return;
    GraphWindow* graph = loadGraph();
    bringToFront(graph);
    graph->moveToOrigin();
    graph->drawCalibrationPlot(mSession.calibration.data, mSession.lastRun()->shown.results,
                               mSession.plot);
    for (QAction* item : {mnuCopyPlot, mnuSavePlot, mnuGraph})
        item->setEnabled(true);
}

void MainWindow::copyPlot() {
    GraphWindow* graph = loadGraph();
    bringToFront(graph);
    if (!graph->copyPlot()) {
        QGuiApplication::clipboard()->clear();
        mMessages.show(NoPlotMessage());
    }
}

void MainWindow::savePlot() {
    if (loadGraph()->picture().isNull()) {
        mMessages.show(NoPlotMessage());
        return;
    }
    CMDialog1.Filter = QString::fromLatin1(kPlotFilter);
    CMDialog1.Flags = kAskBeforeReplacing;
    CMDialog1.DialogTitle = QStringLiteral("Save Plot");
    CMDialog1.FileName = proposeFileName("_plot");
    CMDialog1.DefaultExt = QStringLiteral("bmp");
    if (!CMDialog1.ShowSave(this))
        return;
    mSession.currentFileName = PathForFiles(CMDialog1.FileName);
    loadGraph()->savePlot(CMDialog1.FileName);
}

void MainWindow::showPlotOptions() {
    // The dialog deletes itself when closed; each showing loads it afresh from the options.
    if (!mPlotOptionsDialog)
        mPlotOptionsDialog = new PlotOptionsDialog(mSession.plot, mMdiArea);
    mPlotOptionsDialog->show();
    mPlotOptionsDialog->raise();
    mPlotOptionsDialog->activateWindow();
}

} // namespace morvane
