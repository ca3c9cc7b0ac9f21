#include "mdi_child.h"

#include <QMdiSubWindow>

namespace morvane {

QMdiSubWindow* subWindowOf(const QWidget* window) {
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

QWidget* hostWindow(QWidget* window) {
    QMdiSubWindow* sub = subWindowOf(window);
    return sub ? static_cast<QWidget*>(sub) : window;
}

} // namespace morvane
