#include "RandomLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

constexpr int32_t kColumns = LayoutSource::kGridColumns - 1; // a tile covers two half-tile cells
constexpr int32_t kRows = LayoutSource::kGridRows - 1;
constexpr int32_t kAttempts = 200'000;

struct Cell {
    int32_t layer;
    int32_t column;
    int32_t row;
};

using Plan = std::function<bool(double x, double y)>;

double Uniform(std::mt19937& random, double low, double high)
{
    return std::uniform_real_distribution<double>(low, high)(random);
}

int32_t Between(std::mt19937& random, int32_t low, int32_t high)
{
    return std::uniform_int_distribution<int32_t>(low, high)(random);
}

// A ground plan over the board, x and y from -1 to 1.
Plan RandomPlan(std::mt19937& random)
{
    const double a = Uniform(random, 0.5, 1.0);
    const double b = Uniform(random, 0.5, 1.0);
    const double w = Uniform(random, 0.2, 0.4);
    switch (Between(random, 0, 6)) {
    case 0:
        return [a, b](double x, double y) { return std::abs(x) < a && std::abs(y) < b; };
    case 1:
        return [a, b](double x, double y) { return (x / a) * (x / a) + (y / b) * (y / b) < 1.0; };
    case 2:
        return [a, b](double x, double y) {
            const double d = (x / a) * (x / a) + (y / b) * (y / b);
            return d < 1.0 && d > 0.3;
        };
    case 3:
        return [w](double x, double y) { return std::abs(x) < w || std::abs(y) < w; };
    case 4: {
        std::vector<std::array<double, 3>> islands(static_cast<size_t>(Between(random, 2, 5)));
        for (auto& island : islands)
            island = {Uniform(random, -0.7, 0.7), Uniform(random, -0.7, 0.7), Uniform(random, 0.25, 0.45)};
        return [islands](double x, double y) {
            return std::any_of(islands.begin(), islands.end(), [x, y](const std::array<double, 3>& i) {
                return (x - i[0]) * (x - i[0]) + (y - i[1]) * (y - i[1]) < i[2] * i[2];
            });
        };
    }
    case 5: {
        const int32_t bands = Between(random, 3, 5);
        return [bands](double, double y) { return static_cast<int32_t>((y + 1.0) * bands) % 2 == 0; };
    }
    default:
        return [w, a](double x, double y) { return std::abs(x - a * y) < w + 0.1; };
    }
}

bool Overlaps(const std::vector<Cell>& cells, const Cell& cell)
{
    return std::any_of(cells.begin(), cells.end(), [&cell](const Cell& other) {
        return other.layer == cell.layer && std::abs(other.column - cell.column) < 2
               && std::abs(other.row - cell.row) < 2;
    });
}

// Tiles placed one at a time, on the ground plan or on a tile below (each
// upper tile lies on at least one), until there are `tiles`; empty when the
// plan runs out of room.
std::vector<Cell> PlaceTiles(int32_t tiles, std::mt19937& random)
{
    const Plan plan = RandomPlan(random);
    const bool halfSteps = Between(random, 0, 2) == 0;
    const int32_t layers = Between(random, std::max(1, (tiles + 119) / 120), LayoutSource::kGridLayers);
    const double upward = Uniform(random, 0.2, 0.8);
    std::vector<Cell> cells;
    for (int32_t attempt = 0; attempt < kAttempts && static_cast<int32_t>(cells.size()) < tiles; ++attempt) {
        Cell cell{};
        if (!cells.empty() && Uniform(random, 0, 1) < upward) {
            const Cell& below = cells[static_cast<size_t>(Between(random, 0, static_cast<int32_t>(cells.size()) - 1))];
            const int32_t step = halfSteps ? 1 : 0;
            cell = {below.layer + 1, below.column + Between(random, -step, step), below.row + Between(random, -step, step)};
        } else {
            const int32_t grain = halfSteps ? 1 : 2;
            cell = {0, grain * Between(random, 0, kColumns / grain), grain * Between(random, 0, kRows / grain)};
            if (!plan(2.0 * cell.column / kColumns - 1.0, 2.0 * cell.row / kRows - 1.0))
                continue;
        }
        if (cell.layer >= layers || cell.column < 0 || cell.column >= kColumns || cell.row < 0 || cell.row >= kRows
            || Overlaps(cells, cell))
            continue;
        cells.push_back(cell);
    }
    if (static_cast<int32_t>(cells.size()) < tiles)
        cells.clear();
    return cells;
}

// Every class 0-37 in use (as far as there are sets for them), the sets
// spread over them as evenly as they go, the odd ones to random classes.
std::vector<uint8_t> RandomCounts(int32_t tiles, int32_t setSize, std::mt19937& random)
{
    constexpr int32_t kClasses = 38;
    const int32_t sets = tiles / setSize;
    const int32_t classes = std::min(kClasses, sets);
    std::vector<int32_t> setsOf(static_cast<size_t>(classes), sets / classes);
    std::vector<int32_t> order(static_cast<size_t>(classes));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    for (int32_t k = 0; k < sets % classes; ++k)
        ++setsOf[static_cast<size_t>(order[static_cast<size_t>(k)])];
    std::vector<uint8_t> counts(41, 0);
    for (int32_t group = 0; group < classes; ++group)
        counts[static_cast<size_t>(group)] = static_cast<uint8_t>(setsOf[static_cast<size_t>(group)] * setSize);
    return counts;
}

} // namespace

LayoutSource RandomLayout::Make(int32_t tiles, int32_t setSize, std::mt19937& random)
{
    if (setSize < 1 || tiles % setSize != 0 || tiles % 2 != 0 || tiles < 2 || tiles > 512)
        throw std::invalid_argument("no layout of " + std::to_string(tiles) + " tiles in sets of "
                                    + std::to_string(setSize));
    std::vector<Cell> cells;
    while (cells.empty())
        cells = PlaceTiles(tiles, random);
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return std::tie(a.layer, a.row, a.column) < std::tie(b.layer, b.row, b.column);
    });
    LayoutSource source;
    source.setSize = setSize;
    source.counts = RandomCounts(tiles, setSize, random);
    for (const Cell& cell : cells)
        source.positions.push_back(static_cast<uint16_t>(cell.layer * 2048 + cell.column * 32 + cell.row));
    return source;
}
