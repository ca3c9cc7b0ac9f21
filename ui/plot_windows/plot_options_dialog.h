#pragma once

#include "plot_options.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane {

// frmPlotOptions: edits the plot options it was given. It opens showing them; "Apply" stores
// the controls back and closes, "Cancel" closes without storing. It deletes itself when
// closed (every showing loads it afresh), so create it with new and show it without blocking.
class PlotOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PlotOptionsDialog(PlotOptions& options, QWidget* parent = nullptr);

private:
    void placeControls();
    void loadFromOptions();
    void applyToOptions();

    PlotOptions& mOptions;
    QLabel* lblPlotTitle;
    QLineEdit* txtPlotTitle;
    QLabel* lblYLabel;
    QLineEdit* txtYLabel;
    QLabel* lblXLabel;
    QLineEdit* txtXLabel;
    QCheckBox* chkAbnormal;
    QCheckBox* chkLegend;
    QCheckBox* chkExcluded;
    QCheckBox* chkBlackAndWhite;
    QCheckBox* chkColourCopies;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;
};

} // namespace morvane
