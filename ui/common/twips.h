#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace morvane {

// Window and control sizes are designed in twips, 1440 to the inch; these convert them to
// pixels at the logical resolution of the screen the widget is on.
int twipsToPixelsX(int twips, const QWidget* widget);
int twipsToPixelsY(int twips, const QWidget* widget);
QPoint twipsToPixels(QPoint twips, const QWidget* widget);
QSize twipsToPixels(QSize twips, const QWidget* widget);
// A control's designed left, top, width and height.
QRect twipsToPixels(int left, int top, int width, int height, const QWidget* widget);

} // namespace morvane
