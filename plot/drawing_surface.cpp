#include "drawing_surface.h"

#include <algorithm>
#include <cmath>

namespace morvane {

double SurfaceScale::pixelsAlongX(double distance) const {
    return std::abs(distance / (mRight - mLeft) * mWidthPx);
}

double SurfaceScale::pixelsAlongY(double distance) const {
    return std::abs(distance / (mBottom - mTop) * mHeightPx);
}

double SurfaceScale::unitsAlongX(double pixels) const {
    return std::abs(pixels / mWidthPx * (mRight - mLeft));
}

double SurfaceScale::penWidthPx() const {
    constexpr double kPixelsPerPenWidth = 480.0;
    return std::max(1.0, std::min(mWidthPx, mHeightPx) / kPixelsPerPenWidth);
}

} // namespace morvane
