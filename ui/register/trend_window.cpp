#include "trend_window.h"

#include "graph_window.h"
#include "plot_image_io.h"
#include "qpainter_surface.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane {

namespace {

const char* const kSaveFilter = "PNG Pictures (*.png)|*.png|SVG Pictures (*.svg)|*.svg";
constexpr QSize kDesignedSize(640, 420);
// "2026-12-07" of "2026-12-07T10:57:04Z".
constexpr std::size_t kDateLength = 10;

} // namespace

std::vector<TrendPoint> TrendPointsOf(const std::vector<RegisterRecord>& records) {
    std::vector<TrendPoint> points;
    for (const RegisterRecord& record : records)
        if (record.isiWorking)
            points.push_back({"#" + std::to_string(record.id) + " " +
                                  record.recordedAtUtc.substr(0, kDateLength),
                              *record.isiWorking, record.seIsiWorking});
    return points;
}

TrendWindow::TrendWindow(FileDialogBackend& fileDialogs, MessageSink& messages, QWidget* parent)
    : QWidget(parent), mDialog(fileDialogs), mMessages(messages), picTrend(new PlotPicture(this)),
      cmdSaveTrendPlot(new QPushButton(QStringLiteral("&Save..."), this)) {
    setObjectName(QStringLiteral("TrendWindow"));
    picTrend->setObjectName(QStringLiteral("picTrend"));
    cmdSaveTrendPlot->setObjectName(QStringLiteral("cmdSaveTrendPlot"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveTrendPlot);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picTrend, 1);
    layout->addLayout(buttons);
    resize(kDesignedSize);
    connect(cmdSaveTrendPlot, &QPushButton::clicked, this, &TrendWindow::savePlot);
}

void TrendWindow::showTrend(const QString& workingPreparation,
                            const std::vector<RegisterRecord>& records) {
    mPreparation = workingPreparation;
    mTitle = "ISI of " + workingPreparation.toStdString() + " (bars: \u00B1 2 SE)";
    mPoints = TrendPointsOf(records);
    setWindowTitle(QStringLiteral("ISI Trend: ") + workingPreparation);
    redraw();
}

QSize TrendWindow::sizeHint() const {
    return kDesignedSize;
}

QImage TrendWindow::picture() const {
    return picTrend->image();
}

void TrendWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    redraw();
}

QImage TrendWindow::renderPlot(QSize size) const {
    QImage image = newPlotImage(size, picTrend->devicePixelRatioF());
    {
        QPainterSurface surface(image);
        DrawTrendPlot(surface, mPoints, mTitle, size.width(), size.height());
    }
    return image;
}

void TrendWindow::redraw() {
    if (!mTitle.empty())
        picTrend->setImage(renderPlot(picTrend->size()));
}

void TrendWindow::savePlot() {
    mDialog.Filter = QString::fromLatin1(kSaveFilter);
    mDialog.Flags = kAskBeforeReplacing;
    mDialog.DialogTitle = QStringLiteral("Save Trend Plot");
    mDialog.FileName = mPreparation + QStringLiteral("_trend");
    mDialog.DefaultExt = QStringLiteral("png");
    if (!mDialog.ShowSave(this))
        return;
    const QSize size = picTrend->size();
    QString path = mDialog.FileName;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!savePlotImage(picture(), path,
                       RenderTrendPlotSvg(mPoints, mTitle, size.width(), size.height())))
        mMessages.show(Message{"Save Trend Plot",
                               "The trend plot could not be saved as " + path.toStdString() + ".",
                               MessageIcon::Critical, MessageButtons::Ok});
}

} // namespace morvane
