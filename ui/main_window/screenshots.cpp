#include "screenshots.h"

#include "main_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace morvane {

namespace {

// Time for the window system to show and paint the windows before a picture is taken.
constexpr int kSettleMs = 500;

bool saveWindow(MainWindow& window, const QDir& folder, const char* name) {
    return window.grab().save(folder.filePath(QLatin1String(name)));
}

void trigger(MainWindow& window, const char* action) {
    window.findChild<QAction*>(QLatin1String(action))->trigger();
}

} // namespace

void TakeScreenshots(MainWindow& window, const QString& folder) {
    QDir().mkpath(folder);
    const QDir target(folder);
    // Each picture shows the window as the program leaves it, without any resizing.
    QTimer::singleShot(kSettleMs, &window, [&window, target] {
        bool saved = saveWindow(window, target, "editor.png");
        trigger(window, "calibrateShortcut");
        QTimer::singleShot(kSettleMs, &window, [&window, target, saved]() mutable {
            saved = saveWindow(window, target, "results.png") && saved;
            trigger(window, "mnuMakePlot");
            QTimer::singleShot(kSettleMs, &window, [&window, target, saved] {
                const bool all = saveWindow(window, target, "plot-window.png") && saved;
                QCoreApplication::exit(all ? 0 : 1);
            });
        });
    });
}

} // namespace morvane
