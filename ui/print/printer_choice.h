#pragma once

#include "file_dialog.h"

#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace morvane {

// A printer set up for one job named documentName: the named printer, or when the name is empty
// a PDF file chosen with the save dialog of pdfRequest. Nothing when the user cancelled the
// choice of the file.
std::unique_ptr<QPrinter> PrinterForJob(const QString& printerName, const QString& documentName,
                                        const FileDialogRequest& pdfRequest,
                                        FileDialogBackend& fileDialogs, QWidget* parent);

// The save dialog that asks for a PDF file, proposing the given name.
FileDialogRequest PdfFileRequest(const QString& title, const QString& proposedName);

} // namespace morvane
