#include "plot_options_dialog.h"

#include "twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morvane {

namespace {

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const QString& text = {}) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    if (!text.isEmpty())
        control->setText(text);
    return control;
}

} // namespace

PlotOptionsDialog::PlotOptionsDialog(PlotOptions& options, QWidget* parent)
    : QDialog(parent), mOptions(options),
      lblPlotTitle(makeControl<QLabel>(this, "lblPlotTitle", "Plot Title")),
      txtPlotTitle(makeControl<QLineEdit>(this, "txtPlotTitle")),
      lblYLabel(makeControl<QLabel>(this, "lblYLabel", "y-axis label")),
      txtYLabel(makeControl<QLineEdit>(this, "txtYLabel")),
      lblXLabel(makeControl<QLabel>(this, "lblXLabel", "x-axis label")),
      txtXLabel(makeControl<QLineEdit>(this, "txtXLabel")),
      chkAbnormal(makeControl<QCheckBox>(this, "chkAbnormal", "Plot abnormal only line")),
      chkLegend(makeControl<QCheckBox>(this, "chkLegend", "Include Legend")),
      chkExcluded(makeControl<QCheckBox>(this, "chkExcluded", "Show excluded samples")),
      chkBlackAndWhite(makeControl<QCheckBox>(this, "chkBlackAndWhite", "Black and white")),
      chkColourCopies(
          makeControl<QCheckBox>(this, "chkColourCopies", "Colour in copies and printouts")),
      cmdApply(makeControl<QPushButton>(this, "cmdApply", "Apply")),
      cmdCancel(makeControl<QPushButton>(this, "cmdCancel", "Cancel")) {
    setObjectName("frmPlotOptions");
    setWindowTitle("Plot Options");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    placeControls();
    cmdApply->setDefault(true);
    loadFromOptions();
    connect(cmdApply, &QPushButton::clicked, this, [this] {
        applyToOptions();
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    move(parentWidget() ? parentWidget()->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0));
}

// The designed layout, in twips: three labelled text boxes, the check boxes under them, and the
// two buttons at the bottom.
void PlotOptionsDialog::placeControls() {
    setFixedSize(twipsToPixels(QSize(5400, 4500), this));
    lblPlotTitle->setGeometry(twipsToPixels(120, 165, 1320, 285, this));
    txtPlotTitle->setGeometry(twipsToPixels(1560, 120, 3720, 360, this));
    lblYLabel->setGeometry(twipsToPixels(120, 645, 1320, 285, this));
    txtYLabel->setGeometry(twipsToPixels(1560, 600, 3720, 360, this));
    lblXLabel->setGeometry(twipsToPixels(120, 1125, 1320, 285, this));
    txtXLabel->setGeometry(twipsToPixels(1560, 1080, 3720, 360, this));
    chkAbnormal->setGeometry(twipsToPixels(1560, 1620, 3720, 315, this));
    chkLegend->setGeometry(twipsToPixels(1560, 2040, 3720, 315, this));
    chkExcluded->setGeometry(twipsToPixels(1560, 2460, 3720, 315, this));
    chkBlackAndWhite->setGeometry(twipsToPixels(1560, 2880, 3720, 315, this));
    chkColourCopies->setGeometry(twipsToPixels(1560, 3300, 3720, 315, this));
    cmdApply->setGeometry(twipsToPixels(1560, 3900, 1215, 420, this));
    cmdCancel->setGeometry(twipsToPixels(2940, 3900, 1215, 420, this));
}

void PlotOptionsDialog::loadFromOptions() {
    txtPlotTitle->setText(QString::fromStdString(mOptions.PlotTitle));
    txtYLabel->setText(QString::fromStdString(mOptions.YAxisLabel));
    txtXLabel->setText(QString::fromStdString(mOptions.XAxisLabel));
    chkAbnormal->setChecked(mOptions.ShowAbnormalOnlyLine);
    chkLegend->setChecked(mOptions.ShowLegend);
    chkExcluded->setChecked(mOptions.ShowExcludedSamples);
    chkBlackAndWhite->setChecked(mOptions.BlackAndWhite);
    chkColourCopies->setChecked(mOptions.ColourInCopies);
}

void PlotOptionsDialog::applyToOptions() {
    mOptions.PlotTitle = txtPlotTitle->text().toStdString();
    mOptions.YAxisLabel = txtYLabel->text().toStdString();
    mOptions.XAxisLabel = txtXLabel->text().toStdString();
    mOptions.ShowAbnormalOnlyLine = chkAbnormal->isChecked();
    mOptions.ShowLegend = chkLegend->isChecked();
    mOptions.ShowExcludedSamples = chkExcluded->isChecked();
    mOptions.BlackAndWhite = chkBlackAndWhite->isChecked();
    mOptions.ColourInCopies = chkColourCopies->isChecked();
}

} // namespace morvane
