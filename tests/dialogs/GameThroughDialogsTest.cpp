// The whole game through its real windows: the side panel at start-up, the
// game-selection dialog, moves on the main window, save, restart and load
// from the panel, the wallpaper from the file dialog.

#include "DialogBox.h"
#include "DialogsTestSupport.h"
#include "DX7Draw.h"
#include "FileConv.h"
#include "FormMain.h"
#include "FormQues.h"
#include "FormSub.h"
#include "ModuleMain.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PictureBox.h"
#include "Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

constexpr int32_t kClassicTiles = 144;
constexpr qint64 kSlotTableBytes = 512 * 94;

QString ProgramFolder(const QString& name)
{
    const QString folder = FreshTestFolder(name);
    const QString runtime = QString::fromUtf8(TOVRIK_RUNTIME_DIR);
    QDir().mkpath(folder + QStringLiteral("/template"));
    for (const QString& layout : QDir(runtime + QStringLiteral("/template")).entryList(QDir::Files))
        QFile::copy(runtime + QStringLiteral("/template/") + layout, folder + QStringLiteral("/template/") + layout);
    QFile::copy(runtime + QStringLiteral("/sound.dat"), folder + QStringLiteral("/sound.dat"));
    return folder;
}

QString ClassicCaption(const QString& folder)
{
    FileConv layout;
    layout.LoadFile((folder + QStringLiteral("/template/classic.tvm")).toStdString());
    const std::u16string message = layout.GetMessage();
    return QString::fromStdU16String(message.substr(0, message.find(u'\0')));
}

void SendKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void SendMouse(QWidget* picture, QEvent::Type type, QPoint at)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), picture->mapToGlobal(QPointF(at)), button, button, Qt::NoModifier);
    QApplication::sendEvent(picture, &event);
}

template <typename Modal>
Modal* OpenModal()
{
    return qobject_cast<Modal*>(QApplication::activeModalWidget());
}

// Runs work on the modal window of type Modal as soon as it is open (timers
// also run while start-up decodes the sounds, before the panel opens).
template <typename Modal>
void WhenOpen(std::function<void(Modal&)> work, int attemptsLeft = 10000)
{
    QTimer::singleShot(1, [work, attemptsLeft] {
        if (Modal* modal = OpenModal<Modal>())
            work(*modal);
        else if (attemptsLeft > 0)
            WhenOpen<Modal>(work, attemptsLeft - 1);
        else
            ADD_FAILURE() << "the window never opened";
    });
}

// Chooses a layout and a numbered problem in the selection dialog and confirms.
void ChooseGame(FormQues& dialog, const QString& layout, const QString& problem)
{
    auto* files = dialog.findChild<QListWidget*>(QStringLiteral("File1"));
    const auto found = files->findItems(layout, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty());
    files->setCurrentItem(found.constFirst());
    auto* number = dialog.findChild<QLineEdit*>(QStringLiteral("txtNumber"));
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(number, &focusIn);
    number->setText(problem);
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(number, &focusOut);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdSubmit"))->click();
}

class GameThroughDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = ProgramFolder(QStringLiteral("game-through-dialogs"));
        module = std::make_unique<ModuleMain>(folder, QStringList());
        // A window the steps did not expect would wait for ever: close it and fail.
        watchdog.setInterval(10000);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a window stayed open: " << modal->metaObject()->className();
                modal->hide();
            }
        });
        watchdog.start();
    }

    // The panel opens with the main window; pick item steps away from the
    // selection with the keys, then Enter, answering the questions with Yes.
    void UsePanel(const std::vector<int>& keys, std::function<void()> whileOpen = {})
    {
        WhenOpen<FormSub>([keys, whileOpen](FormSub& panel) {
            if (whileOpen)
                whileOpen();
            for (int key : keys)
                SendKey(&panel, key);
        });
        SendKey(&module->Form(), Qt::Key_Q);
    }

    std::pair<int32_t, int32_t> FreePair() const
    {
        const PaiStructure& board = module->Controller().Board();
        for (int32_t a = 0; a < board.MaxID(); ++a)
            for (int32_t b = a + 1; b < board.MaxID(); ++b)
                if (board.Validity(a) && board.Validity(b) && board.Selectable(a) && board.Selectable(b) &&
                    board.Group(a) == board.Group(b) && PointOn(a) && PointOn(b))
                    return {a, b};
        return {-1, -1};
    }

    // A screen point where the controller finds tile id.
    std::optional<QPoint> PointOn(int32_t id) const
    {
        const PaiCtrl& controller = module->Controller();
        const PaiStructure& board = controller.Board();
        for (int32_t dy = 25; dy >= 0; --dy)
            for (int32_t dx = 18; dx >= 0; --dx)
                if (controller.GetOnMouseID(board.PaiBltX(id) + dx, board.PaiBltY(id) + dy) == id)
                    return QPoint(board.PaiBltX(id) + dx + 4, board.PaiBltY(id) + dy + 4);
        return std::nullopt;
    }

    void ClickTile(int32_t id)
    {
        QWidget* picture = &module->Form().Picture();
        SendMouse(picture, QEvent::MouseMove, {720, 250});
        SendMouse(picture, QEvent::MouseMove, *PointOn(id));
        SendMouse(picture, QEvent::MouseButtonPress, *PointOn(id));
    }

    void PlayPair()
    {
        const auto [a, b] = FreePair();
        ASSERT_GE(a, 0);
        ClickTile(a);
        ClickTile(b);
    }

    std::vector<bool> TilesOnBoard() const
    {
        const PaiStructure& board = module->Controller().Board();
        std::vector<bool> present;
        for (int32_t id = 0; id < board.MaxID(); ++id)
            present.push_back(board.Validity(id));
        return present;
    }

    // The pixels of a screen area as last presented.
    std::vector<uint32_t> Presented(QRect area) const
    {
        const PixelSurface* surface = module->Form().Picture().Presented();
        std::vector<uint32_t> pixels;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                pixels.push_back(surface->Pixel(x, y) & 0xFFFFFF);
        return pixels;
    }

    std::vector<uint32_t> Counter() const { return Presented({670, 30, 110, 52}); }
    std::vector<uint32_t> Caption() const { return Presented({665, 120, 127, 60}); }

    QString SavePath() const { return folder + QStringLiteral("/save.dat"); }

    QString folder;
    MessageRecorder messages;
    QTimer watchdog;
    std::unique_ptr<ModuleMain> module;
};

