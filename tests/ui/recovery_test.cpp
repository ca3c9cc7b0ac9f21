// The recovery copy as a user meets it: programs killed while data are typed leave their copies,
// offered by a program started later only once they are gone; No removes a copy, Yes brings
// back exactly what was typed.
#include "path_for_files.h"
#include "recovery_keeper.h"
#include "recovery_typing.h"
#include "whole_file.h"

#include <QProcess>

#include <memory>

using namespace morvane;
using namespace morvane::test;

namespace {

QString copyPath(const QProcess& typist) {
    const QString pattern = QStringLiteral("recovery-%1-*.txt").arg(typist.processId());
    const QStringList found = QDir(RecoveryFolder()).entryList({pattern}, QDir::Files);
    return found.isEmpty() ? QString() : RecoveryFolder() + '/' + found[0];
}
std::optional<RecoveryContents> copyOf(const QProcess& typist) {
    return ReadRecoveryCopy(ReadWholeFile(PathForFiles(copyPath(typist))).bytes);
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir mHome;

private slots:
    // The copies live in the state folder: $XDG_STATE_HOME, else ~/.local/state.
    void typingOfKilledProgramsIsOfferedOnceTheyAreGone() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, QFile::encodeName(mHome.filePath(name)));
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(RecoveryFolder(), mHome.filePath("HOME/.local/state/morvane"));
        qputenv("XDG_STATE_HOME", "relative/state"); // not an absolute path: passed over
        QCOMPARE(RecoveryFolder(), mHome.filePath("HOME/.local/state/morvane"));
        qputenv("XDG_STATE_HOME", QFile::encodeName(mHome.filePath("state")));
        QCOMPARE(RecoveryFolder(), mHome.filePath("state/morvane"));
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, MORVANE_TCRIT_FILE);
        const RecoveryContents typed =
            Typed(window.editor()->gridCells(), window.editor()->fields());
        QProcess typists[2];
        for (QProcess& typist : typists) {
            typist.start(QStringLiteral(RECOVERY_TYPIST), {});
            QVERIFY(typist.waitForReadyRead(30000));
            QCOMPARE(typist.readLine(), QByteArray("typed\n"));
            QTRY_VERIFY_WITH_TIMEOUT(copyOf(typist) == typed, 2000);
        }
        RecoveryKeeper(window, messages).offerLeftCopies();
        QVERIFY(messages.messages.empty());
        // A copy left behind is offered even when a running program's copy is newer.
        QFile running(copyPath(typists[1]));
        QVERIFY(running.open(QIODevice::ReadWrite) &&
                running.setFileTime(QDateTime::currentDateTime().addSecs(3600),
                                    QFileDevice::FileModificationTime));
        running.close();
        typists[0].kill();
        QVERIFY(typists[0].waitForFinished());
        messages.answers = {MessageAnswer::No};
        RecoveryKeeper(window, messages).offerLeftCopies();
        QCOMPARE(messages.messages.size(), 1u);
        typists[1].kill();
        QVERIFY(typists[1].waitForFinished());
        messages.answers = {MessageAnswer::Yes};
        auto keeper = std::make_unique<RecoveryKeeper>(window, messages);
        keeper->offerLeftCopies();
        const Message question{"", kRecoverQuestion, MessageIcon::Question, MessageButtons::YesNo};
        QVERIFY(messages.messages == std::vector(2, question));
        QVERIFY((RecoveryContents{window.editor()->gridCells(), window.editor()->fields()}) ==
                typed);
        QVERIFY(window.editor()->isChanged());
        // The copies offered are gone, and their locks; this program's copy and lock are left.
        const QString own = keeper->copyPath();
        QCOMPARE(QDir(RecoveryFolder()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QFileInfo(own).fileName(), QFileInfo(own).fileName() + ".lock"}));
        window.openDataFile(fixture("ui_calibration.txt"));
        QVERIFY(!QFile::exists(own));
        // Steady typing does not put the copy off; an ordinary end removes it.
        for (int key = 0; key < 6 && !QFile::exists(own); ++key) {
            QTest::keyClick(child<QLineEdit>(window.editor(), "txtIRP"), Qt::Key_X);
            QTest::qWait(300);
        }
        QVERIFY(QFile::exists(own));
        keeper.reset();
        QVERIFY(!QFile::exists(own));
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
