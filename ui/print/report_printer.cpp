#include "report_printer.h"

#include "report_page_layout.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSvgRenderer>

#include <cmath>

namespace morvane {

namespace {

constexpr int kPrinterPointSize = 10;
constexpr int kPrinterDotsPerInch = 1200;

// A face whose average character width differs from the width of its characters would set the
// zone and column positions apart from the spaces of the literals, and the columns would not
// line up. Measured at a printer's resolution, where the screen's hinting does not round the
// widths.
bool columnsMatchCharacters(const QFont& font) {
    if (!QFontInfo(font).fixedPitch())
        return false;
    QImage page(1, 1, QImage::Format_Mono);
    const int dotsPerMeter = static_cast<int>(std::lround(kPrinterDotsPerInch / 0.0254));
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    const QFontMetricsF metrics(font, &page);
    const double average = metrics.averageCharWidth();
    const double digit = metrics.horizontalAdvance(QLatin1Char('0'));
    return average > 0.0 && std::abs(digit - average) <= 0.01 * average;
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QFont DefaultPrinterFont() {
    for (const char* family :
         {"DejaVu Sans Mono", "Liberation Mono", "Courier New", "Nimbus Mono PS", "Courier"}) {
        QFont font(QString::fromLatin1(family), kPrinterPointSize);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        if (columnsMatchCharacters(font))
            return font;
    }
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(kPrinterPointSize);
    return fixed;
}

void PaintReportStatements(QPainter& painter, QPrinter& printer, const ReportStatements& statements,
                           const QFont& font) {
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &printer);
    const double columnWidth = metrics.averageCharWidth();
    const ColumnWidth width = [&metrics, columnWidth](std::string_view text) {
        return metrics.horizontalAdvance(fromUtf8(text)) / columnWidth;
    };
    const PrintArea area{printer.width() / columnWidth,
                         static_cast<int>(std::floor(printer.height() / metrics.lineSpacing()))};
    const std::vector<PrintPage> pages = LayOutPrintedReport(statements, width, area);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        double baseline = metrics.ascent();
        for (const PrintLine& line : pages[p]) {
            for (const PrintRun& run : line)
                for (const PrintRun& word : SplitIntoWords(run, width))
                    painter.drawText(QPointF(word.column * columnWidth, baseline),
                                     fromUtf8(word.text));
            baseline += metrics.lineSpacing();
        }
    }
}

QRectF PlotPictureTarget(QSizeF picture, QSizeF page) {
    const QSizeF size = picture.scaled(page, Qt::KeepAspectRatio);
    return {QPointF((page.width() - size.width()) / 2.0, 0.0), size};
}

void PaintPlotPicture(QPainter& painter, QPrinter& printer, const PrintedPlot& plot) {
    const QSizeF page(printer.width(), printer.height());
    const QRectF target = PlotPictureTarget(QSizeF(plot.picture.size()), page);
    QSvgRenderer vectors(QByteArray::fromStdString(plot.svg));
    if (vectors.isValid()) {
        vectors.render(&painter, target);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, plot.picture);
}

void PrintReportStatements(const ReportStatements& statements, QPrinter& printer,
                           const QFont& font) {
    QPainter painter;
    if (painter.begin(&printer))
        PaintReportStatements(painter, printer, statements, font);
}

void PrintPlotPicture(const PrintedPlot& plot, QPrinter& printer) {
    QPainter painter;
    if (!plot.isNull() && painter.begin(&printer))
        PaintPlotPicture(painter, printer, plot);
}

} // namespace morvane
