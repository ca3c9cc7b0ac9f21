#pragma once

#include "message.h"

#include <QImage>
#include <QString>

#include <string>

namespace morvane {

// What Copy Plot, Save Plot and printing the plot say while no plot is drawn.
Message NoPlotMessage();

// A blank image for a plot of this size in logical pixels (at least one each way), at the pixel
// density of the screen it is shown on.
QImage newPlotImage(QSize size, qreal devicePixelRatio);

// Empties the clipboard and puts the plot picture on it as an image (Copy Plot).
void copyPlotToClipboard(const QImage& picture);

// The picture encoded for a file of this name: PNG when the name ends in ".png", the SVG
// document when it ends in ".svg" (either in any case), a Windows bitmap (BMP) otherwise.
// Empty when there is nothing to encode.
QByteArray encodePlotImage(const QImage& picture, const QString& path,
                           const std::string& svgDocument);

// Writes the encoded picture to path through a temporary file in the same folder, renamed over
// the target only when complete, so a failed save leaves no file and an old one untouched.
// Returns whether the file was written; Save Plot ignores a failure without a message.
bool savePlotImage(const QImage& picture, const QString& path, const std::string& svgDocument);

} // namespace morvane
