// The quarter-tile text format: an optional header, then one grid per level,
// each cell a quarter of a tile ('1' top-left, '2' top-right, '3'
// bottom-right, '4' bottom-left, '.' empty); lines starting with '#' are comments.
#include "ImportError.h"
#include "LayoutImport.h"
#include "QuotedText.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

constexpr std::string_view kMagicCurrent = "kmahjongg-layout-v1.1";
constexpr std::string_view kMagicOld = "kmahjongg-layout-v1.0";
// Files of the older version have no size lines.
constexpr int kOldWidth = 32;
constexpr int kOldHeight = 16;
constexpr int kOldDepth = 5;
constexpr int kMaxSide = 1024;

struct GridSize {
    int width = kOldWidth;
    int height = kOldHeight;
    int depth = kOldDepth;
};

struct Line {
    int number = 0;
    std::string_view text;
};

[[noreturn]] void Fail(int lineNumber, const std::string& what)
{
    throw ImportError("line " + std::to_string(lineNumber) + ": " + what);
}

std::vector<Line> SplitLines(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<Line> lines;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        lines.push_back({++number, line});
    }
    return lines;
}

bool IsComment(std::string_view line) { return !line.empty() && line.front() == '#'; }

// A size line: its letter, optional blanks or '=', and a number.
std::optional<std::pair<char, int>> SizeLine(std::string_view line)
{
    if (line.empty() || (line[0] != 'w' && line[0] != 'h' && line[0] != 'd'))
        return std::nullopt;
    size_t start = 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t' || line[start] == '='))
        ++start;
    int value = 0;
    const auto [end, error] = std::from_chars(line.data() + start, line.data() + line.size(), value);
    if (start == line.size() || error != std::errc() || end != line.data() + line.size())
        return std::nullopt;
    return std::pair{line[0], value};
}

// Reads the size lines after the current header; next is moved past them.
GridSize ReadSizeLines(const std::vector<Line>& lines, size_t& next)
{
    GridSize size;
    bool seen[3] = {false, false, false};
    for (; next < lines.size(); ++next) {
        if (lines[next].text.empty() || IsComment(lines[next].text))
            continue;
        const auto entry = SizeLine(lines[next].text);
        if (!entry)
            break;
        const auto [letter, value] = *entry;
        const int index = letter == 'w' ? 0 : letter == 'h' ? 1 : 2;
        if (value < 1 || value > kMaxSide)
            Fail(lines[next].number, std::string(1, letter) + " must be 1 to " + std::to_string(kMaxSide));
        (index == 0 ? size.width : index == 1 ? size.height : size.depth) = value;
        seen[index] = true;
    }
    if (!seen[0] || !seen[1] || !seen[2])
        throw ImportError("the header lacks one of its w, h and d lines");
    return size;
}

std::vector<Line> GridRows(const std::vector<Line>& lines, size_t first, const GridSize& size)
{
    std::vector<Line> rows;
    for (size_t i = first; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.text.empty() || IsComment(line.text))
            continue;
        if (static_cast<int>(line.text.size()) > size.width)
            Fail(line.number, "longer than the grid width " + std::to_string(size.width));
        const size_t bad = line.text.find_first_not_of(".1234");
        if (bad != std::string_view::npos)
            Fail(line.number, "unexpected character " + QuotedText(std::string(1, line.text[bad])) + " in a grid");
        rows.push_back(line);
    }
    if (rows.empty())
        throw ImportError("the file holds no grid lines");
    if (rows.size() % static_cast<size_t>(size.height) != 0)
        throw ImportError("the grid has " + std::to_string(rows.size()) + " lines, not a whole number of levels of "
                          + std::to_string(size.height));
    if (rows.size() / static_cast<size_t>(size.height) > static_cast<size_t>(size.depth))
        throw ImportError("the grid has more levels than the depth " + std::to_string(size.depth));
    return rows;
}

char Cell(const std::vector<Line>& rows, size_t row, size_t column)
{
    if (row >= rows.size() || column >= rows[row].text.size())
        return '.';
    return rows[row].text[column];
}

// The tiles of one level: rows first .. first + height - 1.
void ReadLevel(const std::vector<Line>& rows, size_t first, int height, int level, std::vector<ForeignTile>& tiles)
{
    size_t marks = 0;
    size_t starts = 0;
    for (size_t r = first; r < first + static_cast<size_t>(height); ++r) {
        for (size_t c = 0; c < rows[r].text.size(); ++c) {
            const char mark = rows[r].text[c];
            if (mark == '.')
                continue;
            ++marks;
            if (mark != '1')
                continue;
            const bool inLevel = r + 1 < first + static_cast<size_t>(height);
            if (!inLevel || Cell(rows, r, c + 1) != '2' || Cell(rows, r + 1, c + 1) != '3' || Cell(rows, r + 1, c) != '4')
                Fail(rows[r].number, "the tile at column " + std::to_string(c + 1) + " lacks its 2, 3 and 4 quarters");
            ++starts;
            if (tiles.size() <= static_cast<size_t>(kMaxImportTiles))
                tiles.push_back({static_cast<int>(c), static_cast<int>(r - first), level});
        }
    }
    if (marks != 4 * starts)
        throw ImportError("level " + std::to_string(level) + " has quarter marks that belong to no tile");
}

// The older version may lack its header line; then the first grid line tells.
bool LooksHeaderless(const std::vector<Line>& lines)
{
    for (const Line& line : lines)
        if (!line.text.empty() && !IsComment(line.text))
            return line.text.find_first_not_of(".1234") == std::string_view::npos;
    return false;
}

} // namespace

std::vector<ForeignTile> ParseQuarterTileGrid(std::string_view text)
{
    const std::vector<Line> lines = SplitLines(text);
    size_t next = 0;
    GridSize size;
    if (!lines.empty() && lines[0].text == kMagicCurrent) {
        next = 1;
        size = ReadSizeLines(lines, next);
    } else if (!lines.empty() && lines[0].text == kMagicOld) {
        next = 1;
    } else if (!LooksHeaderless(lines)) {
        throw ImportError("neither the quarter-tile text format nor the XML map format");
    }
    const std::vector<Line> rows = GridRows(lines, next, size);
    std::vector<ForeignTile> tiles;
    for (size_t first = 0; first < rows.size(); first += static_cast<size_t>(size.height))
        ReadLevel(rows, first, size.height, static_cast<int>(first / static_cast<size_t>(size.height)), tiles);
    return tiles;
}
