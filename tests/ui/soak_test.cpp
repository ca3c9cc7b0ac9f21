// A long run of random user actions on the whole program: typing, Enter, tag choices, Delete
// Row, Calibrate, New, Open of good and bad files, plots and saves. It asserts that the program
// keeps working and that every message it shows has a title and a text; under the sanitizer
// build it also shows that none of these paths reads or writes memory it does not own.
#include "data_grid.h"
#include "file_dialog.h"
#include "main_window.h"
#include "message.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <random>

using namespace morvane;

namespace {

// Answers every question at random and checks that each message can be read.
class RandomAnswers : public MessageSink {
public:
    explicit RandomAnswers(std::mt19937& random) : mRandom(random) {}
    MessageAnswer show(const Message& message) override {
        ++shown;
        if (message.shownTitle().empty() || message.text.empty())
            ++unreadable;
        if (message.buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        return mRandom() % 2 ? MessageAnswer::Yes : MessageAnswer::No;
    }
    int shown = 0;
    int unreadable = 0;

private:
    std::mt19937& mRandom;
};

QString fixture(const char* name) {
    return QStringLiteral(MORVANE_TEST_DATA_DIR "/") + QLatin1String(name);
}

const char* const kTypedTexts[] = {"12.5", "30",    "13.1",  "45.25", "",         "abc",    "-1",
                                   "0",    "1e400", "99999", ".5",    "Abnormal", "Normal", "12,5"};
const char* const kParameterFields[] = {"txtLowerINR", "txtUpperINR", "txtSDReg", "txtISI",
                                        "txtSEISI",    "txtid",       "txtIRP",   "txtWRP"};
const char* const kMenuItems[] = {"mnuFileItem0", "mnuFileItem1",  "mnuFileItem2", "mnuFileItem5",
                                  "mnuDeleteRow", "mnuDataEditor", "mnuResults",   "mnuGraph",
                                  "mnuMakePlot",  "mnuCopyPlot",   "mnuSavePlot",  "mnuAbout"};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private:
    std::mt19937 mRandom{20261205};
    std::unique_ptr<RandomAnswers> mMessages;
    ScriptedFileDialogs mDialogs;
    std::unique_ptr<MainWindow> mWindow;
    QTemporaryDir mFolder;
    QStringList mOpenable;

    template <typename T> T* find(const char* name) const {
        return mWindow->findChild<T*>(QLatin1String(name));
    }
    int pick(int count) { return static_cast<int>(mRandom() % static_cast<unsigned>(count)); }

    void typeIntoTheGrid() {
        DataGrid* grid = find<DataGrid>("Grid1");
        const QModelIndex index = grid->model()->index(pick(25), pick(3));
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        auto* box = find<QLineEdit>("txtGrid");
        box->selectAll();
        QTest::keyClicks(box, QLatin1String(kTypedTexts[pick(std::size(kTypedTexts))]));
        QTest::keyClick(box, Qt::Key_Return);
    }
    void chooseATag() {
        auto* tags = find<QComboBox>("Combotag");
        if (tags && tags->isVisible())
            QTest::keyClick(tags, pick(2) ? Qt::Key_A : Qt::Key_N);
    }
    void changeAParameter() {
        auto* field = find<QLineEdit>(kParameterFields[pick(std::size(kParameterFields))]);
        field->selectAll();
        QTest::keyClicks(field, QLatin1String(kTypedTexts[pick(std::size(kTypedTexts))]));
    }
    void chooseAMenuItem() {
        const char* name = kMenuItems[pick(std::size(kMenuItems))];
        QAction* item = find<QAction>(name);
        if (!item->isEnabled())
            return;
        // File dialogs: a file to open, a place to save, or Cancel.
        const int answer = pick(4);
        if (answer == 0)
            mDialogs.answers = {std::nullopt};
        else if (QLatin1String(name) == QLatin1String("mnuFileItem1"))
            mDialogs.answers = {mOpenable[pick(mOpenable.size())]};
        else
            mDialogs.answers = {mFolder.filePath(QStringLiteral("saved-%1").arg(pick(3)))};
        item->trigger();
    }
    void act() {
        switch (pick(10)) {
        case 0:
        case 1:
        case 2:
            typeIntoTheGrid();
            break;
        case 3:
            chooseATag();
            break;
        case 4:
            changeAParameter();
            break;
        case 5:
        case 6:
            QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
            break;
        default:
            chooseAMenuItem();
            break;
        }
    }

private slots:
    void initTestCase() {
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        QVERIFY(mFolder.isValid());
        const QString missing = mFolder.filePath(QStringLiteral("no such file.txt"));
        const QString broken = mFolder.filePath(QStringLiteral("broken.txt"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"RP\"\r\n\"WP\"\r\n1\r\n0\r\n0,25,x\r\n1,12");
        file.close();
        mOpenable = {fixture("ui_calibration.txt"), fixture("ui_two_abnormals.txt"), missing,
                     broken, QStringLiteral(MORVANE_TEST_DATA_DIR)};
    }

    void randomActionsKeepTheProgramWorking() {
        const int actions = qEnvironmentVariableIntValue("MORVANE_SOAK_ACTIONS") > 0
                                ? qEnvironmentVariableIntValue("MORVANE_SOAK_ACTIONS")
                                : 5000;
        const int seconds = 120;
        mMessages = std::make_unique<RandomAnswers>(mRandom);
        mWindow =
            std::make_unique<MainWindow>(*mMessages, mDialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        QElapsedTimer clock;
        clock.start();
        int done = 0;
        for (; done < actions && clock.elapsed() < seconds * 1000; ++done) {
            act();
            if (done % 50 == 0)
                QCoreApplication::processEvents();
            QVERIFY(find<DataGrid>("Grid1"));
        }
        qInfo("%d random actions in %lld ms, %d messages shown", done, clock.elapsed(),
              mMessages->shown);
        QCOMPARE(mMessages->unreadable, 0);
        QVERIFY(mMessages->shown > 0);
        // The program still calibrates a good file from start to end.
        mDialogs.answers = {fixture("ui_calibration.txt")};
        find<QAction>("mnuFileItem1")->trigger();
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(find<QAction>("mnuMakePlot")->isEnabled());
        mWindow.reset();
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