TEST_F(GameThroughDialogsTest, ChoosePlaySaveRestartLoadAndFailures)
{
    // Start-up opens the side panel; new game opens the selection dialog.
    WhenOpen<FormSub>([](FormSub& panel) {
        WhenOpen<FormQues>([](FormQues& dialog) {
            ChooseGame(dialog, QStringLiteral("classic.tvm"), QStringLiteral("321"));
        });
        SendKey(&panel, Qt::Key_Return);
    });
    module->Main();
    const QuestionInfo chosen = {QStringLiteral("classic.tvm"), QStringLiteral("321"), QStringLiteral("0"),
                                 ClassicCaption(folder)};
    ASSERT_EQ(module->CurrentQuestion(), chosen);
    ASSERT_EQ(module->Controller().GetPaiCount(), kClassicTiles);
    EXPECT_FALSE(module->Form().isHidden());
    const std::vector<bool> dealt = TilesOnBoard();
    const std::vector<uint32_t> fullCounter = Counter();
    const std::vector<uint32_t> caption = Caption();
    EXPECT_NE(caption, std::vector<uint32_t>(caption.size(), caption.front())) << "the caption is drawn";

    PlayPair();
    PlayPair();
    ASSERT_EQ(module->Controller().GetPaiCount(), kClassicTiles - 4);
    const std::vector<bool> played = TilesOnBoard();
    const std::vector<uint32_t> playedCounter = Counter();
    EXPECT_NE(playedCounter, fullCounter);

    // Save: item 2, confirmed; then the panel is closed with Escape.
    UsePanel({Qt::Key_Down, Qt::Key_Return, Qt::Key_Escape});
    EXPECT_EQ(QFileInfo(SavePath()).size(), kSlotTableBytes + 14 + 8 * kClassicTiles);
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests[0].text, "セーブしますか？");

    // Restart: from item 7, Down is 0 and Right is 1; a restart closes the panel.
    UsePanel({Qt::Key_Down, Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(module->Controller().GetPaiCount(), kClassicTiles);
    EXPECT_EQ(TilesOnBoard(), dealt);
    EXPECT_EQ(Counter(), fullCounter);
    EXPECT_EQ(Caption(), caption);

    // Load: item 3, confirmed; the loaded game shows at once.
    UsePanel({Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(module->Controller().GetPaiCount(), kClassicTiles - 4);
    EXPECT_EQ(TilesOnBoard(), played);
    EXPECT_EQ(Counter(), playedCounter);
    EXPECT_EQ(Caption(), caption);
    EXPECT_EQ(module->CurrentQuestion(), chosen);
    ASSERT_EQ(messages.requests.size(), 3u);
    EXPECT_EQ(messages.requests[1].text, "最初からやり直しますか？");
    EXPECT_EQ(messages.requests[2].text, "ロードしますか？");

    // A folder where save.dat belongs cannot be replaced: the reason is shown.
    QFile::remove(SavePath());
    QDir(folder).mkdir(QStringLiteral("save.dat"));
    UsePanel({Qt::Key_Left, Qt::Key_Return, Qt::Key_Escape});
    ASSERT_EQ(messages.requests.size(), 5u);
    EXPECT_EQ(messages.requests[3].text, "セーブしますか？");
    EXPECT_EQ(messages.requests[4].text.rfind("セーブできません。\n", 0), 0u) << messages.requests[4].text;
    EXPECT_GT(messages.requests[4].text.size(), std::string("セーブできません。\n").size());
    EXPECT_TRUE(QFileInfo(SavePath()).isDir());

    // A short save.dat is refused with its reason; the game stays.
    QDir(folder).rmdir(QStringLiteral("save.dat"));
    QFile shortFile(SavePath());
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(100, '\0'));
    shortFile.close();
    UsePanel({Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Return});
    ASSERT_EQ(messages.requests.size(), 7u);
    EXPECT_EQ(messages.requests[6].text.rfind("ロードできません。\n", 0), 0u) << messages.requests[6].text;
    EXPECT_EQ(TilesOnBoard(), played);
}

TEST_F(GameThroughDialogsTest, WallpapersAndACancelledNewGame)
{
    const QString bitmap = folder + QStringLiteral("/wall.BMP");
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x34, 0x56));
    ASSERT_TRUE(picture.save(bitmap, "BMP"));
    const QString notAPicture = folder + QStringLiteral("/wall.jpg");
    QFile junk(notAPicture);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("no picture here");
    junk.close();

    const QString aFolder = folder + QStringLiteral("/pictures.jpg");
    ASSERT_TRUE(QDir().mkpath(aFolder));
    QStringList answers = {bitmap, notAPicture, aFolder, QString()};
    std::vector<DialogBox::ChooserRequest> asked;
    const DialogBox::Chooser previous = DialogBox::SetChooser([&](const DialogBox::ChooserRequest& request) {
        asked.push_back(request);
        return answers.takeFirst();
    });

    // Start-up: choose the wallpaper four times (item 6), then close.
    WhenOpen<FormSub>([](FormSub& panel) {
        for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Return,
                        Qt::Key_Return, Qt::Key_Return, Qt::Key_Escape})
            SendKey(&panel, key);
    });
    module->Main();
    DialogBox::SetChooser(previous);

    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].title, QStringLiteral(u"背景画を選択してください"));
    EXPECT_EQ(asked[0].filter, QStringLiteral("*.bmp *.gif *.jpg *.jpeg *.png"));
    EXPECT_EQ(asked[0].initialFolder, folder + QStringLiteral("/wallpaper/")) << "the shipped pictures";
    EXPECT_EQ(asked[1].initialFolder, QFileInfo(bitmap).absolutePath() + u'/') << "where the last one came from";
    EXPECT_EQ(Settings().Wallpaper(), bitmap) << "the picture that loaded is remembered";
    // The junk file and the folder are each reported with their own cause.
    ASSERT_EQ(messages.requests.size(), 2u);
    for (const auto& [request, cause] : {std::pair{messages.requests[0], notAPicture.toStdString() + ": "},
                                         std::pair{messages.requests[1], aFolder.toStdString() + " is not a regular file"}}) {
        EXPECT_EQ(request.title, "壁紙");
        EXPECT_EQ(request.text.rfind("この画像は読み込めません。\n", 0), 0u) << request.text;
        EXPECT_NE(request.text.find(cause), std::string::npos) << request.text;
        EXPECT_EQ(request.text.find("File not found"), std::string::npos) << request.text;
    }
    // A bitmap is tiled from the board's corner; the unreadable files changed nothing.
    EXPECT_EQ(Presented({300, 300, 1, 1}).front(), 0x123456u);
    EXPECT_EQ(Presented({300 + 40, 300 + 30, 1, 1}).front(), 0x123456u);

    // New game, then cancel: nothing of the game changes.
    const QuestionInfo before = module->CurrentQuestion();
    UsePanel({Qt::Key_Down, Qt::Key_Return}, [] {
        WhenOpen<FormQues>([](FormQues& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        });
    });
    EXPECT_EQ(module->CurrentQuestion(), before);
    EXPECT_EQ(module->PlayState(), ModuleMain::STATE_PLAYING);
    EXPECT_FALSE(module->Controller().GameActive());
}

