#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace morvane {

enum class FileDialogKind { Open, Save };

// The one dialog option the program's commands set: a save dialog asks before replacing a file.
inline constexpr int kAskBeforeReplacing = 2;

// Everything a command sets on the common file dialog before showing it.
struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString filter; // "Description|pattern|Description|pattern"
    QString title;
    QString fileName; // proposed name, may be empty
    int flags = 0;    // kAskBeforeReplacing, or 0
    QString defaultExt;

    friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

// Shows an open or save dialog and returns the full path chosen, or nothing on cancel. The
// program uses the platform's dialogs; tests script the answers.
class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    virtual std::optional<QString> choose(const FileDialogRequest& request, QWidget* parent) = 0;
    // Tells the dialogs of a file opened without them (command line, drops), so the next
    // dialog starts in its folder. Dialogs that keep no folder ignore it.
    virtual void rememberFolderOf(const QString& path) { (void)path; }
};

// The platform's file dialogs. They start in the folder of the last file chosen or opened, else
// in the current folder (the home folder when the current one cannot be written); nothing is
// kept between runs of the program. A save dialog asks
// before replacing a file and adds the default extension to a name typed without one.
class QtFileDialogBackend : public FileDialogBackend {
public:
    std::optional<QString> choose(const FileDialogRequest& request, QWidget* parent) override;
    void rememberFolderOf(const QString& path) override;

private:
    QString startFolder() const;
    QString mLastFolder;
};

// Answers dialogs from a script of chosen paths (nothing stands for Cancel) and keeps every
// request it was shown. An empty script cancels.
class ScriptedFileDialogs : public FileDialogBackend {
public:
    std::optional<QString> choose(const FileDialogRequest& request, QWidget* parent) override;

    QList<std::optional<QString>> answers;
    QList<FileDialogRequest> requests;
};

// The name filters of a dialog from the "Description|pattern|..." list. A pattern of "*.*"
// matches every file, as users of that notation expect, also files without an extension.
QStringList NameFiltersFromList(const QString& filter);

// The program's one common file dialog: commands set its filter, option, title and file name,
// show it, and read back the full path and the name without folder.
class CommonDialog {
public:
    explicit CommonDialog(FileDialogBackend& backend) : mBackend(&backend) {}

    QString Filter;
    QString DialogTitle;
    QString FileName;  // proposed name before showing, the full path chosen afterwards
    QString FileTitle; // the chosen file's name without its folder
    QString DefaultExt = QStringLiteral("txt");
    int Flags = 0;

    // Show the dialog; false when the user cancelled, and the names are left as they were.
    bool ShowOpen(QWidget* parent);
    bool ShowSave(QWidget* parent);

private:
    bool show(FileDialogKind kind, QWidget* parent);
    FileDialogBackend* mBackend;
};

} // namespace morvane
