// The child windows of the workspace: loading each one, placing and sizing it as designed (or
// as the report needs), and bringing it to the front.
#include "main_window.h"

#include "about_box.h"
#include "checks_window.h"
#include "editor_window.h"
#include "graph_window.h"
#include "mdi_child.h"
#include "results_window.h"
#include "twips.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QUndoStack>

#include <algorithm>

namespace morvane {

namespace {

// Designed sizes and positions, in twips.
constexpr QSize kEditorSize(6500, 6100);
constexpr QSize kResultsSize(5820, 5200);
constexpr QPoint kAboutPosition(600, 1000);

} // namespace

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
    mEditor = new EditorWindow(mSession.calibration.data, mMessages);
    connect(mEditor, &EditorWindow::calibrateRequested, this, &MainWindow::runCalibration);
    connectUndoSteps();
    addChild(mEditor);
    placeEditor();
    showEditor();
    emit editorLoaded(mEditor);
}

void MainWindow::connectUndoSteps() {
    // Each editor brings its own history, so New and Open start a new one.
    QUndoStack* steps = mEditor->undoStack();
    connect(steps, &QUndoStack::canUndoChanged, mnuUndo, &QAction::setEnabled);
    connect(steps, &QUndoStack::canRedoChanged, mnuRedo, &QAction::setEnabled);
    mnuUndo->setEnabled(false);
    mnuRedo->setEnabled(false);
}

void MainWindow::showEditor() {
    bringToFront(mEditor);
    mEditor->focusEditBox();
}

void MainWindow::placeEditor() {
    QMdiSubWindow* sub = subWindowOf(mEditor);
    sub->move(0, 0);
    resizeToDesign(sub, twipsToPixels(kEditorSize, this), mEditor->designedClientSize());
}

void MainWindow::fitMainWindowToEditor() {
    // The designed main window is narrower than the editor it holds; it grows to show it whole.
    // The workspace draws no frame of its own.
    const QSize editorSize = subWindowOf(mEditor)->size();
    const QSize needed(editorSize.width(), editorSize.height() + menuBar()->sizeHint().height());
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
    loadChecks()->setChecks(mSession.checks());
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

} // namespace morvane
