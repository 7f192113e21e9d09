#include "PaiCtrl.h"

#include <sstream>

#include "PaiStructure.h"
#include "SavedGame.h"

bool PaiCtrl::RequestSave()
{
    if (!gameActive_)
        return false;
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
    game.WriteFile(SavePath());
    return true;
}

bool PaiCtrl::RequestLoad()
{
    SavedGame game = SavedGame::ReadFile(SavePath());
    std::istringstream record(game.boardRecord);
    // Reads all or nothing: the last check that could refuse the file.
    board_->LoadData(record);

    tileCount_ = game.tileCount;
    onceCount_ = game.once;
    drawOrder_ = std::move(game.drawOrder);
    history_ = std::move(game.history);
    removedCount_ = game.removedCount;
    autoHint_ = game.autoHint;
    ResetPlayState();
    // The selection is not saved, so a selected look would mislead.
    for (int32_t id = 0; id < tileCount_; ++id) {
        if (board_->Slot(id).Mode == PaiStructure::MODE_SELECTED)
            board_->LostSelect(id);
    }
    board_->CalcSelectable();
    PaintMap();
    gameActive_ = true;
    return true;
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
    board_->CalcSelectable();
    return true;
}
