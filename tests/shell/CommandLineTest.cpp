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
    const struct {
        QStringList arguments;
        const char16_t* layout;
        int problem, faceDown;
        bool answer;
    } cases[] = {{Split("--layout classic.tvm --problem 12"), u"classic.tvm", 12, 0, false},
                 {Split("--problem=0 --facedown 32 --LAYOUT=my.tvm --answer"), u"my.tvm", 0, 32, true},
                 {QStringList{QStringLiteral("--layout"), QStringLiteral("古典 配置.tvm"), QStringLiteral("--problem"),
                               QStringLiteral("100000")}, u"古典 配置.tvm", 100000, 0, false}};
    for (const auto& c : cases) {
        const CommandLine line(c.arguments);
        ASSERT_TRUE(line.Game().has_value()) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(std::tuple(line.Game()->layoutName, line.Game()->problem, line.Game()->faceDown, line.AnswerMode()),
                  std::tuple(QString::fromUtf16(c.layout), c.problem, c.faceDown, c.answer));
    }
}

TEST(CommandLineTest, ScalingIsTakenAnywhereBesideAGame)
{
    const CommandLine pixel(Split("--layout classic.tvm --scaling PIXEL --problem 2"));
    EXPECT_EQ(pixel.Scaling(), QStringLiteral("pixel"));
    EXPECT_EQ(pixel.Game()->problem, 2);
    EXPECT_EQ(CommandLine(Split("--scaling=sharp /answer")).Scaling(), QStringLiteral("sharp"));
    EXPECT_TRUE(CommandLine(Split("--scaling=sharp /answer")).AnswerMode());
    EXPECT_FALSE(CommandLine(Split("")).Scaling().has_value());
}

TEST(CommandLineTest, EditOpensTheEditorOnAFileOrANewLayout)
{
    EXPECT_EQ(CommandLine(Split("--edit mine.tvm")).EditPath(), QStringLiteral("mine.tvm"));
    EXPECT_EQ(CommandLine(Split("--lang en --edit")).EditPath(), QString());
    EXPECT_EQ(CommandLine(Split("--lang en --edit")).Language(), QStringLiteral("en"));
    EXPECT_FALSE(CommandLine(Split("--layout classic.tvm --problem 1")).EditPath());
    EXPECT_THROW(CommandLine(Split("--edit a.tvm b.tvm")), CommandLineError);
}

TEST(CommandLineTest, WrongGameOptionsAreRefusedWithTheirReason)
{
    const struct { const char *arguments, *reason; } cases[] = {
        {"--layout classic.tvm", "--problem needs a problem number"},
        {"--problem 3", "--layout needs"},
        {"--layout classic.tvm --problem 100001", "from 0 to 100000"},
        {"--layout classic.tvm --problem -1", "from 0 to 100000"},
        {"--layout classic.tvm --problem seven", "not \"seven\""},
        {"--layout classic.tvm --problem 1 --facedown -2", "from 0 to 512"},
        {"--layout classic.tvm --problem", "--problem needs a value"},
        {"--layout classic.tvm --problem 1 --speed 3", "unknown argument \"--speed\""},
        {"--layout= --problem 1", "--layout needs"},
        {"--scaling blurry", "--scaling needs pixel or sharp"},
        {"--scaling", "--scaling needs pixel or sharp"},
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
