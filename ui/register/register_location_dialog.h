#pragma once

#include "file_dialog.h"
#include "register_settings.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace morvane {

// frmRegisterLocation: where the lot register is. txtRegisterLocation holds a file path or a
// "postgresql://" connection string; empty stands for the default file, which the box shows
// greyed. "Browse..." chooses a file, "Default" empties the box, "OK" keeps the choice in the
// settings and tells the caller, "Cancel" closes without a change. It deletes itself when
// closed, so create it with new and show it without blocking.
class RegisterLocationDialog : public QDialog {
    Q_OBJECT

public:
    RegisterLocationDialog(RegisterSettings& settings, FileDialogBackend& fileDialogs,
                           std::function<void()> changed, QWidget* parent = nullptr);

private:
    void placeControls();
    void browse();
    void accept() override;

    RegisterSettings& mSettings;
    CommonDialog mDialog;
    std::function<void()> mChanged;
    QLineEdit* txtRegisterLocation;
    QPushButton* cmdBrowse;
    QPushButton* cmdDefault;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace morvane
