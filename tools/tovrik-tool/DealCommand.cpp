// tovrik-tool deal / answer: the deal of a layout and problem number, and its answer file.
#include "ToolCommand.h"

#include "PaiStructure.h"

#include <iostream>
#include <stdexcept>

namespace {

void PrintDeal(const PaiStructure& board, const std::string& path, int problem, int faceDown)
{
    std::cout << "# " << path << " problem " << problem << " facedown " << faceDown << '\n';
    std::cout << "# slot layer column row face group revmode free\n";
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        const PaiSlot& slot = board.Slot(id);
        std::cout << id << ' ' << slot.Position / 2048 << ' ' << slot.Position / 32 % 64 << ' '
                  << slot.Position % 32 << ' ' << slot.PaiIndex << ' ' << slot.Group << ' ' << slot.RevMode << ' '
                  << (board.Selectable(id) ? 1 : 0) << '\n';
    }
}

const ToolCommand dealCommand("deal", "deal FILE --problem N [--facedown M]", [](const std::vector<std::string>& raw) {
    ToolArgs args(raw);
    const int problem = args.TakeProblem("--problem");
    const int faceDown = args.TakeIntOption("--facedown", 0);
    const std::string path = args.TakeLayout("FILE");
    args.ExpectEnd();
    PaiStructure board;
    board.CreateTable(path, problem, faceDown);
    PrintDeal(board, path, problem, faceDown);
    return 0;
});

const ToolCommand answerCommand("answer", "answer FILE --problem N [--facedown M] --out PATH",
                                [](const std::vector<std::string>& raw) {
                                    ToolArgs args(raw);
                                    const int problem = args.TakeProblem("--problem");
                                    const int faceDown = args.TakeIntOption("--facedown", 0);
                                    const std::string out = args.TakeOption("--out");
                                    const std::string path = args.TakeLayout("FILE");
                                    args.ExpectEnd();
                                    if (out.empty())
                                        throw std::invalid_argument("missing --out PATH");
                                    PaiStructure board;
                                    board.CreateTable(path, problem, faceDown, out);
                                    return 0;
                                });

} // namespace
