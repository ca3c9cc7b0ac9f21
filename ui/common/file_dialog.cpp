#include "file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace morvane {

QStringList NameFiltersFromList(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& pattern = parts[i + 1];
        // The dialog reads the patterns from the last parenthesised group of a filter, so the
        // description's own "(pattern)" gives way to the dialog's form of the pattern.
        QString description = parts[i];
        const QString named = QStringLiteral("(%1)").arg(pattern);
        if (description.endsWith(named))
            description.chop(named.size());
        QString patterns = pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        nameFilters << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns);
    }
    return nameFilters;
}

QString QtFileDialogBackend::startFolder() const {
    if (!mLastFolder.isEmpty())
        return mLastFolder;
    // An installed program's folder is no place for the user's files.
    const QFileInfo current(QDir::currentPath());
    return current.isWritable() ? current.absoluteFilePath() : QDir::homePath();
}

void QtFileDialogBackend::rememberFolderOf(const QString& path) {
    mLastFolder = QFileInfo(path).absolutePath();
}

std::optional<QString> QtFileDialogBackend::choose(const FileDialogRequest& request,
                                                   QWidget* parent) {
    QFileDialog dialog(parent, request.title);
    const bool saving = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFiltersFromList(request.filter));
    dialog.setDirectory(startFolder());
    if (saving) {
        dialog.setDefaultSuffix(request.defaultExt);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & 2) == 0);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    rememberFolderOf(chosen);
    return chosen;
}

std::optional<QString> ScriptedFileDialogs::choose(const FileDialogRequest& request, QWidget*) {
    requests.append(request);
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

bool CommonDialog::ShowOpen(QWidget* parent) {
    return show(FileDialogKind::Open, parent);
}

bool CommonDialog::ShowSave(QWidget* parent) {
    return show(FileDialogKind::Save, parent);
}

bool CommonDialog::show(FileDialogKind kind, QWidget* parent) {
    const FileDialogRequest request{kind, Filter, DialogTitle, FileName, Flags, DefaultExt};
    const std::optional<QString> chosen = mBackend->choose(request, parent);
    if (!chosen)
        return false;
    FileName = QDir::toNativeSeparators(QFileInfo(*chosen).absoluteFilePath());
    FileTitle = QFileInfo(*chosen).fileName();
    return true;
}

} // namespace morvane
