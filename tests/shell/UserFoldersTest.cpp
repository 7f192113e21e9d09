// A player's own files: saves beside a read-only program go to the user's
// folder, the settings of one run are there at the next, and quitting with
// unsaved moves asks first.
#include "DialogBox.h"
#include "LayoutEditor.h"
#include "FormSub.h"
#include "Settings.h"
#include "WindowCloseFilter.h"
#include "ShellTestSupport.h"

#include <QApplication>
#include <QFileInfo>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

namespace {

void TakeOneSet(PaiCtrl& controller)
{
    const auto [a, b] = FreePair(controller);
    ASSERT_GE(a, 0);
    controller.ClickPai(a);
    controller.ClickPai(b);
}

std::unique_ptr<ModuleMain> StartReadOnly(const QString& folder, const QStringList& arguments)
{
    auto module = std::make_unique<ModuleMain>(folder, arguments, [](const QString&) { return false; });
    module->Main();
    return module;
}

TEST(UserFoldersTest, AReadOnlyProgramFolderSavesAndLoadsInTheUsersFolder)
{
    MessageRecorder messages;
    const QString program = FreshProgramFolder();
    const QString userSave = GameFolders::UserFolder() + QStringLiteral("/save.dat");
    int32_t savedCount = 0;
    {
        const auto module = StartReadOnly(program, ClassicGame());
        TakeOneSet(module->Controller());
        savedCount = module->Controller().GetPaiCount();
        EXPECT_TRUE(module->PanelCommand(ModuleCommands::PANEL_SAVE));
        EXPECT_EQ(QString::fromStdString(module->Controller().SavePath()), userSave);
    }
    EXPECT_TRUE(QFileInfo::exists(userSave));
    EXPECT_FALSE(QFileInfo::exists(program + QStringLiteral("/save.dat")));

    const auto next = StartReadOnly(program, ClassicGame(99));
    next->PanelCommand(ModuleCommands::PANEL_LOAD);
    EXPECT_EQ(next->Controller().GetPaiCount(), savedCount);
    EXPECT_TRUE(messages.requests.empty());
}

TEST(UserFoldersTest, SwitchesWallpaperAndLastGameCarryIntoTheNextRunUntilTheyNoLongerApply)
{
    MessageRecorder messages;
    const QString picture = QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/shell/carried.bmp");
    QImage plain(8, 8, QImage::Format_RGB32);
    plain.fill(QColor(0x12, 0x34, 0x56));
    ASSERT_TRUE(plain.save(picture, "BMP"));
    {
        const auto first = StartModule(TestName(), ClassicGame(1234));
        first->PanelCommand(ModuleCommands::PANEL_SOUND_ON);
        first->PanelCommand(ModuleCommands::PANEL_AUTOHINT_ON);
        const DialogBox::Chooser previous = DialogBox::SetChooser([&](const DialogBox::ChooserRequest&) { return picture; });
        first->ChooseWallpaper();
        DialogBox::SetChooser(previous);
    }
    const Settings settings;
    EXPECT_EQ(settings.LastGame()->layout, QStringLiteral("classic.tvm"));
    EXPECT_EQ(settings.LastGame()->problem, 1234);
    {
        const auto second = StartModule(TestName(), ClassicGame(5));
        EXPECT_TRUE(second->Controller().Sounds());
        EXPECT_TRUE(second->Controller().AutoHint());
        EXPECT_TRUE(second->SidePanel().Sound());
        EXPECT_EQ(BackPixel(*second, 6, 6), 0x123456u) << "the wallpaper of the last run";
    }
    QFile::remove(picture);
    const auto third = StartModule(TestName(), ClassicGame(5));
    EXPECT_EQ(BackPixel(*third, 6, 6), 0x00FF00u) << "a deleted wallpaper leaves the plain board";
    EXPECT_TRUE(messages.requests.empty());
}

TEST(UserFoldersTest, QuittingAsksOnlyWhenMovesWereMadeSinceTheLastSave)
{
    std::vector<MessageRequest> asked;
    MessageResult answer = MessageResult::No;
    const MessageHandler previous = SetMessageHandler([&](const MessageRequest& request) {
        asked.push_back(request);
        return answer;
    });
    const auto module = StartModule(TestName(), ClassicGame());
    FormMain& form = module->Form();
    EXPECT_TRUE(module->QuitConfirmed()) << "a fresh deal has nothing to lose";
    EXPECT_TRUE(asked.empty());

    TakeOneSet(module->Controller());
    EXPECT_FALSE(form.close()) << "the player said No";
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "ゲームを終了しますか？");
    EXPECT_EQ(asked[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(form.isVisible());

    module->PanelCommand(ModuleCommands::PANEL_SAVE);
    EXPECT_TRUE(module->QuitConfirmed()) << "everything is in save.dat";
    TakeOneSet(module->Controller());
    module->Play().CommandPlayback();
    EXPECT_TRUE(module->QuitConfirmed()) << "taken back to the saved position";
    EXPECT_EQ(asked.size(), 1u);
    TakeOneSet(module->Controller());
    answer = MessageResult::Yes;
    EXPECT_TRUE(form.close());
    EXPECT_EQ(asked.size(), 2u);
    SetMessageHandler(previous);
}

// Runs work on the open side panel as soon as it is open.
void WhenPanelOpen(std::function<void(QWidget&)> work, int attemptsLeft = 10000)
{
    QTimer::singleShot(1, [work, attemptsLeft] {
        if (QWidget* panel = QApplication::activeModalWidget())
            work(*panel);
        else if (attemptsLeft > 0)
            WhenPanelOpen(work, attemptsLeft - 1);
    });
}

TEST(UserFoldersTest, EscapeAndTheCloseButtonCloseTheOpenPanelAndTheGameGoesOn)
{
    MessageRecorder messages;
    bool closedByButton = false;
    WhenPanelOpen([&](QWidget& panel) { closedByButton = panel.close(); });
    const auto module = std::make_unique<ModuleMain>(FreshProgramFolder(), QStringList());
    module->Main();
    EXPECT_TRUE(closedByButton);
    EXPECT_TRUE(module->Form().isVisible());

    WhenPanelOpen([](QWidget& panel) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&panel, &escape);
    });
    module->ShowOptions();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(module->Form().close()) << "no game, nothing to ask";
    EXPECT_TRUE(messages.requests.empty());
}

