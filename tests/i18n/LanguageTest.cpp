#include "CommandLine.h"
#include "Language.h"
#include "LayoutMessages.h"
#include "MessageTexts.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

class LanguageTest : public testing::Test {
protected:
    void TearDown() override { InstallLanguage(UiLanguage::Japanese); }
};

// Stands in for a catalogue with one text that code without Qt shows.
class OneMessageTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) == "Message" && QString::fromUtf8(source) == QStringLiteral(u"手詰まり"))
            return QStringLiteral("No moves left");
        return {};
    }
};

} // namespace

TEST_F(LanguageTest, SystemLanguagesAndTheCommandLineChooseTheLanguage)
{
    const auto choose = [](QStringList system, std::optional<QString> requested = std::nullopt) {
        return ChooseLanguage(system, requested);
    };
    EXPECT_EQ(choose({QStringLiteral("ja-JP")}), UiLanguage::Japanese);
    EXPECT_EQ(choose({QStringLiteral("ja")}), UiLanguage::Japanese);
    EXPECT_EQ(choose({QStringLiteral("en-US"), QStringLiteral("ja-JP")}), UiLanguage::English);
    // The first preferred language the program speaks wins, as Qt's own catalogues do it.
    EXPECT_EQ(choose({QStringLiteral("de-DE"), QStringLiteral("ja-JP")}), UiLanguage::Japanese);
    EXPECT_EQ(choose({QStringLiteral("de-DE"), QStringLiteral("de")}), UiLanguage::English);
    EXPECT_EQ(choose({}), UiLanguage::English);
    EXPECT_EQ(choose({QStringLiteral("C")}), UiLanguage::English);
    EXPECT_EQ(choose({QStringLiteral("ja-JP")}, QStringLiteral("en")), UiLanguage::English);
    EXPECT_EQ(choose({QStringLiteral("en-GB")}, QStringLiteral("ja")), UiLanguage::Japanese);
}

TEST_F(LanguageTest, CommandLineTakesTheLanguageAnywhere)
{
    EXPECT_EQ(CommandLine({QStringLiteral("--lang"), QStringLiteral("en")}).Language(), QStringLiteral("en"));
    EXPECT_EQ(CommandLine({QStringLiteral("--LANG=JA")}).Language(), QStringLiteral("ja"));
    EXPECT_EQ(CommandLine({}).Language(), std::nullopt);

    const CommandLine answer({QStringLiteral("/answer"), QStringLiteral("--lang"), QStringLiteral("en")});
    EXPECT_TRUE(answer.AnswerMode());
    EXPECT_EQ(answer.Language(), QStringLiteral("en"));

    const CommandLine game({QStringLiteral("--layout"), QStringLiteral("classic.tvm"), QStringLiteral("--lang=en"),
                            QStringLiteral("--problem"), QStringLiteral("5")});
    ASSERT_TRUE(game.Game());
    EXPECT_EQ(game.Game()->problem, 5);
    EXPECT_EQ(game.Language(), QStringLiteral("en"));

    EXPECT_THROW(CommandLine({QStringLiteral("--lang"), QStringLiteral("de")}), CommandLineError);
    EXPECT_THROW(CommandLine({QStringLiteral("--lang")}), CommandLineError);
}

TEST_F(LanguageTest, EnglishCatalogueTranslatesTextsAndShippedLayoutMessages)
{
    const QString classic = QStringLiteral(u"伝統的な配置です。\r\n１４４枚");
    EXPECT_EQ(TranslatedLayoutMessage(QStringLiteral("classic.tvm"), classic), classic);

    ASSERT_TRUE(InstallLanguage(UiLanguage::English));
    EXPECT_EQ(CurrentLanguage(), UiLanguage::English);
    EXPECT_EQ(QCoreApplication::translate("FormSub", "セーブしますか？"), QStringLiteral("Save the game?"));
    EXPECT_EQ(TranslatedLayoutMessage(QStringLiteral("classic.tvm"), classic),
              QStringLiteral("The traditional\r\nlayout.\r\n144 tiles"));
    // A player's own layout, or a shipped file whose message was changed, keeps its own words.
    const QString own = QStringLiteral(u"自作の配置");
    EXPECT_EQ(TranslatedLayoutMessage(QStringLiteral("mine.tvm"), classic), classic);
    EXPECT_EQ(TranslatedLayoutMessage(QStringLiteral("classic.tvm"), own), own);
    EXPECT_EQ(TextFontFamilies().first(), QStringLiteral("DejaVu Sans Condensed"));

    ASSERT_TRUE(InstallLanguage(UiLanguage::Japanese));
    EXPECT_EQ(QCoreApplication::translate("FormSub", "セーブしますか？"), QStringLiteral(u"セーブしますか？"));
    EXPECT_EQ(TextFontFamilies().first(), QStringLiteral(u"ＭＳ ゴシック"));
}

TEST_F(LanguageTest, MessageBoxTranslatesEachLineOfTextFromCodeWithoutQt)
{
    OneMessageTranslator translator;
    QCoreApplication::installTranslator(&translator);
    EXPECT_EQ(TranslatedMessageText("手詰まり"), QStringLiteral("No moves left"));
    // Lines without a translation (a file name, an error's detail) and the line breaks stay as they are.
    EXPECT_EQ(TranslatedMessageText("手詰まり\r\nclassic.tvm\n手詰まり\n"),
              QStringLiteral("No moves left\r\nclassic.tvm\nNo moves left\n"));
    EXPECT_EQ(TranslatedMessageText("手詰まりです"), QStringLiteral(u"手詰まりです"));
    EXPECT_EQ(TranslatedMessageText(""), QString());
    QCoreApplication::removeTranslator(&translator);

    // The system's reason at the end of a line reads in the player's language.
    const std::string error = "Permission denied (error 70): cannot create folder /x: Permission denied";
    EXPECT_EQ(TranslatedMessageText(error),
              QStringLiteral(u"Permission denied (error 70): cannot create folder /x: アクセスが許可されていません"));
    ASSERT_TRUE(InstallLanguage(UiLanguage::English));
    EXPECT_EQ(TranslatedMessageText(error), QString::fromStdString(error));
    EXPECT_EQ(TranslatedMessageText("/x/stats.txt: File too large"), QStringLiteral("/x/stats.txt: File too large"));
}
