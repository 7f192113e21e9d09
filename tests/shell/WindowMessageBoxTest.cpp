#include "WindowMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(WindowMessageBoxTest, ShowsTheRequestAndAnswersWithTheButtonPressed)
{
    InstallWindowMessageBox();
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->windowTitle() + u'|' + box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ShowMessage({"セーブしますか？", "", MessageButtons::YesNo, MessageIcon::Question}), MessageResult::No);
    EXPECT_EQ(shown, QStringLiteral("Tovrik|セーブしますか？"));
    SetMessageHandler({});
}

} // namespace
