// The desktop program as the recovery test needs it: it types into its data editor, says
// "typed" and runs until it is killed.
#include "recovery_keeper.h"
#include "recovery_typing.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    morvane::RecordingMessageSink messages;
    morvane::ScriptedFileDialogs dialogs;
    morvane::MainWindow window(messages, dialogs, MORVANE_TCRIT_FILE);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    morvane::RecoveryKeeper recovery(window, messages);
    morvane::test::TypeIntoEditor(window.editor());
    std::puts("typed");
    std::fflush(stdout);
    return QApplication::exec();
}