TEST(UserFoldersTest, TheWindowOpensWhereItWasLeftWhileThatPlaceIsOnAScreen)
{
    MessageRecorder messages;
    Settings().SetWindowPosition({30, 40});
    {
        const auto module = StartModule(TestName(), ClassicGame());
        EXPECT_EQ(module->Form().pos(), QPoint(30, 40));
        module->Form().move(50, 60);
        EXPECT_EQ(Settings().WindowPosition(), QPoint(50, 60)) << "kept as soon as it moved";
    }
    Settings().SetWindowPosition({-5000, -5000});
    const auto module = StartModule(TestName(), ClassicGame());
    EXPECT_NE(module->Form().pos(), QPoint(-5000, -5000)) << "off every screen: centred instead";
}

TEST(UserFoldersTest, TheWindowManagersCloseRequestClosesTheOpenPanelAndThenTheWindow)
{
    MessageRecorder messages;
    std::unique_ptr<ModuleMain> module = std::make_unique<ModuleMain>(FreshProgramFolder(), QStringList());
    int handedOn = 0;
    bool panelWasOpen = false;
    WhenPanelOpen([&](QWidget& panel) {
        panelWasOpen = panel.isVisible();
        const WindowCloseFilter::Atoms atoms{11, 12};
        WindowCloseFilter filter(module->Form(), atoms, [&] { ++handedOn; });
        xcb_client_message_event_t request{};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = static_cast<xcb_window_t>(module->Form().winId());
        request.type = atoms.protocols;
        request.data.data32[0] = atoms.deleteWindow;
        qintptr result = 0;
        xcb_client_message_event_t otherWindow = request;
        otherWindow.window += 1;
        xcb_client_message_event_t otherMessage = request;
        otherMessage.data.data32[0] = atoms.deleteWindow + 1;
        EXPECT_FALSE(filter.nativeEventFilter("xcb_generic_event_t", &otherWindow, &result));
        EXPECT_FALSE(filter.nativeEventFilter("xcb_generic_event_t", &otherMessage, &result));
        EXPECT_TRUE(filter.nativeEventFilter("xcb_generic_event_t", &request, &result));
        module->Form().CloseOverModalWindows();
    });
    module->Main();
    EXPECT_TRUE(panelWasOpen);
    EXPECT_EQ(handedOn, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(module->Form().isVisible()) << "no game in progress: the window closes without a question";
    EXPECT_TRUE(messages.requests.empty());
}

} // namespace

namespace {

// Edit from the selection dialog: a shipped layout saved from the editor is a
// copy in the player's folder that the game lists and plays at once.
TEST(UserFoldersTest, ALayoutSavedFromTheEditorIsListedAndPlays)
{
    const auto module = StartModule(TestName(), ClassicGame());
    QString savedName;
    module->EditLayout(QStringLiteral("classic.tvm"), [&](const QString& name) { savedName = name; });
    LayoutEditor* editor = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        editor = editor ? editor : qobject_cast<LayoutEditor*>(window);
    ASSERT_NE(editor, nullptr);
    editor->SetMessageText(QStringLiteral("mine"));
    editor->Save();
    editor->WaitForChecks();
    EXPECT_EQ(savedName, QStringLiteral("classic-2.tvm"));
    EXPECT_TRUE(module->Folders().LayoutNames().contains(savedName));
    EXPECT_TRUE(QFileInfo(module->Folders().UserTemplateFolder() + QStringLiteral("/classic-2.tvm")).isFile());
    editor->close();
    module->StoreQuestionInfo({savedName, QStringLiteral("5"), QStringLiteral("0"), QStringLiteral("mine")});
    module->StartGame();
    EXPECT_EQ(module->Controller().GetPaiCount(), 144);
}

} // namespace
