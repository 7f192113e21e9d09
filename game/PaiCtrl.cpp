#include "PaiCtrl.h"

#include <algorithm>
#include <optional>
#include <filesystem>
#include <system_error>

#include "DX7Sound.h"
#include "NumberedError.h"
#include "PaiStructure.h"
#include "SoundArchive.h"

namespace {

constexpr int32_t kNoTile = -1;
constexpr int32_t kNoGroup = -1;
constexpr auto kPumpInterval = std::chrono::milliseconds(5);

std::string ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path().string();
    return executable.parent_path().string();
}

bool IsTileId(int32_t id) { return id >= 0 && id < PaiStructure::kSlots; }

} // namespace

PaiCtrl::PaiCtrl() : board_(std::make_unique<PaiStructure>()), programFolder_(ExecutableFolder()) {}

PaiCtrl::~PaiCtrl() = default;

std::string PaiCtrl::SavePath() const
{
    return (std::filesystem::path(programFolder_) / SAVE_FILE).string();
}

void PaiCtrl::SetEventPump(std::function<void()> pump)
{
    eventPump_ = std::move(pump);
    board_->SetEventPump(eventPump_);
}

void PaiCtrl::PumpEvents()
{
    if (!eventPump_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval)
        return;
    lastPump_ = now;
    eventPump_();
}

void PaiCtrl::SetDX7Sound(const std::string& path)
{
    SoundArchive archive;
    archive.SetEventPump(eventPump_);
    const int32_t decoded = archive.SoundDeCompress(path);

    sound_ = std::make_unique<DX7Sound>();
    sound_->Initialize();
    sound_->waveFormat_SamplesPerSec(22050);
    sound_->waveFormat_Channels(1);
    soundSlots_.fill(0);
    // An archive with more sounds than the game has effects: the rest are not needed.
    const int32_t used = std::min(decoded, SOUND_EFFECTS);
    std::vector<uint8_t> bytes;
    for (int32_t effect = 0; effect < used; ++effect) {
        const bool wide = effect == SOUND_SELECT || effect == SOUND_NO_HINT;
        sound_->waveFormat_BitsPerSample(wide ? 16 : 8);
        archive.GetBinaryData(effect, bytes);
        soundSlots_[effect] = sound_->GetFreeNumber();
        sound_->LoadFromBinary(soundSlots_[effect], bytes, static_cast<int32_t>(bytes.size()));
    }
    Sounds(sounds_);
}

void PaiCtrl::Sounds(bool value)
{
    sounds_ = value;
    if (sounds_ && sound_)
        sound_->OpenDevice();
}

void PaiCtrl::PlaySoundEffect(int32_t effect)
{
    if (sounds_ && sound_)
        sound_->SoundPlay(soundSlots_[effect]);
}

void PaiCtrl::GameInit(const std::string& path, int32_t number, int32_t faceDown)
{
    // The new deal is built aside, so a layout that cannot be dealt leaves
    // the game in progress playable.
    auto fresh = std::make_unique<PaiStructure>();
    fresh->SetEventPump(eventPump_);
    const std::string answerPath =
        makeAnswer_ ? (std::filesystem::path(programFolder_) / ANSWER_FILE).string() : std::string();
    fresh->CreateTable(path, number, faceDown, answerPath);
    board_ = std::move(fresh);

    board_->CopyBltOrder(drawOrder_);
    tileCount_ = board_->MaxID();
    onceCount_ = board_->Once();
    history_.assign(tileCount_, 0);
    removedCount_ = 0;
    redo_.Clear();
    ResetPlayState();
    gameActive_ = true;
}

void PaiCtrl::ResetPlayState()
{
    focusId_ = kNoTile;
    selection_.assign(std::max(onceCount_ - 1, 0), kNoTile);
    lastAction_ = 0;
}

int32_t PaiCtrl::GetOnMouseID(int32_t x, int32_t y) const
{
    return board_->GetOnMouseID(x, y);
}

int32_t PaiCtrl::ClickPai(int32_t id)
{
    if (!gameActive_)
        return EVENT_DISABLE;
    switch (id) {
    case PAI_CANCEL: return CancelSelection();
    case PAI_HINT: return ShowHint();
    case PAI_PLAYBACK: return TakeBack();
    case PAI_REDO: return Redo();
    default: break;
    }
    if (!IsTileId(id))
        throw NumberedError(NumberedError::SubscriptOutOfRange, "tile id " + std::to_string(id));
    return ClickTile(id);
}

int32_t PaiCtrl::CancelSelection()
{
    int32_t result = EVENT_DISABLE;
    for (int32_t& entry : selection_) {
        if (entry == kNoTile)
            continue;
        board_->LostSelect(entry);
        entry = kNoTile;
        result = EVENT_PRINT;
    }
    return result;
}

