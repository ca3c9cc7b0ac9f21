// The recovery copy as a user meets it: a program killed while data are typed leaves its copy,
// which a program started later offers only once the first is gone; Yes brings back exactly
// what was typed, No removes the copy.
#include "recovery_keeper.h"
#include "recovery_typing.h"
#include "whole_file.h"

#include <QProcess>

using namespace morvane;
using namespace morvane::test;

namespace {

QString copyOf(const QProcess& typist) {
    const QString pattern = QStringLiteral("recovery-%1-*.txt").arg(typist.processId());
    const QStringList found = QDir(RecoveryFolder()).entryList({pattern}, QDir::Files);
    return found.isEmpty() ? QString() : RecoveryFolder() + '/' + found.constFirst();
}

std::optional<RecoveryContents> readCopy(const QString& path) {
    return ReadRecoveryCopy(ReadWholeFile(QFile::encodeName(path).toStdString()).bytes);
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir mHome;
    RecordingMessageSink mMessages;
    ScriptedFileDialogs mDialogs;

    // Starts the typist; its copy must hold all it typed within two seconds of its last key.
    void startTypist(QProcess& typist, const RecoveryContents& typed) {
        typist.start(QStringLiteral(RECOVERY_TYPIST), {});
        QVERIFY(typist.waitForReadyRead(30000));
        QCOMPARE(typist.readLine(), QByteArray("typed\n"));
        QTRY_VERIFY_WITH_TIMEOUT(readCopy(copyOf(typist)) == typed, 2000);
    }

private slots:
    void initTestCase() {
        QVERIFY(mHome.isValid());
        qputenv("HOME", QFile::encodeName(mHome.path()));
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, QFile::encodeName(mHome.filePath(QString::fromLatin1(name))));
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(RecoveryFolder(), mHome.filePath(".local/state/morvane"));
        qputenv("XDG_STATE_HOME", QFile::encodeName(mHome.filePath("state")));
        QCOMPARE(RecoveryFolder(), mHome.filePath("state/morvane"));
    }

    void typingOfAKilledProgramComesBackOnceItIsGone() {
        MainWindow window(mMessages, mDialogs, MORVANE_TCRIT_FILE);
        const RecoveryContents typed =
            Typed(window.editor()->gridCells(), window.editor()->fields());
        QProcess typist;
        startTypist(typist, typed);
        const QString left = copyOf(typist);
        RecoveryKeeper(window, mMessages).offerLeftCopies();
        QVERIFY(mMessages.messages.empty());
        typist.kill();
        QVERIFY(typist.waitForFinished());
        RecoveryKeeper keeper(window, mMessages);
        keeper.offerLeftCopies();
        const Message question{"", kRecoverQuestion, MessageIcon::Question, MessageButtons::YesNo};
        QVERIFY(mMessages.messages == std::vector{question});
        QVERIFY(window.editor()->gridCells() == typed.grid);
        QVERIFY(window.editor()->fields() == typed.fields);
        QVERIFY(window.editor()->isChanged());
        QVERIFY(!QFile::exists(left));
        QVERIFY(readCopy(keeper.copyPath()) == typed);
        window.openDataFile(fixture("ui_calibration.txt"));
        QVERIFY(!QFile::exists(keeper.copyPath()));
    }

    void noRemovesTheCopy() {
        MainWindow window(mMessages, mDialogs, MORVANE_TCRIT_FILE);
        const GridCells fresh = window.editor()->gridCells();
        QProcess typist;
        startTypist(typist, Typed(fresh, window.editor()->fields()));
        const QString left = copyOf(typist);
        typist.kill();
        QVERIFY(typist.waitForFinished());
        mMessages = RecordingMessageSink();
        mMessages.answers = {MessageAnswer::No};
        RecoveryKeeper(window, mMessages).offerLeftCopies();
        QCOMPARE(mMessages.messages.size(), std::size_t{1});
        QVERIFY(!QFile::exists(left));
        QVERIFY(window.editor()->gridCells() == fresh);
        QVERIFY(QDir(RecoveryFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
