#include "main_window.h"

#include "about_box.h"
#include "checks_window.h"
#include "editor_window.h"
#include "graph_window.h"
#include "mdi_child.h"
#include "results_window.h"
#include "twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace morvane {

namespace {

// Designed sizes, in twips.
constexpr QSize kMainWindowSize(6000, 6200);
constexpr QSize kEditorSize(6500, 6100);
constexpr QSize kResultsSize(5820, 5200);
constexpr QPoint kAboutPosition(600, 1000);
// Below this screen size the window fills the screen even when it is not maximised (pixels).
constexpr QSize kSmallScreen(1024, 768);

} // namespace

MainWindow::MainWindow(MessageSink& messages, FileDialogBackend& fileDialogs,
                       const QString& criticalTTablePath, QWidget* parent)
    : QMainWindow(parent), mMessages(messages), mFileDialogs(fileDialogs), CMDialog1(fileDialogs) {
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
    mCalibration.tcrit = LoadCriticalTTable(QFile::encodeName(criticalTTablePath.isEmpty()
                                                                  ? defaultCriticalTTablePath()
                                                                  : criticalTTablePath)
                                                .toStdString());
    if (!mCalibration.tcrit.loaded)
        QTimer::singleShot(0, this, &MainWindow::reportCriticalTTable);
}

QString MainWindow::defaultCriticalTTablePath() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString beside = programFolder.filePath(QStringLiteral("tcrit.txt"));
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/morvane/tcrit.txt")));
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
    mMessages.show(Message{"Critical t Table", mCalibration.tcrit.loadError, MessageIcon::Critical,
                           MessageButtons::Ok});
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
    createViewAndPlotMenus();
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
    connect(mnuDataEditor, &QAction::triggered, this, [this] { bringToFront(mEditor); });
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
    mPlotOptions = StartUpPlotOptions(mCalibration.data);
    // The window draws the plot in colour; "Black and white" in the plot options turns it off.
    mPlotOptions.BlackAndWhite = 0;
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

QMdiSubWindow* MainWindow::addChild(QWidget* window) {
    auto* sub = new QMdiSubWindow;
    sub->setWidget(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    mMdiArea->addSubWindow(sub);
    return sub;
}

void MainWindow::loadEditor() {
    if (mEditor) {
        // The old editor leaves the workspace at once, so that only the new one is found.
        QMdiSubWindow* old = subWindowOf(mEditor);
        mMdiArea->removeSubWindow(old);
        old->deleteLater();
    }
    mEditor = new EditorWindow(mCalibration.data, mMessages);
    connect(mEditor, &EditorWindow::calibrateRequested, this, &MainWindow::runCalibration);
    addChild(mEditor);
    placeEditor();
    bringToFront(mEditor);
}

void MainWindow::placeEditor() {
    // The designed size is that of the window with its frame; the frame here may be thicker
    // than the one it was designed for, and the controls keep their designed client area.
    QMdiSubWindow* sub = subWindowOf(mEditor);
    sub->move(0, 0);
    sub->resize(twipsToPixels(kEditorSize, this));
    sub->layout()->activate();
    const QSize missing = mEditor->designedClientSize() - mEditor->size();
    sub->resize(sub->size() + missing.expandedTo(QSize(0, 0)));
}

void MainWindow::fitMainWindowToEditor() {
    // The designed main window is narrower than the editor it holds; it grows to show it whole.
    const QSize editorSize = subWindowOf(mEditor)->size();
    const int frame = 2 * mMdiArea->frameWidth();
    const QSize needed(editorSize.width() + frame,
                       editorSize.height() + frame + menuBar()->sizeHint().height());
    resize(size().expandedTo(needed));
}

ResultsWindow* MainWindow::loadResults() {
    if (!mResults) {
        mResults = new ResultsWindow(mMessages);
        QMdiSubWindow* sub = addChild(mResults);
        sub->move(0, 0);
        sub->resize(twipsToPixels(kResultsSize, this));
    }
    return mResults;
}

// The first report decides the results window's width: its longest line whole, as far as the
// workspace allows, and never less than designed; it is as tall as the workspace. It stands
// right of where the plot window opens, or as far right as it fits.
void MainWindow::fitResultsWindow() {
    QMdiSubWindow* sub = subWindowOf(mResults);
    sub->layout()->activate(); // a window not yet shown has not given its frame a size
    const QSize frame = sub->size() - mResults->size();
    const QSize designed = twipsToPixels(kResultsSize, this);
    const QSize room = mMdiArea->viewport()->size();
    const int width = std::max(
        designed.width(), std::min(mResults->widthForWholeLines() + frame.width(), room.width()));
    const int height = std::max(designed.height(), room.height());
    const int besidePlot = GraphWindow::designedSize(this).width() + frame.width();
    sub->setGeometry(std::max(0, std::min(besidePlot, room.width() - width)), 0, width, height);
}

ChecksWindow* MainWindow::loadChecks() {
    if (!mChecks) {
        mChecks = new ChecksWindow([this] { return mEditor->fields().txtid; }, mFileDialogs);
        addChild(mChecks)->move(0, 0);
    }
    return mChecks;
}

// View > Calibration Checks: the checks of the last run.
void MainWindow::showChecks() {
    loadChecks()->setChecks(mCalibration.checks);
    hostWindow(mChecks)->adjustSize();
    bringToFront(mChecks);
}

GraphWindow* MainWindow::loadGraph() {
    if (!mGraph) {
        mGraph = new GraphWindow;
        QMdiSubWindow* sub = addChild(mGraph);
        sub->adjustSize();
        mGraph->moveToOrigin();
    }
    return mGraph;
}

void MainWindow::unloadGraph() {
    if (!mGraph)
        return;
    QMdiSubWindow* sub = subWindowOf(mGraph);
    mMdiArea->removeSubWindow(sub);
    sub->deleteLater();
    mGraph = nullptr;
}

void MainWindow::bringToFront(QWidget* window) {
    QWidget* host = hostWindow(window);
    host->showNormal();
    if (auto* sub = subWindowOf(window))
        mMdiArea->setActiveSubWindow(sub);
    host->raise();
}

void MainWindow::showAbout() {
    if (!mAbout) {
        mAbout = new AboutBox;
        QMdiSubWindow* sub = addChild(mAbout);
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
        sub->adjustSize();
        sub->move(twipsToPixels(kAboutPosition, this));
    }
    bringToFront(mAbout);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The results window asks before it closes; answering No keeps the program running.
    if (mResults && !hostWindow(mResults)->close()) {
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
    openDataFile(urls.constFirst().toLocalFile());
}

} // namespace morvane
