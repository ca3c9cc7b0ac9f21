// Random user actions on the whole program: typing, Enter, field changes, Calibrate and the
// menu commands, with files good and bad and questions answered at random. The program must keep
// working and every message must have a title and a text; under the sanitizer build it also
// shows that none of these paths touches memory it does not own.
#include "editor_window.h"
#include "file_dialog.h"
#include "main_window.h"
#include "window_test_support.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>

#include <random>

using namespace morvane;
using namespace morvane::test;

namespace {

std::mt19937 generator(20261205);

int pick(std::size_t count) {
    return static_cast<int>(generator() % count);
}

const char* const kTexts[] = {"12.5", "30", "", "abc", "-1", "0", "1e400", ".5", "Normal"};
const char* const kFields[] = {"txtGrid",  "txtLowerINR", "txtUpperINR",
                               "txtSDReg", "txtISI",      "txtid"};
const char* const kItems[] = {"mnuFileItem0", "mnuFileItem1", "mnuFileItem2", "mnuFileItem5",
                              "mnuDeleteRow", "mnuMakePlot",  "mnuCopyPlot",  "mnuSavePlot"};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void randomActionsKeepTheProgramWorking() {
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        QTemporaryDir folder;
        const QStringList files = {fixture("ui_calibration.txt"), fixture("ui_two_abnormals.txt"),
                                   folder.filePath("missing.txt"), fixture("")};
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        window.show();
        const int actions = qEnvironmentVariableIntValue("MORVANE_SOAK_ACTIONS");
        for (int done = 0; done < (actions > 0 ? actions : 2000); ++done) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QWidget* editor = window.editor();
            switch (pick(4)) {
            case 0:
                clickCell(child<DataGrid>(editor, "Grid1"), 1 + pick(20), 1 + pick(3));
                [[fallthrough]];
            case 1:
                replaceText(child<QLineEdit>(editor, kFields[pick(std::size(kFields))]),
                            kTexts[pick(std::size(kTexts))]);
                QTest::keyClick(child<QLineEdit>(editor, "txtGrid"), Qt::Key_Return);
                break;
            case 2:
                QTest::mouseClick(child<QPushButton>(editor, "Command1"), Qt::LeftButton);
                break;
            default: {
                const char* name = kItems[pick(std::size(kItems))];
                // Files to open, good and bad; everything else is saved in the scratch folder.
                messages.answers = {pick(2) ? MessageAnswer::Yes : MessageAnswer::No};
                dialogs.answers = {std::string_view(name) == "mnuFileItem1"
                                       ? files[pick(std::size_t(files.size()))]
                                       : folder.filePath("saved")};
                if (auto* item = child<QAction>(&window, name); item->isEnabled())
                    item->trigger();
            }
            }
        }
        for (const Message& message : messages.messages)
            QVERIFY(!message.shownTitle().empty() && !message.text.empty());
        // The program still calibrates a good file from start to end.
        dialogs.answers = {fixture("ui_calibration.txt")};
        child<QAction>(&window, "mnuFileItem1")->trigger();
        QTest::mouseClick(child<QPushButton>(window.editor(), "Command1"), Qt::LeftButton);
        QVERIFY(child<QAction>(&window, "mnuMakePlot")->isEnabled());
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
