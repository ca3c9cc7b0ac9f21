#include "printer_choice.h"

#include <QPrinter>

namespace morvane {

std::unique_ptr<QPrinter> PrinterForJob(const QString& printerName, const QString& documentName,
                                        const FileDialogRequest& pdfRequest,
                                        FileDialogBackend& fileDialogs, QWidget* parent) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(documentName);
    if (!printerName.isEmpty()) {
        printer->setPrinterName(printerName);
        return printer;
    }
    const std::optional<QString> path = fileDialogs.choose(pdfRequest, parent);
    if (!path)
        return nullptr;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(*path);
    return printer;
}

FileDialogRequest PdfFileRequest(const QString& title, const QString& proposedName) {
    return FileDialogRequest{FileDialogKind::Save,
                             QStringLiteral("PDF Files (*.pdf)|*.pdf"),
                             title,
                             proposedName,
                             kAskBeforeReplacing,
                             QStringLiteral("pdf")};
}

} // namespace morvane
