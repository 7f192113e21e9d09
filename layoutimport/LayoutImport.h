#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FileConv;

// Imports the layouts of two text formats common among mahjong-solitaire
// games: the quarter-tile text format (a grid of half-tile cells per level,
// named by a .desktop file beside it) and the XML map format (any number of
// named maps of tiles, rows, columns and blocks). Every failure is an
// ImportError whose text names the reason.

// A tile of a foreign layout: its top-left corner in half tiles and its level.
struct ForeignTile {
    int x = 0;
    int y = 0;
    int z = 0;
};

struct ForeignLayout {
    std::string name;        // UTF-8
    std::string fileStem;    // what output file names are made from: the map name or the file's base name
    std::string description; // UTF-8, may be empty
    // In the file's order; readers stop collecting one past kMaxImportTiles.
    std::vector<ForeignTile> tiles;
};

constexpr size_t kMaxImportBytes = size_t{1} << 20;
constexpr int kMaxImportTiles = 512;
// More maps than any collection of layouts holds; a file with more is refused whole.
constexpr int kMaxImportMaps = 256;

// The bytes of path, which must be a regular file of at most kMaxImportBytes.
std::string ReadImportFile(const std::string& path);

// Every layout of the file at path, by its content: one for the quarter-tile
// format, one per map for the XML format.
std::vector<ForeignLayout> ReadForeignLayouts(const std::string& path);

// The same from text in memory. fallbackName names a quarter-tile layout whose
// desktopEntry (the text of its .desktop file, or empty) has no name.
std::vector<ForeignLayout> ParseForeignLayouts(std::string_view text, const std::string& fallbackName,
                                               std::string_view desktopEntry);

// The format readers behind ParseForeignLayouts.
bool LooksLikeXml(std::string_view text);
std::vector<ForeignTile> ParseQuarterTileGrid(std::string_view text);
std::vector<ForeignLayout> ParseXmlMaps(std::string_view text);
// Name and description from a .desktop entry (the Japanese ones when present).
void ReadDesktopEntry(std::string_view text, ForeignLayout& layout);

// The layout placed on the 36 x 22 x 8 half-tile grid, centred on the board,
// with match classes for its tile count, set size 2 and its name and
// description as message. ImportError when the board cannot hold it.
void ConvertToLayoutFile(const ForeignLayout& layout, FileConv& file);

// The 41 count bytes for tiles (even, 2-512): the classic set for 144, else
// classes of four while they last and the rest in pairs.
std::vector<uint8_t> ImportedClassCounts(int tiles);

// Name, then description, wrapped into the short lines the caption beside the board can show.
std::u16string ImportedMessage(const std::string& name, const std::string& description);

// A file name (without folder, with .tvm) made of the name's ASCII letters, digits, '-' and '_';
// from fallback, else "imported", when the name has none.
std::string ImportedFileName(const std::string& name, const std::string& fallback = "");
