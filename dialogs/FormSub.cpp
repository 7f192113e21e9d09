#include "FormSub.h"

#include "BlankTitle.h"
#include "DX7Draw.h"
#include "MessageBox.h"
#include "ModuleCommands.h"
#include "PictureBox.h"
#include "ScreenColours.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <array>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

namespace {

constexpr int32_t kButtonWidth = 110;
constexpr int32_t kButtonHeight = 32;
constexpr int32_t kHoverThreshold = 3;
// The wallpaper is chosen outside PanelCommand; it has no panel code of its own.
constexpr int kWallpaperCommand = -1;

struct PanelButton {
    int32_t x, y;            // button on the panel
    int32_t labelX, labelY;  // label in the sheet
};

constexpr std::array<PanelButton, FormSub::ITEM_COUNT> kButtons = {{
    {60, 30, 110, 141},
    {226, 30, 0, 173},
    {60, 90, 110, 173},
    {226, 90, 0, 205},
    {60, 150, 110, 205},
    {226, 150, 110, 269},
    {60, 210, 110, 237},
    {143, 266, 0, 269},
}};

constexpr PixelRect kButtonFrame{0, 45, 110, 77};
constexpr PixelRect kHighlightedFrame{0, 77, 110, 109};
constexpr PixelRect kSwitchOn{0, 237, 55, 269};
constexpr PixelRect kSwitchOff{55, 237, 110, 269};
constexpr int32_t kSwitchOffsetX = 45;
constexpr int32_t kSwitchOffsetY = 30;

PixelRect LabelRect(const PanelButton& button)
{
    return {button.labelX, button.labelY, button.labelX + kButtonWidth, button.labelY + kButtonHeight};
}

// The selection after an arrow key; items 6 and 7 sit alone in their rows.
int32_t MovedSelection(int key, int32_t s)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        return s < FormSub::ITEM_WALLPAPER ? s ^ 1 : s;
    case Qt::Key_Up:
        return s <= FormSub::ITEM_RESTART ? FormSub::ITEM_CLOSE : s - 2;
    case Qt::Key_Down:
        if (s == FormSub::ITEM_WALLPAPER)
            return FormSub::ITEM_CLOSE;
        return s == FormSub::ITEM_CLOSE ? FormSub::ITEM_NEWGAME : s + 2;
    default:
        return s;
    }
}

void ShowWarning(const std::string& text, const std::string& title)
{
    ShowMessage({text, title, MessageButtons::Ok, MessageIcon::Warning});
}

bool AskYesNo(const std::string& text, const std::string& title)
{
    return ShowMessage({text, title, MessageButtons::YesNo, MessageIcon::None}) == MessageResult::Yes;
}

std::string Text(const char* source)
{
    return QCoreApplication::translate("FormSub", source).toStdString();
}

// How a command that failed with an error is worded to the player.
std::string FailureText(int code)
{
    switch (code) {
    case ModuleCommands::PANEL_SAVE:
        return Text(QT_TRANSLATE_NOOP("FormSub", "セーブできません。"));
    case ModuleCommands::PANEL_LOAD:
        return Text(QT_TRANSLATE_NOOP("FormSub", "ロードできません。"));
    case ModuleCommands::PANEL_RESTART:
        return Text(QT_TRANSLATE_NOOP("FormSub", "リスタートできません。"));
    default:
        return Text(QT_TRANSLATE_NOOP("FormSub", "実行できません。"));
    }
}

std::string FailureTitle(int code)
{
    switch (code) {
    case ModuleCommands::PANEL_SAVE:
        return Text(QT_TRANSLATE_NOOP("FormSub", "ファイル書き込みエラー"));
    case ModuleCommands::PANEL_LOAD:
        return Text(QT_TRANSLATE_NOOP("FormSub", "ファイル読み込みエラー"));
    default:
        return Text(QT_TRANSLATE_NOOP("FormSub", "エラー"));
    }
}

} // namespace

