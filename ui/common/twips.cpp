#include "twips.h"

#include <QWidget>

#include <cmath>

namespace morvane {

namespace {

constexpr double kTwipsPerInch = 1440.0;

int convert(int twips, int dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

} // namespace

int twipsToPixelsX(int twips, const QWidget* widget) {
    return convert(twips, widget->logicalDpiX());
}

int twipsToPixelsY(int twips, const QWidget* widget) {
    return convert(twips, widget->logicalDpiY());
}

QPoint twipsToPixels(QPoint twips, const QWidget* widget) {
    return {twipsToPixelsX(twips.x(), widget), twipsToPixelsY(twips.y(), widget)};
}

QSize twipsToPixels(QSize twips, const QWidget* widget) {
    return {twipsToPixelsX(twips.width(), widget), twipsToPixelsY(twips.height(), widget)};
}

QRect twipsToPixels(int left, int top, int width, int height, const QWidget* widget) {
    return {twipsToPixels(QPoint(left, top), widget), twipsToPixels(QSize(width, height), widget)};
}

} // namespace morvane
