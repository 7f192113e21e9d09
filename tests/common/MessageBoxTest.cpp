#include "MessageBox.h"

#include <gtest/gtest.h>

TEST(MessageBoxTest, ChoicesAreAnsweredByIndexAndTheDefaultDismisses)
{
    EXPECT_EQ(ChoiceIndex(ChoiceResult(0)), 0);
    EXPECT_EQ(ChoiceIndex(ChoiceResult(3)), 3);
    for (const MessageResult standard : {MessageResult::Ok, MessageResult::Cancel, MessageResult::Yes, MessageResult::No})
        EXPECT_EQ(ChoiceIndex(standard), -1);

    SetMessageHandler(nullptr);
    EXPECT_EQ(ShowMessage({"text", "title", MessageButtons::YesNo}), MessageResult::Yes);
    EXPECT_EQ(ShowMessage({"text", "title", MessageButtons::Ok, MessageIcon::None, {"a", "b", "c"}}), ChoiceResult(2));
}
