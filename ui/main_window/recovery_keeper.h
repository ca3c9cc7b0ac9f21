#pragma once

#include "message.h"
#include "recovery_copy.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

namespace morvane {

class EditorWindow;
class MainWindow;

// The folder of the recovery copies, in the user's state folder.
QString RecoveryFolder();

// The question asked about a recovery copy left by a program that did not end properly.
inline constexpr const char* kRecoverQuestion =
    "Morvane was not ended properly. Recover the data typed before?";

// Keeps a recovery copy of the data editor of this running program, written within two seconds
// of each change and removed whenever the editor holds what was last opened or saved, and when
// the program ends normally. Each running program has a copy of its own and holds the lock
// beside it for its whole life, so a copy whose lock no running program holds was left by one
// that ended abruptly: those are offered at start-up.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    RecoveryKeeper(MainWindow& window, MessageSink& messages);
    // An ordinary end: the copy goes.
    ~RecoveryKeeper() override;

    // Asks about each copy left behind, newest first, until one is recovered: Yes puts its grid
    // and fields into the editor, No removes it.
    void offerLeftCopies();

    QString copyPath() const { return mPath; }

private:
    void watch(EditorWindow* editor);
    void changed();
    void writeCopy();
    void removeCopy();
    bool offer(const QString& path);
    void recover(const RecoveryContents& contents);

    MainWindow& mWindow;
    MessageSink& mMessages;
    QString mPath;
    QLockFile mLock;
    QTimer mTimer;
};

} // namespace morvane
