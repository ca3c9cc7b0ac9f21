#pragma once

#include <QString>

namespace morvane {

class MainWindow;

// For the documentation's pictures: once the event loop runs, saves the main window with the
// data editor as editor.png, presses "Calibrate", saves the window with the results as
// results.png in the folder, and ends the program.
void TakeScreenshots(MainWindow& window, const QString& folder);

} // namespace morvane
