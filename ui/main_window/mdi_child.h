#pragma once

class QMdiSubWindow;
class QWidget;

namespace morvane {

// The subwindow that holds a child window of the main window.
QMdiSubWindow* subWindowOf(const QWidget* window);

// What is shown, hidden, moved and brought to the front for a window: its subwindow when it
// lives in the main window, else the window itself.
QWidget* hostWindow(QWidget* window);

} // namespace morvane
