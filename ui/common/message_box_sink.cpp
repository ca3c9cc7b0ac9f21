#include "message_box_sink.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace morvane {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Takes every override cursor off while it lives and puts the same number back afterwards,
// so that the user answers a box with the ordinary pointer.
class LiftedBusyCursor {
public:
    LiftedBusyCursor() {
        while (QGuiApplication::overrideCursor()) {
            mCursors.push_back(*QGuiApplication::overrideCursor());
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~LiftedBusyCursor() {
        for (auto it = mCursors.rbegin(); it != mCursors.rend(); ++it)
            QGuiApplication::setOverrideCursor(*it);
    }
    LiftedBusyCursor(const LiftedBusyCursor&) = delete;
    LiftedBusyCursor& operator=(const LiftedBusyCursor&) = delete;

private:
    QList<QCursor> mCursors;
};

} // namespace

MessageAnswer MessageBoxSink::show(const Message& message) {
    const bool question = message.buttons == MessageButtons::YesNo;
    QMessageBox box(boxIcon(message.icon), QString::fromStdString(message.shownTitle()),
                    QString::fromStdString(message.text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, mParent);
    box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
    LiftedBusyCursor normalPointer;
    const int pressed = box.exec();
    if (!question)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace morvane
