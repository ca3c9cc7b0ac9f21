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

// The buttons a box offers, the first one being its default.
QList<QMessageBox::StandardButton> boxButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {QMessageBox::Ok};
    case MessageButtons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MessageButtons::SaveDiscardCancel:
        return {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok};
}

MessageAnswer answerOf(int pressed) {
    switch (pressed) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Save:
        return MessageAnswer::Save;
    case QMessageBox::Discard:
        return MessageAnswer::Discard;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer MessageBoxSink::show(const Message& message) {
    const QList<QMessageBox::StandardButton> buttons = boxButtons(message.buttons);
    QMessageBox box(boxIcon(message.icon), QString::fromStdString(message.shownTitle()),
                    QString::fromStdString(message.text), QMessageBox::NoButton, mParent);
    for (const QMessageBox::StandardButton button : buttons)
        box.addButton(button);
    box.setDefaultButton(buttons.constFirst());
    LiftedBusyCursor normalPointer;
    return answerOf(box.exec());
}

} // namespace morvane