int32_t PaiCtrl::ShowHint()
{
    CancelSelection();
    if (lastAction_ == PAI_PLAYBACK)
        board_->ModeErase();
    PlaySoundEffect(board_->Hint() ? SOUND_HINT : SOUND_NO_HINT);
    lastAction_ = PAI_HINT;
    return EVENT_PRINT;
}

int32_t PaiCtrl::TakeBack()
{
    if (lastAction_ == PAI_HINT) {
        board_->ModeErase();
        lastAction_ = 0;
    }
    if (removedCount_ < 1)
        return EVENT_DISABLE;
    CancelSelection();
    removedCount_ -= onceCount_;
    for (int32_t k = 0; k < onceCount_; ++k)
        board_->SetPlayback(history_[removedCount_ + k]);
    redo_.TakenBack({history_.begin() + removedCount_, history_.begin() + removedCount_ + onceCount_});
    PlaySoundEffect(SOUND_PLAYBACK);
    board_->CalcSelectable();
    lastAction_ = PAI_PLAYBACK;
    return EVENT_PRINT;
}

int32_t PaiCtrl::ClickTile(int32_t id)
{
    if (lastAction_ != 0) {
        board_->ModeErase();
        lastAction_ = 0;
    }
    // A slot past the layout's tiles is never in play, whatever a loaded file
    // says of it; taking it would run the history past its end.
    if (id >= tileCount_ || !board_->Selectable(id))
        return EVENT_DISABLE;
    const int32_t group = FirstSelectedGroup();
    if (group != kNoGroup && group != board_->Group(id))
        return EVENT_DISABLE;

    const auto same = std::find(selection_.begin(), selection_.end(), id);
    if (same != selection_.end()) {
        board_->LostSelect(id);
        *same = kNoTile;
        PlaySoundEffect(SOUND_DESELECT);
        return EVENT_PRINT;
    }
    const auto empty = std::find(selection_.begin(), selection_.end(), kNoTile);
    if (empty != selection_.end()) {
        *empty = id;
        board_->SetSelect(id);
        PlaySoundEffect(SOUND_SELECT);
        return EVENT_PRINT;
    }
    return CompleteMove(id);
}

int32_t PaiCtrl::FirstSelectedGroup() const
{
    const auto first = std::find_if(selection_.begin(), selection_.end(),
                                    [](int32_t entry) { return entry != kNoTile; });
    return first == selection_.end() ? kNoGroup : board_->Group(*first);
}

// The tile that completes the move is recorded first, then the earlier ones
// in selection order.
int32_t PaiCtrl::CompleteMove(int32_t id)
{
    redo_.Clear();
    board_->PickedPai(id);
    history_[removedCount_] = id;
    for (size_t k = 0; k < selection_.size(); ++k) {
        board_->PickedPai(selection_[k]);
        history_[removedCount_ + 1 + k] = selection_[k];
        selection_[k] = kNoTile;
    }
    removedCount_ += onceCount_;
    board_->CalcSelectable();
    PlaySoundEffect(SOUND_REMOVE);
    return removedCount_ == tileCount_ ? EVENT_CLEAR : EVENT_PRINT;
}

// The set goes back in the order it was first taken, so the history reads as
// if it had never been taken back.
int32_t PaiCtrl::Redo()
{
    const std::optional<RedoHistory::Set> set = redo_.Next();
    if (!set)
        return EVENT_DISABLE;
    if (!Retakable(*set)) {
        redo_.Clear();
        return EVENT_DISABLE;
    }
    CancelSelection();
    if (lastAction_ != 0) {
        board_->ModeErase();
        lastAction_ = 0;
    }
    for (size_t k = 0; k < set->size(); ++k) {
        board_->PickedPai((*set)[k]);
        history_[removedCount_ + k] = (*set)[k];
    }
    removedCount_ += onceCount_;
    redo_.Retaken();
    board_->CalcSelectable();
    PlaySoundEffect(SOUND_REMOVE);
    return removedCount_ == tileCount_ ? EVENT_CLEAR : EVENT_PRINT;
}

// A whole set of free tiles of one match class, as a move would take.
bool PaiCtrl::Retakable(const RedoHistory::Set& set) const
{
    if (static_cast<int32_t>(set.size()) != onceCount_ || removedCount_ + onceCount_ > tileCount_)
        return false;
    return std::ranges::all_of(set, [&](int32_t id) {
        return id >= 0 && id < tileCount_ && board_->Validity(id) && board_->Selectable(id) &&
               board_->Group(id) == board_->Group(set.front());
    });
}

void PaiCtrl::ReplaceFaces(const FaceShuffle::Faces& faces)
{
    CancelSelection();
    FaceShuffle::Apply(*board_, faces);
    redo_.Clear();
}
