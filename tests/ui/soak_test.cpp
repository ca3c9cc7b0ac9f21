// Random user actions on the whole program: typing, Enter, tag choices, field changes, Calibrate
// and the menu commands, with files good and bad, Cancel, and questions answered at random. The
// program must keep working and every message must have a title and a text; under the sanitizer
// build it also shows that none of these paths touches memory it does not own.
#include "window_test_support.h"

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
const char* const kItems[] = {"mnuFileItem0", "mnuFileItem1",  "mnuFileItem2", "mnuFileItem5",
                              "mnuDeleteRow", "mnuDataEditor", "mnuResults",   "mnuGraph",
                              "mnuMakePlot",  "mnuCopyPlot",   "mnuSavePlot",  "mnuAbout"};

const MessageAnswer kAnswers[] = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Save,
                                  MessageAnswer::Discard, MessageAnswer::Cancel};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void randomActionsKeepTheProgramWorking() {
        QTemporaryDir folder;
        const QStringList files = {fixture("ui_calibration.txt"), fixture("ui_two_abnormals.txt"),
                                   fixture("ui_semicolon_in_a_pt.txt"),
                                   folder.filePath("missing.txt"), fixture("")};
        RecordingMessageSink messages;
        ScriptedFileDialogs dialogs;
        MainWindow window(messages, dialogs, QStringLiteral(MORVANE_TCRIT_FILE));
        window.show();
        const int actions = qEnvironmentVariableIntValue("MORVANE_SOAK_ACTIONS");
        for (int done = 0; done < (actions > 0 ? actions : 2000); ++done) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QWidget* editor = window.editor();
            auto* tags = child<QComboBox>(editor, "Combotag");
            switch (pick(4)) {
            case 0:
                clickCell(child<DataGrid>(editor, "Grid1"), 1 + pick(20), 1 + pick(3));
                if (tags->isVisible()) {
                    QTest::keyClick(tags, pick(2) ? Qt::Key_Home : Qt::Key_End);
                    break;
                }
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
                std::optional<QString> file = std::string_view(name) == "mnuFileItem1"
                                                  ? files[pick(std::size_t(files.size()))]
                                                  : folder.filePath("saved");
                if (pick(4) == 0)
                    file.reset(); // Cancel
                dialogs.answers = {file};
                messages.answers = {kAnswers[pick(std::size(kAnswers))],
                                    kAnswers[pick(std::size(kAnswers))]};
                if (auto* item = child<QAction>(&window, name); item->isEnabled())
                    item->trigger();
            }
            }
        }
        for (const Message& message : messages.messages)
            QVERIFY(!message.shownTitle().empty() && !message.text.empty());
        // The program still calibrates a good file from start to end.
        dialogs.answers = {fixture("ui_calibration.txt")};
        messages.answers = {MessageAnswer::Discard};
        child<QAction>(&window, "mnuFileItem1")->trigger();
        QTest::mouseClick(child<QPushButton>(window.editor(), "Command1"), Qt::LeftButton);
        QVERIFY(child<QAction>(&window, "mnuMakePlot")->isEnabled());
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
