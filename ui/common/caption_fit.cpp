#include "caption_fit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace morvane {

namespace {

constexpr qreal kSmallestPointSize = 7.0;
constexpr qreal kPointStep = 0.25;

bool fitsOnOneLine(const QFontMetrics& metrics, const QString& text, int width, int height) {
    return metrics.horizontalAdvance(text) <= width && metrics.height() <= height;
}

bool fitsWrapped(const QFontMetrics& metrics, const QString& text, int width, int height) {
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap | Qt::AlignLeft, text);
    return needed.width() <= width && needed.height() <= height;
}

} // namespace

QFont FittingFont(const QFont& font, const std::function<bool(const QFont&)>& fits) {
    QFont candidate = font;
    qreal size = font.pointSizeF();
    while (size > kSmallestPointSize && !fits(candidate)) {
        size = std::max(kSmallestPointSize, size - kPointStep);
        candidate.setPointSizeF(size);
    }
    return candidate;
}

void FitLabel(QLabel* label, int rightLimit) {
    const QRect designed = label->geometry();
    const QString text = label->text();
    const int roomToRight = std::max(designed.width(), rightLimit - designed.left());
    const auto fits = [&](const QFont& font) {
        const QFontMetrics metrics(font);
        return fitsOnOneLine(metrics, text, roomToRight, designed.height()) ||
               fitsWrapped(metrics, text, designed.width(), designed.height());
    };
    label->setFont(FittingFont(label->font(), fits));
    const QFontMetrics metrics(label->font());
    if (fitsOnOneLine(metrics, text, roomToRight, designed.height())) {
        label->setWordWrap(false);
        label->resize(std::max(designed.width(), metrics.horizontalAdvance(text)),
                      designed.height());
    } else {
        label->setWordWrap(true);
    }
}

void FitControlText(QWidget* control) {
    const int designedWidth = control->width();
    control->setFont(FittingFont(control->font(), [&](const QFont& font) {
        control->setFont(font);
        return control->minimumSizeHint().width() <= designedWidth;
    }));
}

} // namespace morvane
