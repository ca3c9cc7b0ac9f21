#include "mdi_child.h"

#include <QLayout>
#include <QMdiSubWindow>

namespace morvane {

QMdiSubWindow* subWindowOf(const QWidget* window) {
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

QWidget* hostWindow(QWidget* window) {
    QMdiSubWindow* sub = subWindowOf(window);
    return sub ? static_cast<QWidget*>(sub) : window;
}

void resizeToDesign(QMdiSubWindow* sub, QSize designed, QSize leastClient) {
    sub->resize(designed);
    sub->layout()->activate();
    const QSize missing = leastClient - sub->widget()->size();
    sub->resize(sub->size() + missing.expandedTo(QSize(0, 0)));
}

} // namespace morvane
