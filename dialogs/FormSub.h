#pragma once

#include "PixelRect.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class DX7Draw;
class ModuleCommands;
class PictureBox;
class QImage;

// The side panel: the game's menu of eight picture buttons (new game,
// restart, save, load, auto-hint, sound, wallpaper, close), worked with the
// mouse or the keyboard. It asks before restart, save and load, words their
// failures, and passes every command on to the shell.
class FormSub : public QDialog {
    Q_OBJECT

public:
    enum Item : int32_t {
        ITEM_NEWGAME = 0,
        ITEM_RESTART = 1,
        ITEM_SAVE = 2,
        ITEM_LOAD = 3,
        ITEM_AUTOHINT = 4,
        ITEM_SOUND = 5,
        ITEM_WALLPAPER = 6,
        ITEM_CLOSE = 7,
    };
    static constexpr int32_t ITEM_COUNT = 8;
    static constexpr int32_t NO_ITEM = -1;
    static constexpr int32_t CLIENT_WIDTH = 390;
    static constexpr int32_t CLIENT_HEIGHT = 302;

    explicit FormSub(ModuleCommands& module, QWidget* owner = nullptr);
    ~FormSub() override;

    // sheet: the button-bar sheet, red pixels transparent.
    void Initialize(const QImage& sheet);
    void SetWallsize(int32_t w, int32_t h);
    // Puts the panel's outer top-left corner at topLeft (screen coordinates)
    // and shows its picture at the given whole-number scale.
    void PlaceOver(QPoint topLeft, int32_t scale);
    void SetAutohint(bool b) { autoHint_ = b; }
    void SetSound(bool b) { sound_ = b; }
    // Where the saved game lies; the program's folder unless told otherwise.
    void SetSaveFilePath(const QString& path) { saveFilePath_ = path; }

    int32_t SelectedItem() const { return selected_; }
    bool Autohint() const { return autoHint_; }
    bool Sound() const { return sound_; }

    // The item whose button strictly contains (x, y), or NO_ITEM.
    static int32_t HitTestItem(int32_t x, int32_t y);

    // The panel's restart, save and load with their questions, also for the
    // game window's shortcuts.
    void AskRestart();
    void AskSave();
    void AskLoad();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintPanel();
    void OnMouseMove(int32_t x, int32_t y);
    void OnMouseDown(int32_t x, int32_t y);
    void RunPanelItem();
    void ToggleAutohint();
    void ToggleSound();
    // The shell's answer, or nothing when the command failed with an error
    // (already shown to the player).
    std::optional<bool> Command(int code);
    bool SaveFileExists() const;

    ModuleCommands& module_;
    std::unique_ptr<DX7Draw> draw_;
    PictureBox* picMain_ = nullptr;
    QWidget* picMiniWall_ = nullptr;
    int32_t sheetSprite_ = 0;
    int32_t backSprite_ = 0;
    PixelRect backRect_;
    int32_t selected_ = 0;
    bool autoHint_ = false;
    bool sound_ = false;
    int32_t lastMouseX_ = 0;
    int32_t lastMouseY_ = 0;
    QString saveFilePath_;
};
