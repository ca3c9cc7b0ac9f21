// The lot register in the main window: recording the run whose report is shown, the register
// window, opening a recorded calibration again, and the trend plot.
#include "main_window.h"

#include "editor_window.h"
#include "lot_register.h"
#include "mdi_child.h"
#include "register_location_dialog.h"
#include "register_window.h"
#include "results_window.h"
#include "run_record.h"
#include "trend_window.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace morvane {

namespace {

const char* const kRecordTitle = "Record in Register";
// The File menu's separator above Exit, and Save Results As.
constexpr int kSeparatorAboveExit = 6;
constexpr int kSaveResultsAsItem = 5;

} // namespace

RegisterWindow* MainWindow::registerWindow() const {
    return mRegister;
}

TrendWindow* MainWindow::trendWindow() const {
    return mTrend;
}

void MainWindow::createRegisterItems() {
    QAction* aboveExit = mnuFileItem[kSeparatorAboveExit];
    mnuFile->insertSeparator(aboveExit);
    mnuRecordInRegister = addItem(mnuFile, "mnuRecordInRegister", "Record in Re&gister", false);
    mnuRecordEveryRun = addItem(mnuFile, "mnuRecordEveryRun", "Record &Every Successful Run", true);
    mnuRecordEveryRun->setCheckable(true);
    mnuRecordEveryRun->setChecked(mRegisterSettings.recordEveryRun);
    mnuRegisterLocation = addItem(mnuFile, "mnuRegisterLocation", "Register &Location...", true);
    for (QAction* item : {mnuRecordInRegister, mnuRecordEveryRun, mnuRegisterLocation})
        mnuFile->insertAction(aboveExit, item);
    connect(mnuRecordInRegister, &QAction::triggered, this, &MainWindow::recordInRegister);
    connect(mnuRecordEveryRun, &QAction::toggled, this, &MainWindow::chooseRecordEveryRun);
    connect(mnuRegisterLocation, &QAction::triggered, this, &MainWindow::showRegisterLocation);
    mnuRegister = addItem(mnuView, "mnuRegister", "Re&gister", true);
    connect(mnuRegister, &QAction::triggered, this, &MainWindow::showRegister);
}

void MainWindow::keepRunForRegister(RunOutcome outcome, const GridCells& grid,
                                    const std::vector<Message>& messages) {
    mRunForRegister = RunForRegister{mSession, grid, messages};
    mnuRecordInRegister->setEnabled(true);
    if (outcome == RunOutcome::Calibrated && mRegisterSettings.recordEveryRun)
        recordInRegister();
}

void MainWindow::forgetRunForRegister() {
    mRunForRegister.reset();
    mnuRecordInRegister->setEnabled(false);
}

// A run is recorded once: the item is disabled until the next run. A register that refuses the
// record says why and the run stays ready to be recorded.
void MainWindow::recordInRegister() {
    if (!mRunForRegister)
        return;
    const RunForRegister& run = *mRunForRegister;
    try {
        const std::string location = RegisterLocationOf(mRegisterSettings);
        const auto lotRegister = OpenLotRegister(location, RegisterAccess::ReadWrite);
        const std::int64_t id = lotRegister->record(
            RecordOfLastRun(run.session, run.grid, run.messages, RecordingContextNow()));
        statusBar()->showMessage(QStringLiteral("Recorded as record %1 in %2")
                                     .arg(id)
                                     .arg(QString::fromStdString(lotRegister->location())));
        forgetRunForRegister();
    } catch (const RegisterError& error) {
        mMessages.show(
            Message{kRecordTitle, error.what(), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    if (mRegister)
        mRegister->reload();
}

void MainWindow::chooseRecordEveryRun(bool chosen) {
    mRegisterSettings.recordEveryRun = chosen;
    SaveRegisterSettings(mRegisterSettings);
}

void MainWindow::showRegisterLocation() {
    if (!mRegisterLocationDialog)
        mRegisterLocationDialog = new RegisterLocationDialog(
            mRegisterSettings, mFileDialogs, [this] { registerLocationChanged(); }, mMdiArea);
    mRegisterLocationDialog->show();
    mRegisterLocationDialog->raise();
    mRegisterLocationDialog->activateWindow();
}

void MainWindow::registerLocationChanged() {
    if (mRegister)
        mRegister->reload();
}

void MainWindow::showRegister() {
    if (!mRegister) {
        mRegister =
            new RegisterWindow([this] { return RegisterLocationOf(mRegisterSettings); }, mMessages);
        connect(mRegister, &RegisterWindow::recordOpened, this, &MainWindow::openRecord);
        connect(mRegister, &RegisterWindow::trendPlotRequested, this, &MainWindow::showTrendPlot);
        QMdiSubWindow* sub = addChild(mRegister);
        sub->adjustSize();
        sub->move(0, 0);
    }
    bringToFront(mRegister);
    mRegister->reload();
}

// Like File > Open: changed data is asked about first, and a data set that cannot be read
// leaves everything as it was.
void MainWindow::openRecord(const RegisterRecord& record) {
    if (!changesSettled())
        return;
    CalibrationDataSet data;
    if (!ReadDataSetOfRecord(record, data, mMessages))
        return;
    loadRecordedDataSet(record, data);
    showRecordedReport(record);
}

// The record's data set in a fresh editor, with its identifier; the run kept for the register,
// if any, goes with the data it was made on.
void MainWindow::loadRecordedDataSet(const RegisterRecord& record, const CalibrationDataSet& data) {
    loadEditor();
    forgetRunForRegister();
    const std::string name = record.fileName.empty() ? record.identifier : record.fileName;
    mSession.calibration.data = data;
    mSession.fields = EditorFieldsAfterOpening(data, name);
    mSession.fields.txtid = record.identifier;
    mSession.currentFileName = name;
    TakeAxisLabelsFrom(data, mSession.plot);
    mEditor->setFields(mSession.fields);
    mEditor->WriteDataToGrid();
    setEditorCaption(QString::fromStdString(record.identifier));
    mEditor->markUnchanged();
}

// The report exactly as it was recorded; Save Results As saves it.
void MainWindow::showRecordedReport(const RegisterRecord& record) {
    ResultsWindow* results = loadResults();
    const bool firstReport = results->reportText().isEmpty();
    results->setReport(QString::fromStdString(record.reportText));
    if (firstReport)
        fitResultsWindow();
    bringToFront(results);
    for (QAction* item : {mnuResults, mnuDataEditor, mnuFileItem[kSaveResultsAsItem]})
        item->setEnabled(true);
}

void MainWindow::showTrendPlot(const QString& workingPreparation,
                               const std::vector<RegisterRecord>& records) {
    if (!mTrend) {
        mTrend = new TrendWindow(mFileDialogs, mMessages);
        QMdiSubWindow* sub = addChild(mTrend);
        sub->adjustSize();
        // Under the register window, so the list and its trend are seen together.
        if (mRegister)
            sub->move(0, subWindowOf(mRegister)->geometry().bottom() + 1);
    }
    mTrend->showTrend(workingPreparation, records);
    bringToFront(mTrend);
}

} // namespace morvane
