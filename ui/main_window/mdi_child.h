#pragma once

#include <QSize>

class QMdiSubWindow;
class QWidget;

namespace morvane {

// The subwindow that holds a child window of the main window.
QMdiSubWindow* subWindowOf(const QWidget* window);

// What is shown, hidden, moved and brought to the front for a window: its subwindow when it
// lives in the main window, else the window itself.
QWidget* hostWindow(QWidget* window);

// Gives a subwindow its designed size, frame included; where the frame is thicker than the one
// the window was designed for, it grows until the window inside has its least client size, so
// that no control is cut off.
void resizeToDesign(QMdiSubWindow* sub, QSize designed, QSize leastClient);

} // namespace morvane
