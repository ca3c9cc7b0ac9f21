#pragma once

#include <string>
#include <vector>

namespace morvane {

// The title a message box shows when the message has none of its own.
inline constexpr const char* kApplicationTitle = "TIRONEX 3.1";

enum class MessageIcon { Critical, Question, Information };
enum class MessageButtons { Ok, YesNo, SaveDiscardCancel };
enum class MessageAnswer { Ok, Yes, No, Save, Discard, Cancel };

// One message box: what the user reads and how they can answer.
struct Message {
    std::string title; // empty: the application title is shown
    std::string text;
    MessageIcon icon = MessageIcon::Critical;
    MessageButtons buttons = MessageButtons::Ok;

    // The title as the box shows it.
    std::string shownTitle() const { return title.empty() ? kApplicationTitle : title; }
    friend bool operator==(const Message&, const Message&) = default;
};

// Where the engine and the file functions send their messages. The desktop program shows a
// modal message box, the command-line calibrator prints a line, tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the message and waits for the user's answer.
    virtual MessageAnswer show(const Message& message) = 0;
};

// A sink that keeps every message and answers questions from a script (Yes by default, Discard
// when asked whether to save changes).
class RecordingMessageSink : public MessageSink {
public:
    MessageAnswer show(const Message& message) override {
        messages.push_back(message);
        if (message.buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (answers.empty())
            return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes
                                                            : MessageAnswer::Discard;
        MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    std::vector<Message> messages;
    std::vector<MessageAnswer> answers;
};

// A data error: critical-stop icon, one OK button, title "Data Error".
inline Message DataErrorMessage(std::string text) {
    return Message{"Data Error", std::move(text), MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace morvane
