#include "recovery_keeper.h"

#include "atomic_file.h"
#include "editor_window.h"
#include "main_window.h"
#include "path_for_files.h"
#include "whole_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

namespace morvane {

namespace {

// A copy is written at most this long after the first change that follows the last copy.
constexpr int kCopyDelayMs = 1000;

const QString kCopyPattern = QStringLiteral("recovery-*.txt");

// This program's copy: the process number and the start time keep it apart from the copies
// of every other program, running or ended, also one that had the same number before a reboot.
QString ownCopyPath() {
    return QStringLiteral("%1/recovery-%2-%3.txt")
        .arg(RecoveryFolder())
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch());
}

QString lockPath(const QString& copyPath) {
    return copyPath + QStringLiteral(".lock");
}

// The copies in the folder but this program's own, newest first. A lock without its copy, left
// by a program that ended before its first copy, counts as a copy, so offering takes and
// removes it.
QStringList otherCopies(const QString& ownCopy) {
    const QString lockEnding = lockPath(QString());
    QStringList copies;
    for (const QFileInfo& entry :
         QDir(RecoveryFolder())
             .entryInfoList({kCopyPattern, lockPath(kCopyPattern)}, QDir::Files, QDir::Time)) {
        QString copy = entry.absoluteFilePath();
        if (copy.endsWith(lockEnding))
            copy.chop(lockEnding.size());
        if (copy != ownCopy && !copies.contains(copy))
            copies.append(copy);
    }
    return copies;
}

} // namespace

// The user's state folder as the XDG base directory rules name it: $XDG_STATE_HOME, or
// ~/.local/state when that is unset or not an absolute path. Qt 6.4's QStandardPaths knows no
// state location, so the rule is written out here.
QString RecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/morvane"));
}

RecoveryKeeper::RecoveryKeeper(MainWindow& window, MessageSink& messages)
    : mWindow(window), mMessages(messages), mPath(ownCopyPath()), mLock(lockPath(mPath)) {
    QDir().mkpath(RecoveryFolder());
    mLock.setStaleLockTime(0);
    mLock.tryLock(0);
    mTimer.setSingleShot(true);
    mTimer.setInterval(kCopyDelayMs);
    connect(&mTimer, &QTimer::timeout, this, &RecoveryKeeper::writeCopy);
    connect(&window, &MainWindow::editorLoaded, this, &RecoveryKeeper::watch);
    watch(window.editor());
}

RecoveryKeeper::~RecoveryKeeper() {
    removeCopy();
}

void RecoveryKeeper::watch(EditorWindow* editor) {
    connect(editor, &EditorWindow::contentsChanged, this, &RecoveryKeeper::changed);
    connect(editor, &EditorWindow::markedUnchanged, this, &RecoveryKeeper::removeCopy);
}

// The timer is not restarted by later changes, so steady typing cannot put the copy off.
void RecoveryKeeper::changed() {
    if (!mTimer.isActive())
        mTimer.start();
}

// A copy that cannot be written is given up without a word: the data file is what counts.
void RecoveryKeeper::writeCopy() {
    mTimer.stop();
    if (const EditorWindow* editor = mWindow.editor())
        WriteFileAtomically(PathForFiles(mPath),
                            RecoveryCopyText(editor->gridCells(), editor->fields()));
}

void RecoveryKeeper::removeCopy() {
    mTimer.stop();
    QFile::remove(mPath);
}

void RecoveryKeeper::offerLeftCopies() {
    for (const QString& copy : otherCopies(mPath)) {
        if (offer(copy))
            return;
    }
}

// True when the copy was recovered. The lock counts as left behind only when the program named
// in it is gone, never for its age; it is held while the user is asked, so that a program
// starting meanwhile does not offer the same copy. A copy that is not whole is removed unasked.
bool RecoveryKeeper::offer(const QString& path) {
    QLockFile lock(lockPath(path));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return false;
    const std::optional<RecoveryContents> contents =
        ReadRecoveryCopy(ReadWholeFile(PathForFiles(path)).bytes);
    const bool recovered =
        contents && mMessages.show(Message{"", kRecoverQuestion, MessageIcon::Question,
                                           MessageButtons::YesNo}) == MessageAnswer::Yes;
    if (recovered)
        recover(*contents);
    QFile::remove(path);
    return recovered;
}

// The recovered data counts as changed, and is in this program's own copy before the old copy
// goes.
void RecoveryKeeper::recover(const RecoveryContents& contents) {
    EditorWindow* editor = mWindow.editor();
    editor->setGridCells(contents.grid);
    editor->setFields(contents.fields);
    writeCopy();
}

} // namespace morvane
