#include "message_printing.h"

namespace morvane {

void WriteText(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

MessageAnswer PrintingMessageSink::show(const Message& message) {
    WriteText(mErr, message.shownTitle() + ": " + message.text + "\n");
    std::fflush(mErr);
    mMessages.push_back(message);
    return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

} // namespace morvane
