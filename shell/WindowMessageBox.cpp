#include "WindowMessageBox.h"

#include "MessageTexts.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageResult ResultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    case QMessageBox::Cancel: return MessageResult::Cancel;
    default: return MessageResult::Ok;
    }
}

} // namespace

MessageResult ShowWindowMessageBox(const MessageRequest& request)
{
    const QString title = request.title.empty() ? QStringLiteral("Tovrik") : TranslatedMessageText(request.title);
    QMessageBox box(IconOf(request.icon), title, TranslatedMessageText(request.text), ButtonsOf(request.buttons),
                    QApplication::activeWindow());
    box.exec();
    // Closing the box with the window frame counts as its escape button.
    return ResultOf(box.standardButton(box.clickedButton()));
}

void InstallWindowMessageBox()
{
    SetMessageHandler(ShowWindowMessageBox);
}
