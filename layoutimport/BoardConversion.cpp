// Placing a foreign layout on the board's half-tile grid, and the tile
// classes, message and file name of the imported layout.
#include "BoardGeometry.h"
#include "FileConv.h"
#include "ImportError.h"
#include "LayoutImport.h"
#include "PaiStructure.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <tuple>

namespace {

struct GridTile {
    int layer;
    int row;
    int column;
    auto operator<=>(const GridTile&) const = default;

    int32_t Code() const { return board::CodeOf(layer, column, row); }
};

// How far the tiles' margins on the board differ: left from right plus top from bottom.
int Imbalance(const std::vector<GridTile>& tiles)
{
    int left = PaiStructure::kBoardWidth, top = PaiStructure::kBoardHeight, right = 0, bottom = 0;
    for (const GridTile& tile : tiles) {
        const BoardPoint origin = board::BltPosOf(tile.Code());
        left = std::min(left, origin.x);
        top = std::min(top, origin.y);
        right = std::max(right, origin.x + PaiStructure::kTileWidth);
        bottom = std::max(bottom, origin.y + PaiStructure::kTileHeight);
    }
    return std::abs(left - (PaiStructure::kBoardWidth - right)) + std::abs(top - (PaiStructure::kBoardHeight - bottom));
}

bool OnTheBoard(const std::vector<GridTile>& tiles)
{
    return std::all_of(tiles.begin(), tiles.end(), [](const GridTile& tile) {
        return tile.column >= 0 && tile.column < board::kColumns && tile.row >= 0 && tile.row < board::kRows
            && board::FitsTheBoard(tile.Code());
    });
}

// The tiles shifted so that every one lies wholly on the board and the margins are as even as they can be.
std::optional<std::vector<GridTile>> Centred(const std::vector<GridTile>& tiles)
{
    const auto [leftmost, rightmost] = std::minmax_element(
        tiles.begin(), tiles.end(), [](const GridTile& a, const GridTile& b) { return a.column < b.column; });
    const auto [topmost, lowest] = std::minmax_element(
        tiles.begin(), tiles.end(), [](const GridTile& a, const GridTile& b) { return a.row < b.row; });
    if (rightmost->column - leftmost->column >= board::kColumns || lowest->row - topmost->row >= board::kRows)
        return std::nullopt;
    std::optional<std::vector<GridTile>> best;
    int bestImbalance = 0;
    for (int dy = -topmost->row; dy < board::kRows - lowest->row; ++dy) {
        for (int dx = -leftmost->column; dx < board::kColumns - rightmost->column; ++dx) {
            std::vector<GridTile> shifted = tiles;
            for (GridTile& tile : shifted) {
                tile.column += dx;
                tile.row += dy;
            }
            if (!OnTheBoard(shifted))
                continue;
            const int imbalance = Imbalance(shifted);
            if (!best || imbalance < bestImbalance) {
                best = std::move(shifted);
                bestImbalance = imbalance;
            }
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
    if (highestLevel - lowestLevel >= board::kLayers)
        throw ImportError("refused: more than " + std::to_string(board::kLayers) + " levels ("
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
    std::vector<GridTile> tiles;
    for (const ForeignTile& tile : layout.tiles)
        tiles.push_back({tile.z - lowestLevel, tile.y, tile.x});
    std::optional<std::vector<GridTile>> placed = Centred(tiles);
    if (!placed)
        throw ImportError("refused: the grid is too large for the board");
    std::sort(placed->begin(), placed->end());
    return *placed;
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
        positions.push_back(static_cast<uint16_t>(tile.Code()));
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
