// Placing a foreign layout on the board's half-tile grid, and the tile
// classes, message and file name of the imported layout.
#include "FileConv.h"
#include "ImportError.h"
#include "LayoutImport.h"
#include "LayoutSource.h"
#include "PaiStructure.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <tuple>

namespace {

// The board draws a tile at x = column * 18 - layer * 6, y = row * 25 - layer * 6.
constexpr int kColumnPitch = 18;
constexpr int kRowPitch = 25;
constexpr int kLayerShift = 6;

struct Axis {
    int pitch;
    int boardSize;
    int tileSize;
    int gridSize;
};

constexpr Axis kColumns{kColumnPitch, PaiStructure::kBoardWidth, PaiStructure::kTileWidth, LayoutSource::kGridColumns};
constexpr Axis kRows{kRowPitch, PaiStructure::kBoardHeight, PaiStructure::kTileHeight, LayoutSource::kGridRows};

struct GridTile {
    int layer;
    int row;
    int column;
    auto operator<=>(const GridTile&) const = default;
};

int PixelOf(const Axis& axis, int index, int layer) { return index * axis.pitch - layer * kLayerShift; }

// The grid indices at which a tile of this layer lies wholly on the board.
std::pair<int, int> FittingIndices(const Axis& axis, int layer)
{
    const int shift = layer * kLayerShift;
    const int low = (shift + axis.pitch - 1) / axis.pitch;
    const int high = std::min(axis.gridSize - 1, (axis.boardSize - axis.tileSize + shift) / axis.pitch);
    return {low, high};
}

// The offset that puts every (index, layer) on the board with the margins on
// both sides as equal as they can be; nullopt when no offset fits them all.
std::optional<int> CentringOffset(const Axis& axis, const std::vector<std::pair<int, int>>& places)
{
    int lowest = -kMaxImportTiles * 64;
    int highest = kMaxImportTiles * 64;
    for (const auto& [index, layer] : places) {
        const auto [low, high] = FittingIndices(axis, layer);
        lowest = std::max(lowest, low - index);
        highest = std::min(highest, high - index);
    }
    std::optional<int> best;
    int bestImbalance = 0;
    for (int offset = lowest; offset <= highest; ++offset) {
        int first = axis.boardSize;
        int last = 0;
        for (const auto& [index, layer] : places) {
            first = std::min(first, PixelOf(axis, index + offset, layer));
            last = std::max(last, PixelOf(axis, index + offset, layer) + axis.tileSize);
        }
        const int imbalance = std::abs(first - (axis.boardSize - last));
        if (!best || imbalance < bestImbalance) {
            best = offset;
            bestImbalance = imbalance;
        }
    }
    return best;
}

std::string TileUnits(int halfTiles)
{
    const int size = std::abs(halfTiles);
    return (halfTiles < 0 ? "-" : "") + std::to_string(size / 2) + (size % 2 ? ".5" : "");
}

void RefuseOverlaps(const std::vector<ForeignTile>& tiles)
{
    std::set<std::tuple<int, int, int>> covered;
    for (const ForeignTile& tile : tiles)
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                if (!covered.insert({tile.z, tile.y + dy, tile.x + dx}).second)
                    throw ImportError("refused: overlapping tiles (level " + std::to_string(tile.z) + ", x "
                                      + TileUnits(tile.x) + ", y " + TileUnits(tile.y) + ")");
}

void RefuseUnrepresentable(const ForeignLayout& layout, int lowestLevel, int highestLevel)
{
    const size_t count = layout.tiles.size();
    if (count == 0)
        throw ImportError("refused: the layout holds no tiles");
    if (count > static_cast<size_t>(kMaxImportTiles))
        throw ImportError("refused: over " + std::to_string(kMaxImportTiles) + " tiles");
    if (count % 2 != 0)
        throw ImportError("refused: an odd number of tiles (" + std::to_string(count) + ")");
    if (highestLevel - lowestLevel >= LayoutSource::kGridLayers)
        throw ImportError("refused: more than " + std::to_string(LayoutSource::kGridLayers) + " levels ("
                          + std::to_string(highestLevel - lowestLevel + 1) + ")");
    RefuseOverlaps(layout.tiles);
}

std::vector<GridTile> PlaceOnGrid(const ForeignLayout& layout)
{
    int lowestLevel = 0, highestLevel = 0;
    if (!layout.tiles.empty()) {
        const auto [low, high] = std::minmax_element(layout.tiles.begin(), layout.tiles.end(),
                                                     [](const ForeignTile& a, const ForeignTile& b) { return a.z < b.z; });
        lowestLevel = low->z;
        highestLevel = high->z;
    }
    RefuseUnrepresentable(layout, lowestLevel, highestLevel);
    std::vector<std::pair<int, int>> columns, rows;
    for (const ForeignTile& tile : layout.tiles) {
        columns.emplace_back(tile.x, tile.z - lowestLevel);
        rows.emplace_back(tile.y, tile.z - lowestLevel);
    }
    const std::optional<int> columnOffset = CentringOffset(kColumns, columns);
    const std::optional<int> rowOffset = CentringOffset(kRows, rows);
    if (!columnOffset || !rowOffset)
        throw ImportError("refused: the grid is too large for the board ("
                          + std::string(!columnOffset ? "too wide" : "too tall") + ")");
    std::vector<GridTile> placed;
    for (const ForeignTile& tile : layout.tiles)
        placed.push_back({tile.z - lowestLevel, tile.y + *rowOffset, tile.x + *columnOffset});
    std::sort(placed.begin(), placed.end());
    return placed;
}

// Code points of the Latin-1 range and half-width katakana take one unit; others two.
int DisplayWidth(char16_t c)
{
    if (c >= 0xDC00 && c <= 0xDFFF)
        return 0;
    return c < 0x100 || (c >= 0xFF61 && c <= 0xFF9F) ? 1 : 2;
}

int DisplayWidth(std::u16string_view text)
{
    int width = 0;
    for (const char16_t c : text)
        width += DisplayWidth(c);
    return width;
}

// The caption beside the board is narrow: ten wide characters a line.
constexpr int kLineWidth = 20;
constexpr size_t kMaxLines = 4;

// Breaks text into the pieces a line may end between: words of narrow characters, single wide characters.
std::vector<std::u16string> Pieces(std::u16string_view text)
{
    std::vector<std::u16string> pieces;
    std::u16string word;
    const auto endWord = [&] {
        if (!word.empty())
            pieces.push_back(std::move(word));
        word.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c <= u' ' || c == u'\u3000') {
            endWord();
            pieces.push_back(u" ");
        } else if (DisplayWidth(c) == 1) {
            word += c;
        } else {
            endWord();
            std::u16string wide(1, c);
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
                wide += text[++i];
            pieces.push_back(wide);
        }
    }
    endWord();
    return pieces;
}

