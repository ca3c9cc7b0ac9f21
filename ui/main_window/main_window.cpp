#include "main_window.h"

#include "checks_window.h"
#include "editor_window.h"
#include "graph_window.h"
#include "mdi_child.h"
#include "path_for_files.h"
#include "program_files.h"
#include "results_window.h"
#include "twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUndoStack>

namespace morvane {

namespace {

// Designed sizes, in twips.
constexpr QSize kMainWindowSize(6000, 6200);
// Below this screen size the window fills the screen even when it is not maximised (pixels).
constexpr QSize kSmallScreen(1024, 768);

} // namespace

MainWindow::MainWindow(MessageSink& messages, FileDialogBackend& fileDialogs,
                       const QString& criticalTTablePath, QWidget* parent)
    : QMainWindow(parent), mMessages(messages), mFileDialogs(fileDialogs), CMDialog1(fileDialogs),
      mRegisterSettings(LoadRegisterSettings()) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Morvane"));
    // The applications menu's icon, built into the program, for this window and every child.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/org.morvane.Morvane.svg")));
    setAcceptDrops(true);
    mMdiArea = new QMdiArea(this);
    mMdiArea->setObjectName(QStringLiteral("mdiArea"));
    mMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mMdiArea);
    createMenus();
    addShortcuts();
    startUp();
    const std::string tablePath =
        criticalTTablePath.isEmpty()
            ? DefaultTCritPath(PathForFiles(QCoreApplication::applicationDirPath())).string()
            : PathForFiles(criticalTTablePath);
    if (!mSession.loadCriticalTTable(tablePath))
        QTimer::singleShot(0, this, &MainWindow::reportCriticalTTable);
}

EditorWindow* MainWindow::editor() const {
    return mEditor;
}

ResultsWindow* MainWindow::results() const {
    return mResults;
}

ChecksWindow* MainWindow::checks() const {
    return mChecks;
}

void MainWindow::reportCriticalTTable() {
    mMessages.show(Message{"Critical t Table", mSession.calibration.tcrit.loadError,
                           MessageIcon::Critical, MessageButtons::Ok});
}

QAction* MainWindow::addItem(QMenu* menu, const char* name, const char* caption, bool enabled) {
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QLatin1String(name));
    item->setEnabled(enabled);
    return item;
}

void MainWindow::createMenus() {
    createFileMenu();
    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuDeleteRow = addItem(mnuEdit, "mnuDeleteRow", "&Delete Row", true);
    connect(mnuDeleteRow, &QAction::triggered, this, [this] { mEditor->deleteSelectedRow(); });
    mnuUndo = addItem(mnuEdit, "mnuUndo", "&Undo", false);
    mnuUndo->setShortcut(QKeySequence::Undo);
    mnuRedo = addItem(mnuEdit, "mnuRedo", "&Redo", false);
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(mnuUndo, &QAction::triggered, this, [this] { mEditor->undoStack()->undo(); });
    connect(mnuRedo, &QAction::triggered, this, [this] { mEditor->undoStack()->redo(); });
    createViewAndPlotMenus();
    createRegisterItems();
    mnuAbout = menuBar()->addAction(QStringLiteral("&About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createFileMenu() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const struct {
        const char* caption; // nullptr: a separator
        bool enabled;
    } items[] = {{"&New", true},    {"&Open", true}, {"Save &Data As...", true},
                 {"&Print", false}, {nullptr, true}, {"Save &Results As...", false},
                 {nullptr, true},   {"E&xit", true}};
    for (int index = 0; index < 8; ++index) {
        const QByteArray name = "mnuFileItem" + QByteArray::number(index);
        QAction* item = items[index].caption ? addItem(mnuFile, name.constData(),
                                                       items[index].caption, items[index].enabled)
                                             : mnuFile->addSeparator();
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, [this, index] { fileItemChosen(index); });
        mnuFileItem.append(item);
    }
}

