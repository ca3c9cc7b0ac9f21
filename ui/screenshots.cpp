#include "screenshots.h"

#include "editor_window.h"
#include "main_window.h"
#include "mdi_child.h"
#include "results_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

namespace morvane {

namespace {

// Time for the window system to show and paint the windows before a picture is taken.
constexpr int kSettleMs = 500;

// The picture of the results shows the report's whole width: the main window grows and the
// results window fills its workspace.
constexpr QSize kResultsPictureSize(980, 760);

bool saveWindow(MainWindow& window, const QString& fileName) {
    return window.grab().save(fileName);
}

void showWholeReport(MainWindow& window) {
    window.resize(kResultsPictureSize);
    auto* area = window.findChild<QMdiArea*>();
    if (QMdiSubWindow* results = subWindowOf(window.results()))
        results->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
}

} // namespace

void TakeScreenshots(MainWindow& window, const QString& folder) {
    QDir().mkpath(folder);
    const QDir target(folder);
    QTimer::singleShot(kSettleMs, &window, [&window, target] {
        bool saved = saveWindow(window, target.filePath(QStringLiteral("editor.png")));
        window.editor()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        showWholeReport(window);
        QTimer::singleShot(kSettleMs, &window, [&window, target, saved] {
            const bool both =
                saveWindow(window, target.filePath(QStringLiteral("results.png"))) && saved;
            QCoreApplication::exit(both ? 0 : 1);
        });
    });
}

} // namespace morvane
