// tovrik-tool corpus: writes random layouts, each of which deals, for
// measuring the solver on shapes it was not tuned on.
#include "ToolCommand.h"

#include "FileConv.h"
#include "NumberedError.h"
#include "PaiStructure.h"
#include "RandomLayout.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>

namespace {

constexpr int32_t kFewestTiles = 72;
constexpr int32_t kMostTiles = 512;

// Sets of 2, 3 and 4 in turn; a tile count that is even and a multiple of the set size.
int32_t TileCount(int32_t setSize, std::mt19937& random)
{
    const int32_t step = setSize % 2 == 0 ? setSize : 2 * setSize;
    const int32_t low = (kFewestTiles + step - 1) / step;
    return step * std::uniform_int_distribution<int32_t>(low, kMostTiles / step)(random);
}

bool Deals(const std::string& path)
{
    try {
        PaiStructure board;
        board.CreateTable(path, 1, 0);
        return true;
    } catch (const NumberedError&) {
        return false;
    }
}

const ToolCommand corpusCommand(
    "corpus", "corpus DIR [--layouts N] [--seed S]", [](const std::vector<std::string>& raw) {
        ToolArgs args(raw);
        const int layouts = args.TakeIntOption("--layouts", 200);
        const int seed = args.TakeIntOption("--seed", 1);
        const std::filesystem::path folder = args.TakePositional("DIR");
        args.ExpectEnd();
        std::filesystem::create_directories(folder);
        std::mt19937 random(static_cast<uint32_t>(seed));
        for (int k = 0; k < layouts; ++k) {
            const int32_t setSize = 2 + k % 3;
            char name[32];
            std::snprintf(name, sizeof name, "random-%03d.tvm", k + 1);
            const std::string path = (folder / name).string();
            do {
                FileConv file;
                RandomLayout::Make(TileCount(setSize, random), setSize, random).ToFile(file);
                file.SaveFile(path);
            } while (!Deals(path));
            std::cout << path << "\n" << std::flush;
        }
        return 0;
    });

} // namespace
