#pragma once

#include <QFont>

#include <functional>

class QLabel;
class QWidget;

namespace morvane {

// Controls keep their designed sizes in twips, and the platform's UI font is often wider than
// the one the sizes were designed for. These make a caption fit its designed box.

// The largest font, not above the given one and not below 7 points, for which `fits` holds.
QFont FittingFont(const QFont& font, const std::function<bool(const QFont&)>& fits);

// A label shows its caption on one line, widened to the right up to `rightLimit` (in its
// parent's pixels) when the line needs that room; otherwise wrapped within its designed width
// and height; its font is made smaller only when neither fits.
void FitLabel(QLabel* label, int rightLimit);

// A button, check box or list whose caption or longest item does not fit its designed size
// gets a smaller font.
void FitControlText(QWidget* control);

} // namespace morvane
