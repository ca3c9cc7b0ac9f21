#pragma once

#include "lot_register.h"
#include "message.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace morvane {

// Where the register is, as the user last chose it.
using RegisterLocation = std::function<std::string()>;

// The register window: the calibrations recorded in the lot register, oldest first, one row each
// (tblRecords: date, working preparation, identifier, ISI ± SE, MNPT, verdict), narrowed to one
// working preparation with cboWorkingPreparation. "Open" (cmdOpenRecord, or a double click)
// asks for the chosen record's data set and report to be shown; "Trend Plot" (cmdTrendPlot) for
// the ISI trend of the chosen working preparation. A register that cannot be read is reported
// and leaves the window empty but usable; a register file not made yet is
// simply empty.
class RegisterWindow : public QWidget {
    Q_OBJECT

public:
    RegisterWindow(RegisterLocation location, MessageSink& messages, QWidget* parent = nullptr);

    // Reads the register again, keeping the chosen working preparation when it is still there.
    void reload();

    // The records the table shows, in its order.
    const std::vector<RegisterRecord>& shownRecords() const { return mShown; }

    // Room for the six columns of a typical record.
    QSize sizeHint() const override;

signals:
    void recordOpened(const RegisterRecord& record);
    // The records of one working preparation, oldest first.
    void trendPlotRequested(const QString& workingPreparation,
                            const std::vector<RegisterRecord>& records);

private:
    void placeControls();
    void readRegister();
    void fillPreparations();
    void fillTable();
    void openChosenRecord();
    void showTrendPlot();
    QString trendPreparation() const;
    std::vector<RegisterRecord> recordsOf(const QString& workingPreparation) const;

    RegisterLocation mLocation;
    MessageSink& mMessages;
    std::vector<RegisterRecord> mRecords;
    std::vector<RegisterRecord> mShown;
    QLabel* lblRegister;
    QComboBox* cboWorkingPreparation;
    QTableWidget* tblRecords;
    QPushButton* cmdOpenRecord;
    QPushButton* cmdTrendPlot;
};

} // namespace morvane
