#include "FormQues.h"
#include "FormSub.h"
#include "Language.h"
#include "SessionLanguage.h"
#include "Settings.h"
#include "ShellTestSupport.h"
#include "WindowMessageBox.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
};

// Once the next message box is open, notes what it says and presses answer.
void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton answer, int attemptsLeft = 10000)
{
    QTimer::singleShot(1, [&seen, answer, attemptsLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (attemptsLeft > 0)
                AnswerNextBox(seen, answer, attemptsLeft - 1);
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* button : box->buttons())
            seen.buttons.append(button->text());
        box->button(answer)->click();
    });
}

// Kana, CJK ideographs and full-width forms: what a Latin font cannot show.
bool HasCjk(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x2E80)
            return true;
    return false;
}

// Every text a dialog shows in its own widgets.
QStringList WidgetTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts.append(label->text());
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts.append(button->text());
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        texts.append(group->title());
    return texts;
}

void PressPanelKey(FormSub& panel, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&panel, &press);
}

class SessionLanguage : public testing::Test {
protected:
    void SetUp() override { previous = SetMessageHandler(ShowWindowMessageBox); }
    void TearDown() override
    {
        SetMessageHandler(std::move(previous));
        StartSessionLanguage({}, QStringLiteral("ja"), settings);
    }

    MessageHandler previous;
    Settings settings;  // the test's own fresh home
};

} // namespace

TEST_F(SessionLanguage, EnglishSessionShowsEnglishInTheWindowsDialogsAndMessageBoxes)
{
    // What LANG=en_US.UTF-8 gives.
    ASSERT_EQ(StartSessionLanguage(QLocale(QStringLiteral("en_US")).uiLanguages(), std::nullopt, settings), UiLanguage::English);
    EXPECT_EQ(QApplication::font().families().first(), QStringLiteral("DejaVu Sans Condensed"));
    const std::unique_ptr<ModuleMain> module = StartModule(QStringLiteral("english"), ClassicGame());
    EXPECT_EQ(module->Form().font().families().first(), QStringLiteral("DejaVu Sans Condensed"));
    // The bar's and the panel's labels and the counter's caption are pictures: the English sheet's.
    EXPECT_EQ(module->Sheets()[1], QImage(QStringLiteral(":/sheets/buttons-en.png")));

    FormSub& panel = module->SidePanel();
    SeenBox restart;
    AnswerNextBox(restart, QMessageBox::No);
    PressPanelKey(panel, Qt::Key_Right);  // from new game to restart
    PressPanelKey(panel, Qt::Key_Return);
    EXPECT_EQ(restart.title, QStringLiteral("Restart"));
    EXPECT_EQ(restart.text, QStringLiteral("Start this game over from the beginning?"));
    EXPECT_EQ(restart.buttons.size(), 2);

    SeenBox load;
    AnswerNextBox(load, QMessageBox::Ok);
    PressPanelKey(panel, Qt::Key_Down);  // to load: there is no saved game in a fresh folder
    PressPanelKey(panel, Qt::Key_Return);
    EXPECT_EQ(load.title, QStringLiteral("File read error"));
    EXPECT_EQ(load.text, QStringLiteral("There is no saved game to load"));

    FormQues selection(*module, module->Folders().LayoutFolders(), &module->Form());
    selection.LoadQuestionInfo({QStringLiteral("classic.tvm"), QStringLiteral("3"), QStringLiteral("0"), {}});
    EXPECT_EQ(selection.findChild<QLabel*>(QStringLiteral("LabelMsg"))->text(),
              QStringLiteral("The traditional\r\nlayout.\r\n144 tiles"));
    EXPECT_EQ(selection.findChild<QGroupBox*>(QStringLiteral("Frame2"))->title(), QStringLiteral("Face-down tiles"));

    const QStringList texts = WidgetTexts(selection) + QStringList{restart.title, restart.text, load.title,
                                                                   load.text} + restart.buttons + load.buttons;
    for (const QString& text : texts)
        EXPECT_FALSE(HasCjk(text)) << text.toStdString();
}

TEST_F(SessionLanguage, JapaneseSessionKeepsItsTextsAndGetsJapaneseQtButtons)
{
    StartSessionLanguage({}, QStringLiteral("en"), settings);
    ASSERT_EQ(StartSessionLanguage(QLocale(QStringLiteral("en_US")).uiLanguages(), QStringLiteral("ja"), settings),
              UiLanguage::Japanese);
    EXPECT_FALSE(QApplication::font().families().contains(QStringLiteral("DejaVu Sans Condensed")))
        << "Qt's own dialogs keep Qt's own font, as before";
    SeenBox question;
    AnswerNextBox(question, QMessageBox::Yes);
    EXPECT_EQ(ShowMessage({"セーブしますか？", "セーブ", MessageButtons::YesNo, MessageIcon::None}), MessageResult::Yes);
    EXPECT_EQ(question.text, QStringLiteral(u"セーブしますか？"));
    ASSERT_EQ(question.buttons.size(), 2);
    EXPECT_TRUE(question.buttons.join(u' ').contains(QStringLiteral(u"はい"))) << question.buttons.join(u' ').toStdString();
    EXPECT_TRUE(question.buttons.join(u' ').contains(QStringLiteral(u"いいえ")));

    const std::unique_ptr<ModuleMain> module = StartModule(QStringLiteral("japanese"), ClassicGame());
    EXPECT_EQ(module->Form().font().families().first(), QStringLiteral(u"ＭＳ ゴシック"));
    EXPECT_EQ(module->Sheets()[1], QImage(QStringLiteral(":/sheets/buttons.png")));
    FormQues selection(*module, module->Folders().LayoutFolders(), &module->Form());
    selection.LoadQuestionInfo({QStringLiteral("classic.tvm"), QStringLiteral("3"), QStringLiteral("0"), {}});
    EXPECT_EQ(selection.findChild<QLabel*>(QStringLiteral("LabelMsg"))->text(),
              QStringLiteral(u"伝統的な配置です。\r\n１４４枚"));
    EXPECT_EQ(selection.findChild<QGroupBox*>(QStringLiteral("Frame2"))->title(), QStringLiteral(u"裏牌モード"));
}

TEST_F(SessionLanguage, TheCommandLineChoiceIsRememberedForLaterRuns)
{
    const QStringList english = QLocale(QStringLiteral("en_US")).uiLanguages();
    const QStringList japanese = QLocale(QStringLiteral("ja_JP")).uiLanguages();
    EXPECT_EQ(StartSessionLanguage(english, std::nullopt, settings), UiLanguage::English);
    EXPECT_EQ(StartSessionLanguage(english, QStringLiteral("ja"), settings), UiLanguage::Japanese);
    EXPECT_EQ(Settings().Value(QStringLiteral("language")).toString(), QStringLiteral("ja"));
    EXPECT_EQ(StartSessionLanguage(english, std::nullopt, settings), UiLanguage::Japanese);
    EXPECT_EQ(StartSessionLanguage(japanese, QStringLiteral("en"), settings), UiLanguage::English);
    EXPECT_EQ(StartSessionLanguage(japanese, std::nullopt, settings), UiLanguage::English);
    // A remembered value that is no language of the program counts as none.
    settings.SetValue(QStringLiteral("language"), QStringLiteral("xx"));
    EXPECT_EQ(StartSessionLanguage(japanese, std::nullopt, settings), UiLanguage::Japanese);
}
