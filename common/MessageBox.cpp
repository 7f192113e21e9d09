#include "MessageBox.h"

#include <iostream>
#include <utility>

namespace {

MessageResult WriteToStandardError(const MessageRequest& request)
{
    std::cerr << (request.title.empty() ? "Tovrik" : request.title) << ": " << request.text << '\n';
    if (!request.choices.empty())
        return ChoiceResult(static_cast<int>(request.choices.size()) - 1);
    const bool asks = request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel;
    return asks ? MessageResult::Yes : MessageResult::Ok;
}

MessageHandler& CurrentHandler()
{
    static MessageHandler handler = WriteToStandardError;
    return handler;
}

} // namespace

MessageResult ShowMessage(const MessageRequest& request)
{
    return CurrentHandler()(request);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    if (!handler)
        handler = WriteToStandardError;
    return std::exchange(CurrentHandler(), std::move(handler));
}
