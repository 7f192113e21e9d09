#pragma once

#include <functional>
#include <string>

// Every message box of the program goes through ShowMessage. The window
// implementation is installed by the shell at start-up; tests install their
// own handler and answer the box without a window.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;   // UTF-8
    std::string title;  // UTF-8; empty means the program's default title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

using MessageHandler = std::function<MessageResult(const MessageRequest&)>;

MessageResult ShowMessage(const MessageRequest& request);

// Installs handler and returns the one it replaces. An empty handler restores
// the default, which writes the message to standard error and answers with
// the first button (OK or Yes).
MessageHandler SetMessageHandler(MessageHandler handler);
