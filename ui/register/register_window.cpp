#include "register_window.h"

#include "lot_register.h"
#include "register_listing.h"
#include "register_settings.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace morvane {

namespace {

const char* const kAll = "All";
constexpr int kDesignedWidth = 720;
constexpr int kDesignedHeight = 330;
const char* const kTitle = "Register";
const QStringList kColumns = {
    "Date", "Working preparation", "Identifier", "ISI \u00B1 SE", "MNPT", "Verdict"};

QStringList CellsOf(const RegisterRecord& record) {
    const RegisterListingRow row = ListingRowOf(record);
    QStringList cells;
    for (const std::string* text : {&row.date, &row.workingPreparation, &row.identifier,
                                    &row.isiWithSe, &row.mnpt, &row.verdict})
        cells << QString::fromStdString(*text);
    return cells;
}

} // namespace

RegisterWindow::RegisterWindow(RegisterLocation location, MessageSink& messages, QWidget* parent)
    : QWidget(parent), mLocation(std::move(location)), mMessages(messages),
      lblRegister(new QLabel(this)), cboWorkingPreparation(new QComboBox(this)),
      tblRecords(new QTableWidget(0, static_cast<int>(kColumns.size()), this)),
      cmdOpenRecord(new QPushButton(QStringLiteral("&Open"), this)),
      cmdTrendPlot(new QPushButton(QStringLiteral("&Trend Plot"), this)) {
    setObjectName(QStringLiteral("RegisterWindow"));
    setWindowTitle(QStringLiteral("Register"));
    placeControls();
    connect(cboWorkingPreparation, &QComboBox::currentIndexChanged, this,
            &RegisterWindow::fillTable);
    connect(cmdOpenRecord, &QPushButton::clicked, this, &RegisterWindow::openChosenRecord);
    connect(tblRecords, &QTableWidget::cellDoubleClicked, this, &RegisterWindow::openChosenRecord);
    connect(cmdTrendPlot, &QPushButton::clicked, this, &RegisterWindow::showTrendPlot);
}

void RegisterWindow::placeControls() {
    lblRegister->setObjectName(QStringLiteral("lblRegister"));
    cboWorkingPreparation->setObjectName(QStringLiteral("cboWorkingPreparation"));
    cboWorkingPreparation->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    tblRecords->setObjectName(QStringLiteral("tblRecords"));
    tblRecords->setHorizontalHeaderLabels(kColumns);
    tblRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    tblRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblRecords->verticalHeader()->hide();
    tblRecords->horizontalHeader()->setStretchLastSection(true);
    cmdOpenRecord->setObjectName(QStringLiteral("cmdOpenRecord"));
    cmdTrendPlot->setObjectName(QStringLiteral("cmdTrendPlot"));
    auto* filter = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Working preparation:"), this);
    label->setBuddy(cboWorkingPreparation);
    filter->addWidget(label);
    filter->addWidget(cboWorkingPreparation);
    filter->addStretch();
    filter->addWidget(cmdOpenRecord);
    filter->addWidget(cmdTrendPlot);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRegister);
    layout->addLayout(filter);
    layout->addWidget(tblRecords);
}

QSize RegisterWindow::sizeHint() const {
    return {kDesignedWidth, kDesignedHeight};
}

void RegisterWindow::reload() {
    const QString chosen = cboWorkingPreparation->currentText();
    readRegister();
    fillPreparations();
    const int kept =
        cboWorkingPreparation->findText(chosen, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    cboWorkingPreparation->setCurrentIndex(std::max(0, kept));
    fillTable();
}

void RegisterWindow::readRegister() {
    mRecords.clear();
    const std::string location = mLocation();
    const QString shownLocation = QString::fromStdString(RedactedRegisterLocation(location));
    if (!IsRegisterConnectionString(location) &&
        !QFileInfo::exists(QString::fromStdString(location))) {
        lblRegister->setText(QStringLiteral("No calibration recorded yet in ") + shownLocation);
        return;
    }
    try {
        mRecords = OpenLotRegister(location, RegisterAccess::ReadOnly)->list();
        const QString count = mRecords.size() == 1
                                  ? QStringLiteral("1 record")
                                  : QStringLiteral("%1 records").arg(mRecords.size());
        lblRegister->setText(count + QStringLiteral(" in ") + shownLocation);
    } catch (const RegisterError& error) {
        lblRegister->setText(QStringLiteral("The register could not be read: ") + shownLocation);
        mMessages.show(Message{kTitle, error.what(), MessageIcon::Critical, MessageButtons::Ok});
    }
}

// "All", then each working preparation in the order it first appears in the register.
void RegisterWindow::fillPreparations() {
    const QSignalBlocker quiet(cboWorkingPreparation);
    cboWorkingPreparation->clear();
    cboWorkingPreparation->addItem(QString::fromLatin1(kAll));
    QStringList names;
    for (const RegisterRecord& record : mRecords)
        if (const QString name = QString::fromStdString(record.workingPreparation);
            !names.contains(name))
            names << name;
    cboWorkingPreparation->addItems(names);
}

void RegisterWindow::fillTable() {
    mShown = cboWorkingPreparation->currentIndex() <= 0
                 ? mRecords
                 : recordsOf(cboWorkingPreparation->currentText());
    tblRecords->setRowCount(static_cast<int>(mShown.size()));
    for (int row = 0; row < tblRecords->rowCount(); ++row) {
        const QStringList cells = CellsOf(mShown[static_cast<std::size_t>(row)]);
        for (int column = 0; column < cells.size(); ++column)
            tblRecords->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    tblRecords->resizeColumnsToContents();
    if (!mShown.empty())
        tblRecords->selectRow(tblRecords->rowCount() - 1);
}

std::vector<RegisterRecord> RegisterWindow::recordsOf(const QString& workingPreparation) const {
    std::vector<RegisterRecord> records;
    std::copy_if(mRecords.begin(), mRecords.end(), std::back_inserter(records),
                 [&](const RegisterRecord& record) {
                     return QString::fromStdString(record.workingPreparation) == workingPreparation;
                 });
    return records;
}

void RegisterWindow::openChosenRecord() {
    const int row = tblRecords->currentRow();
    if (row < 0 || row >= static_cast<int>(mShown.size())) {
        mMessages.show(Message{kTitle, "Choose a record to open.", MessageIcon::Information,
                               MessageButtons::Ok});
        return;
    }
    emit recordOpened(mShown[static_cast<std::size_t>(row)]);
}

// The preparation of the filter, else that of the chosen record.
QString RegisterWindow::trendPreparation() const {
    if (cboWorkingPreparation->currentIndex() > 0)
        return cboWorkingPreparation->currentText();
    const int row = tblRecords->currentRow();
    if (row < 0 || row >= static_cast<int>(mShown.size()))
        return {};
    return QString::fromStdString(mShown[static_cast<std::size_t>(row)].workingPreparation);
}

void RegisterWindow::showTrendPlot() {
    const QString preparation = trendPreparation();
    if (preparation.isNull()) {
        mMessages.show(Message{kTitle, "Choose a working preparation for the trend plot.",
                               MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    emit trendPlotRequested(preparation, recordsOf(preparation));
}

} // namespace morvane
