#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Every message box of the program goes through ShowMessage. The window
// implementation is installed by the shell at start-up; tests install their
// own handler and answer the box without a window.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Critical, Question };
// A box with buttons of its own answers ChoiceResult(index) instead.
enum class MessageResult : int { Ok, Cancel, Yes, No };

struct MessageRequest {
    MessageRequest(std::string text = {}, std::string title = {}, MessageButtons buttons = MessageButtons::Ok,
                   MessageIcon icon = MessageIcon::None, std::vector<std::string> choices = {})
        : text(std::move(text)), title(std::move(title)), buttons(buttons), icon(icon), choices(std::move(choices))
    {
    }

    std::string text;   // UTF-8
    std::string title;  // UTF-8; empty means the program's default title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // When not empty, these buttons (UTF-8 labels, left to right) replace
    // buttons; the last one also answers the escape key and the window frame.
    std::vector<std::string> choices;
};

// The answer for the button choices[index] of a box with buttons of its own.
constexpr MessageResult ChoiceResult(int index)
{
    return static_cast<MessageResult>(static_cast<int>(MessageResult::No) + 1 + index);
}
// The index of the chosen button, or -1 for a standard answer.
constexpr int ChoiceIndex(MessageResult result)
{
    const int index = static_cast<int>(result) - static_cast<int>(MessageResult::No) - 1;
    return index >= 0 ? index : -1;
}

using MessageHandler = std::function<MessageResult(const MessageRequest&)>;

MessageResult ShowMessage(const MessageRequest& request);

// Installs handler and returns the one it replaces. An empty handler restores
// the default, which writes the message to standard error and answers with
// the first standard button (OK or Yes), or with the last of the box's own
// buttons, the one that dismisses it.
MessageHandler SetMessageHandler(MessageHandler handler);
