#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

QStringList Split(const char* text)
{
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

TEST(CommandLineTest, AnswerSwitchIsTheWholeArgumentTextInAnyCase)
{
    for (const char* on : {"/answer", "/ANSWER", "/Answer", "--answer", "--ANSWER"})
        EXPECT_TRUE(CommandLine(Split(on)).AnswerMode()) << on;
    for (const char* off : {"", "/answer x", "x /answer", "/answers", "answer", "-answer"})
        EXPECT_FALSE(CommandLine(Split(off)).AnswerMode()) << off;
    EXPECT_FALSE(CommandLine(Split("/answer x")).Game().has_value());
}

TEST(CommandLineTest, GameOptionsNameLayoutProblemAndFaceDown)
{
    const CommandLine plain(Split("--layout classic.tvm --problem 12"));
    ASSERT_TRUE(plain.Game().has_value());
    EXPECT_EQ(plain.Game()->layoutName, QStringLiteral("classic.tvm"));
    EXPECT_EQ(plain.Game()->problem, 12);
    EXPECT_EQ(plain.Game()->faceDown, 0);
    EXPECT_FALSE(plain.AnswerMode());

    const CommandLine full(Split("--problem=0 --facedown 32 --LAYOUT=my.tvm --answer"));
    ASSERT_TRUE(full.Game().has_value());
    EXPECT_EQ(full.Game()->layoutName, QStringLiteral("my.tvm"));
    EXPECT_EQ(full.Game()->problem, 0);
    EXPECT_EQ(full.Game()->faceDown, 32);
    EXPECT_TRUE(full.AnswerMode());

    const CommandLine spaced({QStringLiteral("--layout"), QStringLiteral("古典 配置.tvm"), QStringLiteral("--problem"),
                              QStringLiteral("100000")});
    EXPECT_EQ(spaced.Game()->layoutName, QStringLiteral("古典 配置.tvm"));
    EXPECT_EQ(spaced.Game()->problem, 100000);
}

TEST(CommandLineTest, WrongGameOptionsAreRefusedWithTheirReason)
{
    const struct {
        const char* arguments;
        const char* reason;
    } cases[] = {
        {"--layout classic.tvm", "--problem needs a problem number"},
        {"--problem 3", "--layout needs"},
        {"--layout classic.tvm --problem 100001", "from 0 to 100000"},
        {"--layout classic.tvm --problem -1", "from 0 to 100000"},
        {"--layout classic.tvm --problem seven", "not \"seven\""},
        {"--layout classic.tvm --problem 1 --facedown -2", "from 0 to 512"},
        {"--layout classic.tvm --problem", "--problem needs a value"},
        {"--layout classic.tvm --problem 1 --speed 3", "unknown argument \"--speed\""},
        {"--layout= --problem 1", "--layout needs"},
    };
    for (const auto& c : cases) {
        try {
            CommandLine line(Split(c.arguments));
            ADD_FAILURE() << c.arguments << " was accepted";
        } catch (const CommandLineError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

} // namespace
