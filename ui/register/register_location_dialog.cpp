#include "register_location_dialog.h"

#include "lot_register.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morvane {

namespace {

const char* const kRegisterFilter = "Registers (*.sqlite)|*.sqlite|All Files (*.*)|*.*";

} // namespace

RegisterLocationDialog::RegisterLocationDialog(RegisterSettings& settings,
                                               FileDialogBackend& fileDialogs,
                                               std::function<void()> changed, QWidget* parent)
    : QDialog(parent), mSettings(settings), mDialog(fileDialogs), mChanged(std::move(changed)),
      txtRegisterLocation(new QLineEdit(settings.location, this)),
      cmdBrowse(new QPushButton(QStringLiteral("&Browse..."), this)),
      cmdDefault(new QPushButton(QStringLiteral("&Default"), this)),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("frmRegisterLocation"));
    setWindowTitle(QStringLiteral("Register Location"));
    setAttribute(Qt::WA_DeleteOnClose);
    placeControls();
    connect(cmdBrowse, &QPushButton::clicked, this, &RegisterLocationDialog::browse);
    connect(cmdDefault, &QPushButton::clicked, txtRegisterLocation, &QLineEdit::clear);
    connect(cmdOK, &QPushButton::clicked, this, &RegisterLocationDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &RegisterLocationDialog::reject);
}

void RegisterLocationDialog::placeControls() {
    txtRegisterLocation->setObjectName(QStringLiteral("txtRegisterLocation"));
    txtRegisterLocation->setPlaceholderText(QString::fromStdString(DefaultRegisterPath()));
    txtRegisterLocation->setMinimumWidth(420);
    for (auto [button, name] : {std::pair{cmdBrowse, "cmdBrowse"},
                                {cmdDefault, "cmdDefault"},
                                {cmdOK, "cmdOK"},
                                {cmdCancel, "cmdCancel"}})
        button->setObjectName(QLatin1String(name));
    cmdOK->setDefault(true);
    auto* label = new QLabel(
        QStringLiteral("&File or postgresql:// connection string (empty: the default file):"),
        this);
    label->setBuddy(txtRegisterLocation);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBrowse);
    buttons->addWidget(cmdDefault);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(txtRegisterLocation, 1, 0);
    layout->addLayout(buttons, 2, 0);
}

// An existing register is chosen as readily as a new file is named, so nothing is asked about
// replacing it.
void RegisterLocationDialog::browse() {
    mDialog.Filter = QString::fromLatin1(kRegisterFilter);
    mDialog.Flags = 0;
    mDialog.DialogTitle = QStringLiteral("Register Location");
    mDialog.FileName = txtRegisterLocation->text();
    mDialog.DefaultExt = QStringLiteral("sqlite");
    if (mDialog.ShowSave(this))
        txtRegisterLocation->setText(mDialog.FileName);
}

void RegisterLocationDialog::accept() {
    mSettings.location = txtRegisterLocation->text().trimmed();
    SaveRegisterSettings(mSettings);
    mChanged();
    QDialog::accept();
}

} // namespace morvane