void MainWindow::createViewAndPlotMenus() {
    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuDataEditor = addItem(mnuView, "mnuDataEditor", "&Data Editor", false);
    mnuResults = addItem(mnuView, "mnuResults", "&Results", false);
    mnuGraph = addItem(mnuView, "mnuGraph", "&Plot", false);
    mnuChecks = addItem(mnuView, "mnuChecks", "Calibration &Checks", false);
    connect(mnuDataEditor, &QAction::triggered, this, &MainWindow::showEditor);
    connect(mnuResults, &QAction::triggered, this, [this] { bringToFront(loadResults()); });
    connect(mnuGraph, &QAction::triggered, this, [this] { bringToFront(loadGraph()); });
    connect(mnuChecks, &QAction::triggered, this, &MainWindow::showChecks);

    mnuPlot = menuBar()->addMenu(QStringLiteral("&Plot"));
    mnuPlot->setObjectName(QStringLiteral("mnuPlot"));
    mnuMakePlot = addItem(mnuPlot, "mnuMakePlot", "&Produce Plot", false);
    mnuCopyPlot = addItem(mnuPlot, "mnuCopyPlot", "&Copy Plot", false);
    mnuSavePlot = addItem(mnuPlot, "mnuSavePlot", "&Save Plot", false);
    mnuPlotOptions = addItem(mnuPlot, "mnuPlotOptions", "Plot &Options", false);
    connect(mnuMakePlot, &QAction::triggered, this, &MainWindow::makePlot);
    connect(mnuCopyPlot, &QAction::triggered, this, &MainWindow::copyPlot);
    connect(mnuSavePlot, &QAction::triggered, this, &MainWindow::savePlot);
    connect(mnuPlotOptions, &QAction::triggered, this, &MainWindow::showPlotOptions);
}

void MainWindow::startUp() {
    resize(twipsToPixels(kMainWindowSize, this));
    loadEditor();
    fitMainWindowToEditor();
    startMaximised();
    emptyDataSet();
    // The window draws the plot in colour; "Black and white" in the plot options turns it off.
    mSession.plot.BlackAndWhite = false;
}

// The window opens maximised, so the report and the plot have room beside the editor. The
// designed size stays the restored size, but on a screen smaller than 1024 x 768 the restored
// window too fills the room the screen leaves.
void MainWindow::startMaximised() {
    const QRect available = screen()->availableGeometry();
    const QSize screenSize = screen()->geometry().size();
    if (screenSize.width() < kSmallScreen.width() || screenSize.height() < kSmallScreen.height())
        setGeometry(available);
    setWindowState(windowState() | Qt::WindowMaximized);
}

// Keyboard shortcuts, shown beside the menu captions; the captions and their access keys stay
// as they are. Calibrate has no menu item: its keys work anywhere in the window.
void MainWindow::addShortcuts() {
    mnuFileItem[1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O)); // &Open
    mnuFileItem[2]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S)); // Save &Data As...
    mnuFileItem[3]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P)); // &Print
    mnuFileItem[7]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q)); // E&xit
    mCalibrateShortcut = new QAction(this);
    mCalibrateShortcut->setObjectName(QStringLiteral("calibrateShortcut"));
    mCalibrateShortcut->setShortcuts({QKeySequence(Qt::Key_F5),
                                      QKeySequence(Qt::CTRL | Qt::Key_Return),
                                      QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    mCalibrateShortcut->setShortcutContext(Qt::WindowShortcut);
    connect(mCalibrateShortcut, &QAction::triggered, this, &MainWindow::runCalibration);
    addAction(mCalibrateShortcut);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Changed data is asked about, then the results window asks before it closes; Cancel or No
    // keeps the program running.
    if (!changesSettled() || (mResults && !hostWindow(mResults)->close())) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    if (changesSettled())
        openDataFile(urls.constFirst().toLocalFile());
}

} // namespace morvane
