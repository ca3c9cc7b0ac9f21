#pragma once

#include <QString>

namespace morvane {

class MainWindow;

// For the documentation's pictures: once the event loop runs, saves the main window with the
// data editor as editor.png, calibrates and saves the window with the results as results.png,
// produces the plot and saves the window with the plot as plot-window.png in the folder, and
// ends the program.
void TakeScreenshots(MainWindow& window, const QString& folder);

} // namespace morvane
