#include "checks_window.h"

#include "atomic_file.h"
#include "calibration_checks_text.h"
#include "calibration_run.h"
#include "path_for_files.h"
#include "print_dialog.h"
#include "printer_choice.h"
#include "report_printer.h"
#include "text_encoding.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace morvane {

namespace {

const QColor kFailColour(192, 0, 0);

QTableWidgetItem* cell(const std::string& text) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

// A failed verdict must not be missed: red and bold, besides its word.
void markFailed(QTableWidgetItem* item) {
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setForeground(Qt::white);
    item->setBackground(kFailColour);
}

// The checks text as printed statements, one text line each.
ReportStatements textStatements(const std::string& text) {
    ReportStatements statements;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        statements.push_back({ReportItem::Text(text.substr(start, end - start))});
    return statements;
}

} // namespace

ChecksWindow::ChecksWindow(std::function<std::string()> identifier, FileDialogBackend& fileDialogs,
                           QWidget* parent)
    : QWidget(parent), mIdentifier(std::move(identifier)), mFileDialogs(fileDialogs),
      mPrinterName(DefaultPrinterName()), tblChecks(new QTableWidget(0, 4, this)),
      lblOverall(new QLabel(this)), cmdPrintChecks(new QPushButton(QStringLiteral("Print..."))),
      cmdSaveChecks(new QPushButton(QStringLiteral("Save As..."))) {
    setObjectName(QStringLiteral("frmChecks"));
    setWindowTitle(QStringLiteral("Calibration Checks"));
    tblChecks->setObjectName(QStringLiteral("tblChecks"));
    tblChecks->setHorizontalHeaderLabels({QStringLiteral("Check"), QStringLiteral("Value"),
                                          QStringLiteral("Limit"), QStringLiteral("Verdict")});
    tblChecks->verticalHeader()->hide();
    tblChecks->setSelectionMode(QAbstractItemView::NoSelection);
    tblChecks->setFocusPolicy(Qt::NoFocus);
    tblChecks->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblChecks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblChecks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lblOverall->setObjectName(QStringLiteral("lblOverall"));
    lblOverall->setWordWrap(true);
    cmdPrintChecks->setObjectName(QStringLiteral("cmdPrintChecks"));
    cmdSaveChecks->setObjectName(QStringLiteral("cmdSaveChecks"));
    connect(cmdPrintChecks, &QPushButton::clicked, this, &ChecksWindow::printChecks);
    connect(cmdSaveChecks, &QPushButton::clicked, this, &ChecksWindow::saveChecksAs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrintChecks);
    buttons->addWidget(cmdSaveChecks);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tblChecks);
    layout->addWidget(lblOverall);
    layout->addLayout(buttons);
}

void ChecksWindow::setChecks(const CalibrationChecks& checks) {
    mChecks = checks;
    showRows();
}

void ChecksWindow::showRows() {
    const std::vector<CheckRow> rows = CalibrationCheckRows(mChecks);
    tblChecks->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < tblChecks->rowCount(); ++r) {
        const CheckRow& row = rows[static_cast<std::size_t>(r)];
        const std::string texts[] = {row.check, row.value, row.limit, row.verdict};
        for (int c = 0; c < 4; ++c)
            tblChecks->setItem(r, c, cell(texts[c]));
        if (row.verdict == kVerdictFail)
            markFailed(tblChecks->item(r, 3));
    }
    tblChecks->resizeColumnsToContents();
    fitTableToRows();
    lblOverall->setText(QString::fromStdString(OverallCheckLine(mChecks)));
    const bool failed = mChecks.MeetsCriteria != true;
    lblOverall->setStyleSheet(
        failed ? QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(kFailColour.name())
               : QString());
}

// The table shows every row and column without scrolling: the window grows to hold it.
void ChecksWindow::fitTableToRows() {
    const int frame = 2 * tblChecks->frameWidth();
    tblChecks->setMinimumSize(frame + tblChecks->horizontalHeader()->length(),
                              frame + tblChecks->horizontalHeader()->sizeHint().height() +
                                  tblChecks->verticalHeader()->length());
}

QString ChecksWindow::proposedName(const char* suffix) const {
    return QString::fromStdString(ProposedFileName(mIdentifier(), suffix).fileName);
}

void ChecksWindow::printChecks() {
    const auto printer =
        PrinterForJob(mPrinterName, QStringLiteral("Morvane checks"),
                      PdfFileRequest(QStringLiteral("Print Checks"),
                                     proposedName("_checks") + QStringLiteral(".pdf")),
                      mFileDialogs, this);
    if (!printer)
        return;
    // The table's lines are wider than a portrait page holds in the report's font.
    printer->setPageOrientation(QPageLayout::Landscape);
    PrintReportStatements(textStatements(CalibrationChecksText(mChecks)), *printer);
}

void ChecksWindow::saveChecksAs() {
    const FileDialogRequest request{FileDialogKind::Save,
                                    QStringLiteral("Text Files (*.txt)|*.txt"),
                                    QStringLiteral("Save Checks As..."),
                                    proposedName("_checks"),
                                    kAskBeforeReplacing,
                                    QStringLiteral("txt")};
    const std::optional<QString> path = mFileDialogs.choose(request, this);
    if (!path)
        return;
    // Like the data files, the checks are Windows-1252 text; their texts are all in that page.
    const auto bytes = Utf8ToWindows1252(CalibrationChecksText(mChecks));
    WriteFileAtomically(PathForFiles(*path), bytes.value_or(std::string()));
}

} // namespace morvane
