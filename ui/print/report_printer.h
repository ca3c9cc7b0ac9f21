#pragma once

#include "report_statements.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>

class QImage;
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

// Draws the picture at its PlotPictureTarget() on the page.
void PaintPlotPicture(QPainter& painter, QPrinter& printer, const QImage& picture);

// PrintResultsReport: prints the statements of the printed report as one job on printer, in
// font. Writes no file
// besides the printer's own and shows nothing. False when the job could not be started (no
// printer, an output file that cannot be written).
bool PrintResultsReport(const ReportStatements& statements, QPrinter& printer,
                        const QFont& font = DefaultPrinterFont());

// Prints the plot window's picture as one job of one page on printer. False when there is no
// picture or the job could not be started.
bool PrintPlotPicture(const QImage& picture, QPrinter& printer);

} // namespace morvane
