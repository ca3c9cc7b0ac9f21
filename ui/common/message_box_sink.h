#pragma once

#include "message.h"

class QWidget;

namespace morvane {

// Shows each message as a modal message box over the given window: the critical-stop,
// question or information icon, OK, Yes and No, or Save, Discard and Cancel (Escape cancels),
// and the message's title (the application title when it has none). A busy pointer is lifted
// while the box is open.
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : mParent(parent) {}
    void setParent(QWidget* parent) { mParent = parent; }
    MessageAnswer show(const Message& message) override;

private:
    QWidget* mParent;
};

} // namespace morvane
