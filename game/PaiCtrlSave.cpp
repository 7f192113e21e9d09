#include "PaiCtrl.h"

#include <sstream>

#include "PaiStructure.h"
#include "SavedGame.h"

bool PaiCtrl::RequestSave()
{
    if (!gameActive_)
        return false;
    SaveGameTo(SavePath());
    return true;
}

void PaiCtrl::SaveGameTo(const std::string& path) const
{
    SavedGame game;
    std::ostringstream record;
    board_->SaveData(record);
    game.boardRecord = record.str();
    game.tileCount = tileCount_;
    game.once = onceCount_;
    game.drawOrder = drawOrder_;
    game.history = history_;
    game.removedCount = removedCount_;
    game.autoHint = autoHint_;
    game.WriteFile(path);
}

bool PaiCtrl::RequestLoad()
{
    LoadGameFrom(SavePath());
    return true;
}

void PaiCtrl::LoadGameFrom(const std::string& path)
{
    SavedGame game = SavedGame::ReadFile(path);
    // All or nothing: the last step that could refuse the file.
    game.LoadBoardInto(*board_);

    tileCount_ = game.tileCount;
    onceCount_ = game.once;
    drawOrder_ = std::move(game.drawOrder);
    history_ = std::move(game.history);
    removedCount_ = game.removedCount;
    autoHint_ = game.autoHint;
    redo_.Clear();
    ResetPlayState();
    // The selection is not saved, so a selected look would mislead.
    for (int32_t id = 0; id < tileCount_; ++id) {
        if (board_->Slot(id).Mode == PaiStructure::MODE_SELECTED)
            board_->LostSelect(id);
    }
    board_->CalcSelectable();
    PaintMap();
    gameActive_ = true;
}

bool PaiCtrl::RequestRestart()
{
    if (!gameActive_)
        return false;
    for (int32_t i = 0; i < removedCount_; ++i)
        board_->SetPlayback(history_[i]);
    board_->ModeErase();
    selection_.assign(selection_.size(), -1);
    history_.assign(tileCount_, 0);
    removedCount_ = 0;
    redo_.Clear();
    board_->CalcSelectable();
    return true;
}
