#include "WindowMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Answers the box that is open with button, noting what it showed.
struct BoxAnswer {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

BoxAnswer* AnswerNextBox(QMessageBox::StandardButton button)
{
    auto* seen = new BoxAnswer;
    QTimer::singleShot(0, [seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
        box->button(button)->click();
    });
    return seen;
}

TEST(WindowMessageBoxTest, ShowsTheRequestAndAnswersWithTheButtonPressed)
{
    InstallWindowMessageBox();
    std::unique_ptr<BoxAnswer> seen(AnswerNextBox(QMessageBox::No));
    const MessageResult result =
        ShowMessage({"セーブしますか？", "", MessageButtons::YesNo, MessageIcon::Question});
    EXPECT_EQ(result, MessageResult::No);
    EXPECT_EQ(seen->text, QStringLiteral("セーブしますか？"));
    EXPECT_EQ(seen->title, QStringLiteral("Tovrik"));
    EXPECT_EQ(seen->icon, QMessageBox::Question);
    EXPECT_EQ(seen->buttons, QMessageBox::Yes | QMessageBox::No);

    seen.reset(AnswerNextBox(QMessageBox::Cancel));
    EXPECT_EQ(ShowMessage({"text", "title", MessageButtons::OkCancel, MessageIcon::Warning}), MessageResult::Cancel);
    EXPECT_EQ(seen->title, QStringLiteral("title"));
    EXPECT_EQ(seen->icon, QMessageBox::Warning);
    SetMessageHandler({});
}

} // namespace
