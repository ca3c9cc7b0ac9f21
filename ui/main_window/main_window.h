#pragma once

#include "calibration_session.h"
#include "file_dialog.h"
#include "message.h"
#include "register_record.h"
#include "register_settings.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <optional>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace morvane {

class AboutBox;
class ChecksWindow;
class EditorWindow;
class GraphWindow;
class PlotOptionsDialog;
class PrintDialog;
class RegisterLocationDialog;
class RegisterWindow;
class ResultsWindow;
class TrendWindow;

// MDIForm1, the main window: a workspace holding the data editor, the results, the plot and the
// About box, the menus with their enabling rules, and the commands that create, open and save a
// data set. It holds the calibration session and moves texts between it and the windows.
//
// The File menu's items are the list mnuFileItem, indexes 0 to 7 as the menu shows them (4 and
// 6 are separators), each QAction named "mnuFileItem0" to "mnuFileItem7"; the other items are
// QActions named as their members. The lot register's items (Record in Register, Record Every
// Successful Run, Register Location...) stand between Save Results As and Exit.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Starts the program: sizes the window, loads the data editor with an empty data set and
    // the start-up values, and reads the critical t table from criticalTTablePath (by default
    // tcrit.txt beside the program, else ../share/morvane/tcrit.txt). A table that cannot be
    // read is reported once, as soon as the window is shown.
    MainWindow(MessageSink& messages, FileDialogBackend& fileDialogs,
               const QString& criticalTTablePath = QString(), QWidget* parent = nullptr);

    // Opens a data file as File > Open does once the file is chosen (command line, drops).
    void openDataFile(const QString& path);

    EditorWindow* editor() const;
    // The results window, or nothing while it is not loaded.
    ResultsWindow* results() const;
    // The Calibration Checks window, or nothing while it is not loaded.
    ChecksWindow* checks() const;
    // The register window and the trend window, or nothing while they are not loaded.
    RegisterWindow* registerWindow() const;
    TrendWindow* trendWindow() const;
    const Calibration& calibration() const { return mSession.calibration; }
    const PlotOptions& plotOptions() const { return mSession.plot; }
    QString currentFileName() const { return QString::fromStdString(mSession.currentFileName); }

public slots:
    // File > Print: shows the print dialog.
    void showPrintDialog();

signals:
    // A fresh data editor took the place of the old one (New, Open).
    void editorLoaded(EditorWindow* editor);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenus();
    void createFileMenu();
    void createViewAndPlotMenus();
    void createRegisterItems();
    QAction* addItem(QMenu* menu, const char* name, const char* caption, bool enabled);
    void startUp();
    void startMaximised();
    void addShortcuts();
    void reportCriticalTTable();

    // The windows.
    QMdiSubWindow* addChild(QWidget* window);
    void loadEditor();
    void connectUndoSteps();
    // Brings the data editor to the front with the keyboard focus in its edit box.
    void showEditor();
    void placeEditor();
    void fitMainWindowToEditor();
    ResultsWindow* loadResults();
    void fitResultsWindow();
    ChecksWindow* loadChecks();
    void showChecks();
    GraphWindow* loadGraph();
    void unloadGraph();
    void bringToFront(QWidget* window);

    // The commands.
    void fileItemChosen(int index);
    void newDataSet();
    void openData();
    // Save Data As; true when the data set was saved.
    bool saveDataAs();
    // Before New, Open and the end: when the data set is changed, asks whether to save it.
    // True when the command may go on (saved, discarded or unchanged), false when cancelled.
    bool changesSettled();
    void saveResultsAs();
    void SaveResultsFile(const QString& fileName);
    void runCalibration();
    void showReport(const std::string& report);
    void updateWindowsAfterRun(RunOutcome outcome);
    void showAbout();
    void makePlot();
    void copyPlot();
    void savePlot();
    void showPlotOptions();

    // The lot register.
    void keepRunForRegister(RunOutcome outcome, const GridCells& grid,
                            const std::vector<Message>& messages);
    void forgetRunForRegister();
    void recordInRegister();
    void chooseRecordEveryRun(bool chosen);
    void showRegisterLocation();
    void registerLocationChanged();
    void showRegister();
    void openRecord(const RegisterRecord& record);
    void loadRecordedDataSet(const RegisterRecord& record, const CalibrationDataSet& data);
    void showRecordedReport(const RegisterRecord& record);
    void showTrendPlot(const QString& workingPreparation,
                       const std::vector<RegisterRecord>& records);

    // Start-up values shared by New.
    void emptyDataSet();
    void setEditorCaption(const QString& name);
    void setIdentifier(const std::string& identifier);
    QString proposeFileName(const char* suffix);
    void enableResultCommands(bool enabled);
    void enablePlotCommands(bool enabled);

    MessageSink& mMessages;
    FileDialogBackend& mFileDialogs;
    CommonDialog CMDialog1;

    CalibrationSession mSession;

    QMdiArea* mMdiArea;
    QPointer<EditorWindow> mEditor;
    QPointer<ResultsWindow> mResults;
    QPointer<ChecksWindow> mChecks;
    QPointer<GraphWindow> mGraph;
    QPointer<AboutBox> mAbout;
    QPointer<PlotOptionsDialog> mPlotOptionsDialog;
    QPointer<PrintDialog> mPrint;
    QPointer<RegisterWindow> mRegister;
    QPointer<TrendWindow> mTrend;
    QPointer<RegisterLocationDialog> mRegisterLocationDialog;

    // What the register needs of the last run whose report was shown, kept when it was made so
    // that later edits do not reach the record; nothing once recorded or after New and Open.
    struct RunForRegister {
        CalibrationSession session;
        GridCells grid;
        std::vector<Message> messages;
    };
    std::optional<RunForRegister> mRunForRegister;
    RegisterSettings mRegisterSettings;

    QMenu* mnuFile;
    QList<QAction*> mnuFileItem;
    QMenu* mnuEdit;
    QAction* mnuDeleteRow;
    QAction* mnuUndo;
    QAction* mnuRedo;
    QMenu* mnuView;
    QAction* mnuDataEditor;
    QAction* mnuResults;
    QAction* mnuGraph;
    QAction* mnuChecks;
    QAction* mnuRegister;
    QAction* mnuRecordInRegister;
    QAction* mnuRecordEveryRun;
    QAction* mnuRegisterLocation;
    QMenu* mnuPlot;
    QAction* mnuMakePlot;
    QAction* mnuCopyPlot;
    QAction* mnuSavePlot;
    QAction* mnuPlotOptions;
    QAction* mnuAbout;
    QAction* mCalibrateShortcut;
};

} // namespace morvane
