#pragma once

#include "calibration_records.h"
#include "plot_options.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <string>

namespace morvane {

// Picture1: the drawing surface of the plot window. What is drawn on it persists as an image,
// which the widget shows centred on a white ground.
class PlotPicture : public QWidget {
    Q_OBJECT
public:
    explicit PlotPicture(QWidget* parent = nullptr);

    // Replaces the image shown.
    void setImage(const QImage& image);
    const QImage& image() const { return mImage; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage mImage;
};

// frmGraph, the plot window: a child of the main window's workspace holding Picture1, on which
// "Produce Plot" draws the calibration plot. Picture1 fills the window, and the plot follows the
// window's size: a resized window redraws it, as large a square as fits, centred. New data or
// new plot options leave the plot as it was drawn until the next "Produce Plot".
//
// Copying, saving and printing take the picture at the designed size, 7000 twips square,
// whatever the window's size at the time, drawn black on white unless colour in copies is asked
// for.
class GraphWindow : public QWidget {
    Q_OBJECT
public:
    explicit GraphWindow(QWidget* parent = nullptr);

    // Clears Picture1 and draws the calibration plot of these records on it, at Picture1's
    // size and the screen's pixel density, and the picture at the designed size. Keeps copies
    // of the records for redrawing and for pictureSvg().
    void drawCalibrationPlot(const CalibrationDataSet& data, const CalibrationResults& results,
                             const PlotOptions& options);
    // The plot at the designed size, for copying, saving and printing: a null image until a plot
    // was drawn.
    QImage picture() const;
    // The plot last drawn, as an SVG document of the picture's size; empty before any plot.
    std::string pictureSvg() const;

    // Puts the picture on the clipboard (Copy Plot); false when there is none yet.
    bool copyPlot() const;
    // Writes the picture to path (Save Plot), as savePlotImage() does; false on any failure.
    bool savePlot(const QString& path) const;

    // Moves the MDI sub-window framing the plot to the top-left corner of the workspace.
    void moveToOrigin();

    // The designed size, 7000 twips square, which the workspace gives the window when it opens.
    QSize sizeHint() const override;
    // The designed size in pixels on the screen of the given widget.
    static QSize designedSize(const QWidget* on);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage renderPlot(QSize size, const PlotOptions& options) const;
    void showPlot();

    struct DrawnPlot {
        CalibrationDataSet data;
        CalibrationResults results;
        PlotOptions options;
    };

    PlotPicture* Picture1;
    std::optional<DrawnPlot> mDrawn;
    QImage mPicture;
};

} // namespace morvane