FormSub::FormSub(ModuleCommands& module, QWidget* owner)
    : QDialog(owner), module_(module),
      picMain_(new PictureBox(this)), picMiniWall_(new QWidget(this)),
      saveFilePath_(QCoreApplication::applicationDirPath() + QStringLiteral("/save.dat"))
{
    SetBlankTitle(*this);
    picMain_->setObjectName(QStringLiteral("picMain"));
    picMain_->setMouseTracking(true);
    picMain_->installEventFilter(this);
    picMiniWall_->setObjectName(QStringLiteral("picMiniWall"));
    picMiniWall_->hide();
}

FormSub::~FormSub() = default;

void FormSub::Initialize(const QImage& sheet)
{
    move(0, 0);
    setFixedSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    picMain_->setGeometry(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);

    draw_ = std::make_unique<DX7Draw>();
    draw_->Initialize(this, picMain_, CLIENT_WIDTH, CLIENT_HEIGHT);
    sheetSprite_ = draw_->GetFreeNumber();
    draw_->LoadPicture(sheetSprite_, sheet, true, ScreenColours::kButtonKey, ScreenColours::kButtonKey);
    backSprite_ = draw_->GetFreeNumber();
    draw_->CreateSprite(backSprite_, CLIENT_WIDTH, CLIENT_HEIGHT, false);
    backRect_ = {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    draw_->DD7Fill(backSprite_, backRect_, ScreenColours::kBackdrop);
    selected_ = ITEM_NEWGAME;
}

void FormSub::SetWallsize(int32_t w, int32_t h)
{
    picMiniWall_->setGeometry(0, 0, w, h);
}

void FormSub::PlaceOver(QPoint topLeft, int32_t scale)
{
    move(topLeft);
    setFixedSize(CLIENT_WIDTH * scale, CLIENT_HEIGHT * scale);
    picMain_->setGeometry(0, 0, CLIENT_WIDTH * scale, CLIENT_HEIGHT * scale);
}

int32_t FormSub::HitTestItem(int32_t x, int32_t y)
{
    for (int32_t i = 0; i < ITEM_COUNT; ++i) {
        const int32_t dx = x - kButtons[i].x;
        const int32_t dy = y - kButtons[i].y;
        if (dx > 0 && dx < kButtonWidth && dy > 0 && dy < kButtonHeight)
            return i;
    }
    return NO_ITEM;
}

void FormSub::PaintPanel()
{
    if (!draw_)
        return;
    draw_->DD7BltFast(0, 0, backSprite_, backRect_);
    for (int32_t i = 0; i < ITEM_COUNT; ++i) {
        const PanelButton& button = kButtons[i];
        draw_->DD7BltFast(button.x, button.y, sheetSprite_, i == selected_ ? kHighlightedFrame : kButtonFrame);
        draw_->DD7BltFast(button.x, button.y, sheetSprite_, LabelRect(button));
    }
    const PanelButton& hint = kButtons[ITEM_AUTOHINT];
    draw_->DD7BltFast(hint.x + kSwitchOffsetX, hint.y + kSwitchOffsetY, sheetSprite_,
                      autoHint_ ? kSwitchOn : kSwitchOff);
    const PanelButton& sound = kButtons[ITEM_SOUND];
    draw_->DD7BltFast(sound.x + kSwitchOffsetX, sound.y + kSwitchOffsetY, sheetSprite_,
                      sound_ ? kSwitchOn : kSwitchOff);
    draw_->DD7Flip(picMain_);
}

void FormSub::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    PaintPanel();
}

void FormSub::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        selected_ = MovedSelection(event->key(), selected_);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_X:
        RunPanelItem();
        break;
    case Qt::Key_Escape:
    case Qt::Key_Z:
        selected_ = ITEM_CLOSE;
        RunPanelItem();
        break;
    default:
        break;
    }
    PaintPanel();
}

