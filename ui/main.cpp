// morvane [DATAFILE]: the desktop program. A data file given on the command line is opened as
// File > Open would open it.
#include "file_dialog.h"
#include "main_window.h"
#include "message_box_sink.h"
#include "recovery_keeper.h"
#include "screenshots.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    // MORVANE_SCREENSHOTS=FOLDER takes the documentation's pictures and ends; its messages go
    // to the standard error instead of message boxes.
    const QString screenshotVariable = qEnvironmentVariable("MORVANE_SCREENSHOTS");
    const QString screenshots =
        screenshotVariable.isEmpty() ? QString() : QFileInfo(screenshotVariable).absoluteFilePath();
    morvane::MessageBoxSink boxes;
    morvane::RecordingMessageSink recorded;
    morvane::MessageSink& messages =
        screenshots.isEmpty() ? static_cast<morvane::MessageSink&>(boxes) : recorded;
    morvane::QtFileDialogBackend dialogs;
    // The program's folder becomes the current folder at start-up, so paths given to the
    // program are made absolute before.
    const QStringList arguments = QApplication::arguments().mid(1);
    const QString dataFile =
        arguments.isEmpty() ? QString() : QFileInfo(arguments.constFirst()).absoluteFilePath();
    morvane::MainWindow window(messages, dialogs);
    boxes.setParent(&window);
    window.show();
    if (!dataFile.isEmpty())
        window.openDataFile(dataFile);
    // The recovery copy of the editor, kept and offered except while the documentation's
    // pictures are taken; it goes when the program ends normally.
    std::optional<morvane::RecoveryKeeper> recovery;
    if (screenshots.isEmpty()) {
        recovery.emplace(window, messages);
        recovery->offerLeftCopies();
    } else {
        morvane::TakeScreenshots(window, screenshots);
    }
    const int status = QApplication::exec();
    recovery.reset();
    for (const morvane::Message& message : recorded.messages)
        std::fprintf(stderr, "%s: %s\n", message.shownTitle().c_str(), message.text.c_str());
    return status;
}
