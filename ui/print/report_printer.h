#pragma once

#include "report_statements.h"

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <string>

class QPainter;
class QPrinter;

namespace morvane {

// The font the printed report is set in: the first installed of DejaVu Sans Mono, Liberation
// Mono, Courier New and Courier whose average character width is the width of its characters
// (else the system's fixed-pitch font), at 10 points. In such a face the report's columns,
// counted in average character widths, line up with the spaces of its literals.
QFont DefaultPrinterFont();

// Draws the report's statements with painter, active on printer: from the top-left corner of
// the printable area, one line spacing apart, the columns counted in the font's average
// character width; a full page and a page-break statement go on with printer.newPage().
void PaintReportStatements(QPainter& painter, QPrinter& printer, const ReportStatements& statements,
                           const QFont& font);

// Where a picture of the given size goes on a printable area of the given size: as large as the
// area allows, keeping its proportions, at the top and centred across.
QRectF PlotPictureTarget(QSizeF picture, QSizeF page);

// The plot as it is printed: the plot window's picture at the designed size, and the same plot
// as an SVG document of that size, which is drawn as lines and texts so that paper and PDF get
// it sharp. Null while no plot has been drawn.
struct PrintedPlot {
    QImage picture;
    std::string svg;

    bool isNull() const { return picture.isNull(); }
};

// Draws the plot at its picture's PlotPictureTarget() on the page: the SVG document as
// vectors, or the picture when there is no document.
void PaintPlotPicture(QPainter& painter, QPrinter& printer, const PrintedPlot& plot);

// Prints report statements (the results' or the checks') as one job on printer, in font. Writes no
// file besides the printer's own and shows nothing: a job that cannot be started (no printer, an
// output file that cannot be written) is skipped without a word.
void PrintReportStatements(const ReportStatements& statements, QPrinter& printer,
                           const QFont& font = DefaultPrinterFont());

// Prints the plot as one job of one page on printer; without a plot, or when the job cannot be
// started, nothing is printed.
void PrintPlotPicture(const PrintedPlot& plot, QPrinter& printer);

} // namespace morvane
