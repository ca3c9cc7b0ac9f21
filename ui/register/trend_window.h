#pragma once

#include "file_dialog.h"
#include "message.h"
#include "register_record.h"
#include "trend_plot.h"

#include <QWidget>

#include <string>
#include <vector>

class QPushButton;

namespace morvane {

class PlotPicture;

// The trend plot's points of one working preparation's records, oldest first: each record that
// has an ISI (a failed fit has none), labelled with its id and the date it was recorded
// ("#3 2026-12-07").
std::vector<TrendPoint> TrendPointsOf(const std::vector<RegisterRecord>& records);

// The trend window: the ISI of each calibration of one working preparation in the order
// recorded, with bars of two standard errors, drawn to fill the window. "Save" (cmdSaveTrendPlot)
// writes the plot at the window's size as a PNG picture, or as an SVG document when the name
// ends in ".svg".
class TrendWindow : public QWidget {
    Q_OBJECT

public:
    TrendWindow(FileDialogBackend& fileDialogs, MessageSink& messages, QWidget* parent = nullptr);

    void showTrend(const QString& workingPreparation, const std::vector<RegisterRecord>& records);
    // The plot as shown.
    QImage picture() const;
    const std::vector<TrendPoint>& points() const { return mPoints; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage renderPlot(QSize size) const;
    void redraw();
    void savePlot();

    CommonDialog mDialog;
    MessageSink& mMessages;
    std::string mTitle;
    QString mPreparation;
    std::vector<TrendPoint> mPoints;
    PlotPicture* picTrend;
    QPushButton* cmdSaveTrendPlot;
};

} // namespace morvane
