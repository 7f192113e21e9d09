#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoardView.h"
#include "FaceShuffle.h"
#include "PixelRect.h"
#include "RedoHistory.h"

class DX7Draw;
class DX7Sound;
class PaiStructure;
class QImage;

// The game controller: owns the board and the sound effects, turns a clicked
// tile (or cancel, hint, playback) into a change of the board and an event
// code for the caller's redraw, paints the board into its work sprite, and
// saves, loads and restarts the game. Runs on the window thread only.
class PaiCtrl {
public:
    static constexpr int32_t EVENT_DISABLE = 0;
    static constexpr int32_t EVENT_PRINT = 1;
    static constexpr int32_t EVENT_NOPLAY = 2;
    static constexpr int32_t EVENT_CLEAR = 3;
    static constexpr int32_t PAI_CANCEL = 0x8001;
    static constexpr int32_t PAI_HINT = 0x8002;
    static constexpr int32_t PAI_PLAYBACK = 0x8003;
    // Puts back the set most recently taken back, checked again first.
    static constexpr int32_t PAI_REDO = 0x8004;

    // The sound effects, by their index in the sound archive.
    enum SoundEffect : int32_t {
        SOUND_SELECT = 0,
        SOUND_REMOVE = 1,
        SOUND_HINT = 2,
        SOUND_PLAYBACK = 3,
        SOUND_NO_HINT = 4,
        SOUND_CLEAR = 5,
        SOUND_DESELECT = 6,
    };
    static constexpr int32_t SOUND_EFFECTS = 7;

    static constexpr const char* SAVE_FILE = "save.dat";
    static constexpr const char* ANSWER_FILE = "answer.txt";

    PaiCtrl();
    ~PaiCtrl();
    PaiCtrl(const PaiCtrl&) = delete;
    PaiCtrl& operator=(const PaiCtrl&) = delete;

    bool AutoHint() const { return autoHint_; }
    void AutoHint(bool value) { autoHint_ = value; }
    bool Sounds() const { return sounds_; }
    // Switching sound on opens the sound device, the first time.
    void Sounds(bool value);
    bool MakeAnswer() const { return makeAnswer_; }
    void MakeAnswer(bool value) { makeAnswer_ = value; }

    // The folder of save.dat and answer.txt; the program's folder by default.
    void SetProgramFolder(const std::string& folder) { programFolder_ = folder; }
    std::string SavePath() const;

    // Lets the window's pending events run during long work (deal play-out,
    // sound decoding, tiled wallpaper); called at most every few milliseconds.
    void SetEventPump(std::function<void()> pump);

    void SetDX7(std::shared_ptr<DX7Draw> dx7);
    // Stores the work sprite and the board size, and creates the cache sprite.
    void SetDX7Work(int32_t work, int32_t width, int32_t height);
    // The tile sheet keyed on magenta (frames) and laid over white, keyed on
    // white (faces). The sheet's size is not needed.
    void SetDX7Sprite(int32_t frameSheet, int32_t faceSheet, int32_t sheetWidth, int32_t sheetHeight);
    void SetDX7Wall(int32_t wall);
    // Draws the board through view onto work, cache and wallpaper sprites of
    // width × height (made again at that size), from tile sheets painted at
    // the view's scale; the clear animation's figure goes through clear, from
    // the keyed sheet clearSheet painted at its scale. Redraws the wallpaper.
    void SetBoardView(const BoardView& view, const BoardView& clear, int32_t clearSheet, int32_t width,
                      int32_t height);
    // Loads the first seven sounds of the archive at path into a new player.
    // An unreadable archive has been reported by the archive; the game is silent.
    void SetDX7Sound(const std::string& path);

    // Rebuilds the wallpaper sprite: green, with the picture centred (cut
    // evenly when larger than the board) or tiled from the top-left corner.
    // A null picture leaves plain green. Repaints nothing.
    void ChangeWallpaper(const QImage& picture, bool centred);

    // Starts a new deal. When the deal cannot be built the error reaches the
    // caller and the game in progress (or none) stays as it was.
    void GameInit(const std::string& path, int32_t number, int32_t faceDown);
    int32_t GetOnMouseID(int32_t x, int32_t y) const;
    void FocusPai(int32_t id) { focusId_ = id; }
    // A tile id (0-511) or a pseudo id; returns an event code. Another id
    // raises NumberedError(SubscriptOutOfRange) and changes nothing.
    int32_t ClickPai(int32_t id);
    int32_t GetPaiCount() const { return tileCount_ - removedCount_; }