TEST_F(GameThroughDialogsTest, TheSelectionDialogOffersTheGameChosenLastTimeWhileItsLayoutIsThere)
{
    Settings().SetLastGame({QStringLiteral("pyramid.tvm"), 777, 32});
    QString offeredLayout;
    QString offeredNumber;
    const auto readOffer = [&](FormQues& dialog) {
        offeredLayout = dialog.findChild<QListWidget*>(QStringLiteral("File1"))->currentItem()->text();
        offeredNumber = dialog.findChild<QLineEdit*>(QStringLiteral("txtNumber"))->text();
        dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    };
    // Start-up: new game (the first item), look, cancel, close the panel.
    WhenOpen<FormSub>([&](FormSub& panel) {
        WhenOpen<FormQues>([&](FormQues& dialog) {
            readOffer(dialog);
            WhenOpen<FormSub>([](FormSub& again) { SendKey(&again, Qt::Key_Escape); });
        });
        SendKey(&panel, Qt::Key_Return);
    });
    module->Main();
    EXPECT_EQ(offeredLayout, QStringLiteral("pyramid.tvm"));
    EXPECT_EQ(offeredNumber, QStringLiteral("777"));

    // A layout that is gone gives the first one instead.
    QFile::remove(folder + QStringLiteral("/template/pyramid.tvm"));
    offeredLayout.clear();
    WhenOpen<FormQues>(readOffer);
    module->PanelCommand(ModuleCommands::PANEL_NEWGAME);
    EXPECT_EQ(offeredLayout, QStringLiteral("beginner.tvm"));
}

} // namespace