// Stops one line past the most a message shows, so that a huge name costs no more than a short one.
std::vector<std::u16string> Wrapped(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    std::u16string line;
    bool blank = false;
    for (const std::u16string& piece : Pieces(text)) {
        if (lines.size() > kMaxLines)
            return lines;
        if (piece == u" ") {
            blank = !line.empty();
            continue;
        }
        if (DisplayWidth(line) + (blank ? 1 : 0) + DisplayWidth(piece) <= kLineWidth) {
            line += (blank ? u" " : u"") + piece;
        } else {
            if (!line.empty())
                lines.push_back(line);
            // A narrow word wider than a line is cut; its characters are one unit wide each.
            const auto width = static_cast<size_t>(kLineWidth);
            size_t start = 0;
            for (; piece.size() - start > width && lines.size() <= kMaxLines; start += width)
                lines.push_back(piece.substr(start, width));
            line = piece.substr(std::min(start, piece.size()));
        }
        blank = false;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::u16string AsUtf16(const std::string& text)
{
    if (const std::optional<std::u16string> converted = Utf8ToUtf16(text))
        return *converted;
    std::u16string ascii;
    for (const char c : text)
        if (c >= ' ' && c < 0x7F)
            ascii += static_cast<char16_t>(c);
    return ascii;
}

} // namespace

void ConvertToLayoutFile(const ForeignLayout& layout, FileConv& file)
{
    std::vector<uint16_t> positions;
    for (const GridTile& tile : PlaceOnGrid(layout))
        positions.push_back(static_cast<uint16_t>(tile.layer * 2048 + tile.column * 32 + tile.row));
    const std::vector<uint8_t> counts = ImportedClassCounts(static_cast<int>(positions.size()));
    const std::string fault = PaiStructure::LayoutFault(positions, counts, 2);
    if (!fault.empty())
        throw ImportError("refused: " + fault);
    file.PutPositionArray(positions);
    file.PutPaiArray(counts);
    file.PutPlaytime(2);
    file.PutMessage(ImportedMessage(layout.name, layout.description));
}

std::vector<uint8_t> ImportedClassCounts(int tiles)
{
    // The classic set (classes 0-33, seasons, flowers) first, then the remaining classes.
    static constexpr int kOrder[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                     14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27,
                                     28, 29, 30, 31, 32, 33, 38, 39, 34, 35, 36, 37, 40};
    std::vector<uint8_t> counts(FileConv::kCountClasses, 0);
    for (int left = tiles; left > 0;) {
        for (const int k : kOrder) {
            const int take = std::min(4, left);
            counts[k] = static_cast<uint8_t>(counts[k] + take);
            left -= take;
        }
    }
    return counts;
}

std::u16string ImportedMessage(const std::string& name, const std::string& description)
{
    std::vector<std::u16string> lines = Wrapped(AsUtf16(name));
    for (std::u16string& line : Wrapped(AsUtf16(description)))
        lines.push_back(std::move(line));
    if (lines.size() > kMaxLines) {
        lines.resize(kMaxLines);
        std::u16string& last = lines.back();
        while (!last.empty() && (DisplayWidth(last) > kLineWidth - 2 || (last.back() >= 0xD800 && last.back() <= 0xDBFF)))
            last.pop_back();
        last += u'…';
    }
    std::u16string message;
    for (const std::u16string& line : lines)
        message += (message.empty() ? u"" : u"\r\n") + line;
    return message;
}

std::string ImportedFileName(const std::string& name, const std::string& fallback)
{
    std::string stem;
    for (const char c : name) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (c >= 'A' && c <= 'Z')
            stem += static_cast<char>(c - 'A' + 'a');
        else if (keep)
            stem += c;
        else if (!stem.empty() && stem.back() != '-' && static_cast<unsigned char>(c) < 0x80)
            stem += '-';
    }
    while (!stem.empty() && stem.back() == '-')
        stem.pop_back();
    if (stem.size() > 64)
        stem.resize(64);
    if (stem.empty())
        return fallback.empty() ? "imported.tvm" : ImportedFileName(fallback, "");
    return stem + ".tvm";
}
