#include "WindowMessageBox.h"

#include "MessageTexts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

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

// The box's own buttons, left to right; the last one dismisses it.
std::vector<QAbstractButton*> AddChoices(QMessageBox& box, const std::vector<std::string>& choices)
{
    std::vector<QAbstractButton*> buttons;
    for (size_t k = 0; k < choices.size(); ++k) {
        const bool last = k + 1 == choices.size();
        buttons.push_back(box.addButton(QString::fromStdString(choices[k]),
                                        last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!buttons.empty()) {
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
        box.setEscapeButton(buttons.back());
    }
    return buttons;
}

} // namespace

MessageResult ShowWindowMessageBox(const MessageRequest& request)
{
    const QString title = request.title.empty() ? QStringLiteral("Tovrik") : TranslatedMessageText(request.title);
    const auto standard = request.choices.empty() ? ButtonsOf(request.buttons) : QMessageBox::NoButton;
    QMessageBox box(IconOf(request.icon), title, TranslatedMessageText(request.text), standard,
                    QApplication::activeWindow());
    const std::vector<QAbstractButton*> choices = AddChoices(box, request.choices);
    box.exec();
    // Closing the box with the window frame counts as its escape button.
    if (choices.empty())
        return ResultOf(box.standardButton(box.clickedButton()));
    const auto chosen = std::find(choices.begin(), choices.end(), box.clickedButton());
    return ChoiceResult(static_cast<int>(chosen == choices.end() ? choices.size() - 1 : chosen - choices.begin()));
}

void InstallWindowMessageBox()
{
    SetMessageHandler(ShowWindowMessageBox);
}
