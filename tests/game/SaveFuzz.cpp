// libFuzzer entry: any bytes as save.dat, loaded as the game loads it, then
// the board is used as the game uses it after a load.
#include "NumberedError.h"
#include "PaiStructure.h"
#include "SavedGame.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PaiStructure board;
    try {
        const SavedGame game = SavedGame::Parse(std::string(reinterpret_cast<const char*>(data), size));
        std::istringstream record(game.boardRecord);
        board.LoadData(record);
    } catch (const NumberedError&) {
        return 0;
    }
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        if (board.Slot(id).Mode == PaiStructure::MODE_SELECTED)
            board.LostSelect(id);
    }
    board.CalcSelectable();
    std::vector<int32_t> order;
    board.CopyBltOrder(order);
    for (const int32_t id : order)
        board.ModeGet(id, true);
    // Take the first free tile as a click would, then look at the board again.
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        if (board.Validity(id) && board.Selectable(id)) {
            board.GetOnMouseID(board.PaiBltX(id) + 5, board.PaiBltY(id) + 5);
            board.PickedPai(id);
            board.CalcSelectable();
            break;
        }
    }
    return 0;
}
