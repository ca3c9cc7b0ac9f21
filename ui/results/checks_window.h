#pragma once

#include "calibration_checks.h"
#include "file_dialog.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace morvane {

// frmChecks, "Calibration Checks": the guideline checks of the last calibration run, one row
// per check (what was checked, the value, the limit, the verdict) and the overall line. A
// failed check is shown in red and bold and says "Fail". "Print..." prints the checks as text on
// the printer (PDF files when none is installed), "Save As..." saves them as a text file.
class ChecksWindow : public QWidget {
    Q_OBJECT

public:
    // identifier gives the calibration identifier (txtid) that the proposed file names start
    // from; fileDialogs asks for the files.
    ChecksWindow(std::function<std::string()> identifier, FileDialogBackend& fileDialogs,
                 QWidget* parent = nullptr);

    void setChecks(const CalibrationChecks& checks);

    // The printer Print... uses (by default the system's default printer); empty: PDF files.
    void setPrinterName(const QString& name) { mPrinterName = name; }

private:
    void showRows();
    void fitTableToRows();
    void printChecks();
    void saveChecksAs();
    QString proposedName(const char* suffix) const;

    std::function<std::string()> mIdentifier;
    FileDialogBackend& mFileDialogs;
    QString mPrinterName;
    CalibrationChecks mChecks;

    QTableWidget* tblChecks;
    QLabel* lblOverall;
    QPushButton* cmdPrintChecks;
    QPushButton* cmdSaveChecks;
};

} // namespace morvane