bool FormSub::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picMain_) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress) {
            const std::optional<QPoint> at = picMain_->PictureAt(static_cast<QMouseEvent*>(event)->position());
            if (!at)
                return true;
            if (event->type() == QEvent::MouseMove)
                OnMouseMove(at->x(), at->y());
            else
                OnMouseDown(at->x(), at->y());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormSub::OnMouseMove(int32_t x, int32_t y)
{
    if (std::abs(y - lastMouseY_) <= kHoverThreshold && std::abs(x - lastMouseX_) <= kHoverThreshold)
        return;
    lastMouseX_ = x;
    lastMouseY_ = y;
    const int32_t item = HitTestItem(x, y);
    if (item != NO_ITEM && item != selected_) {
        selected_ = item;
        PaintPanel();
    }
}

void FormSub::OnMouseDown(int32_t x, int32_t y)
{
    const int32_t item = HitTestItem(x, y);
    if (item == NO_ITEM)
        return;
    selected_ = item;
    RunPanelItem();
}

void FormSub::RunPanelItem()
{
    switch (selected_) {
    case ITEM_NEWGAME:
        hide();
        Command(ModuleCommands::PANEL_NEWGAME);
        break;
    case ITEM_RESTART:
        AskRestart();
        break;
    case ITEM_SAVE:
        AskSave();
        break;
    case ITEM_LOAD:
        AskLoad();
        break;
    case ITEM_AUTOHINT:
        ToggleAutohint();
        break;
    case ITEM_SOUND:
        ToggleSound();
        break;
    case ITEM_WALLPAPER:
        try {
            module_.ChooseWallpaper();
        } catch (const std::exception& error) {
            ShowWarning(FailureText(kWallpaperCommand) + "\n" + error.what(), FailureTitle(kWallpaperCommand));
        }
        break;
    case ITEM_CLOSE:
        hide();
        break;
    default:
        break;
    }
}

void FormSub::AskRestart()
{
    if (!AskYesNo(Text(QT_TRANSLATE_NOOP("FormSub", "最初からやり直しますか？")), Text(QT_TRANSLATE_NOOP("FormSub", "リスタート"))))
        return;
    const std::optional<bool> restarted = Command(ModuleCommands::PANEL_RESTART);
    if (restarted == true)
        hide();
    else if (restarted == false)
        ShowWarning(FailureText(ModuleCommands::PANEL_RESTART), Text(QT_TRANSLATE_NOOP("FormSub", "ゲーム未選択")));
}

void FormSub::AskSave()
{
    if (!AskYesNo(Text(QT_TRANSLATE_NOOP("FormSub", "セーブしますか？")), Text(QT_TRANSLATE_NOOP("FormSub", "セーブ"))))
        return;
    if (Command(ModuleCommands::PANEL_SAVE) == false)
        ShowWarning(FailureText(ModuleCommands::PANEL_SAVE), Text(QT_TRANSLATE_NOOP("FormSub", "ゲーム未選択")));
}

void FormSub::AskLoad()
{
    if (!SaveFileExists()) {
        ShowMessage({Text(QT_TRANSLATE_NOOP("FormSub", "ロードするファイルがありません")),
                     FailureTitle(ModuleCommands::PANEL_LOAD), MessageButtons::Ok, MessageIcon::None});
        return;
    }
    if (!AskYesNo(Text(QT_TRANSLATE_NOOP("FormSub", "ロードしますか？")), Text(QT_TRANSLATE_NOOP("FormSub", "ロード"))))
        return;
    hide();
    Command(ModuleCommands::PANEL_LOAD);
}

void FormSub::ToggleAutohint()
{
    autoHint_ = !autoHint_;
    Command(autoHint_ ? ModuleCommands::PANEL_AUTOHINT_ON : ModuleCommands::PANEL_AUTOHINT_OFF);
    PaintPanel();
}

void FormSub::ToggleSound()
{
    sound_ = !sound_;
    Command(sound_ ? ModuleCommands::PANEL_SOUND_ON : ModuleCommands::PANEL_SOUND_OFF);
    PaintPanel();
}

std::optional<bool> FormSub::Command(int code)
{
    try {
        return module_.PanelCommand(code);
    } catch (const std::exception& error) {
        ShowWarning(FailureText(code) + "\n" + error.what(), FailureTitle(code));
        return std::nullopt;
    }
}

// Asking for the length is the check: any error counts as no file.
bool FormSub::SaveFileExists() const
{
    std::error_code error;
    const auto length = std::filesystem::file_size(std::filesystem::path(saveFilePath_.toStdString()), error);
    return !error && length != static_cast<std::uintmax_t>(-1);
}