    // Rebuilds the work and cache sprites from the wallpaper and the tiles.
    void PaintMap();
    // Restores the work sprite from the cache and marks the focused free tile.
    void PaintFocus();
    // Frame t (0-113) of the clear animation; frame 0 plays its sound.
    void PaintClear(int32_t t);
    // Copies the work sprite to the layer's back surface at (x, y).
    void Blit(int32_t x, int32_t y);

    // False when no game is loaded. A failed save raises a NumberedError and
    // leaves the previous save.dat whole.
    bool RequestSave();
    // Loads save.dat and repaints. A missing, unreadable or damaged file
    // raises a NumberedError naming the problem and changes nothing.
    bool RequestLoad();
    // Puts every removed tile back. False when no game is loaded.
    bool RequestRestart();
    // RequestSave and RequestLoad with a file of any name, for tools.
    void SaveGameTo(const std::string& path) const;
    void LoadGameFrom(const std::string& path);

    // Read access for tools and tests.
    const PaiStructure& Board() const { return *board_; }
    bool GameActive() const { return gameActive_; }
    int32_t LastAction() const { return lastAction_; }
    int32_t FocusId() const { return focusId_; }
    const std::vector<int32_t>& Selection() const { return selection_; }
    // Every removed tile in removal order; entries from RemovedCount() on are stale.
    const std::vector<int32_t>& History() const { return history_; }
    int32_t RemovedCount() const { return removedCount_; }
    // The sets redo may put back; forgotten by a move, restart, load, deal or shuffle.
    const RedoHistory& Redoable() const { return redo_; }

    // Gives the tiles left the shuffled faces. Drops the selection and
    // forgets redo; repaints nothing.
    void ReplaceFaces(const FaceShuffle::Faces& faces);

private:
    int32_t CancelSelection();
    int32_t ShowHint();
    int32_t TakeBack();
    int32_t Redo();
    bool Retakable(const RedoHistory::Set& set) const;
    int32_t ClickTile(int32_t id);
    int32_t FirstSelectedGroup() const;
    int32_t CompleteMove(int32_t id);
    void PlaySoundEffect(int32_t effect);
    void ResetPlayState();
    void PumpEvents();

    void PaintPai(int32_t id, int32_t mode);
    void PaintFocusPai(int32_t id);
    PixelRect FaceCell(int32_t id) const;
    PixelRect BoardRect() const { return {0, 0, boardWidth_, boardHeight_}; }
    void TileWallpaper(const QImage& picture, int32_t width, int32_t height);

    void PaintWallpaper();

    std::shared_ptr<DX7Draw> dx7_;
    BoardView view_;
    BoardView clearView_;
    int32_t clearSheet_ = 0;
    // Kept to draw again at another scale; held by pointer so that this
    // header stays free of Qt.
    std::shared_ptr<const QImage> wallPicture_;
    bool wallCentred_ = true;
    int32_t workSprite_ = 0;
    int32_t cacheSprite_ = 0;
    int32_t frameSheet_ = 0;
    int32_t faceSheet_ = 0;
    int32_t wallSprite_ = 0;
    int32_t boardWidth_ = 0;
    int32_t boardHeight_ = 0;
    std::unique_ptr<DX7Sound> sound_;
    std::unique_ptr<PaiStructure> board_;
    std::vector<int32_t> drawOrder_;
    int32_t tileCount_ = 0;
    int32_t focusId_ = -1;
    std::vector<int32_t> selection_;
    int32_t onceCount_ = 0;
    int32_t lastAction_ = 0;
    std::vector<int32_t> history_;
    int32_t removedCount_ = 0;
    RedoHistory redo_;
    bool autoHint_ = false;
    bool sounds_ = false;
    bool makeAnswer_ = false;
    bool gameActive_ = false;
    std::array<int32_t, SOUND_EFFECTS> soundSlots_{};

    std::string programFolder_;
    std::function<void()> eventPump_;
    std::chrono::steady_clock::time_point lastPump_;
};
