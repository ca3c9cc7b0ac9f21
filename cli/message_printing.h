#pragma once

#include "message.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace morvane {

// Writes text to a C stream as it stands.
void WriteText(std::FILE* stream, std::string_view text);

// Prints each message as the line "TITLE: TEXT" the moment it is shown, and keeps it.
class PrintingMessageSink : public MessageSink {
public:
    explicit PrintingMessageSink(std::FILE* err) : mErr(err) {}

    MessageAnswer show(const Message& message) override;
    const std::vector<Message>& messages() const { return mMessages; }

private:
    std::FILE* mErr;
    std::vector<Message> mMessages;
};

} // namespace morvane
