#include "LayoutDraft.h"

#include "BoardGeometry.h"
#include "ClassAssignment.h"
#include "FileConv.h"
#include "PaiStructure.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

// A tile's face, where clicks find it: 37 x 51 pixels from its drawing origin.
constexpr int kFaceWidth = 37;
constexpr int kFaceHeight = 51;

bool FileOrder(const LayoutDraft::Tile& a, const LayoutDraft::Tile& b)
{
    return std::tie(a.level, a.row, a.column) < std::tie(b.level, b.row, b.column);
}

} // namespace

LayoutDraft::LayoutDraft(const FileConv& file)
    : setSize_(file.GetPlaytime()), loadedPositions_(file.GetPositionArray()), loadedCounts_(file.GetPaiArray()),
      loadedSetSize_(file.GetPlaytime())
{
    for (const uint16_t code : loadedPositions_)
        tiles_.push_back(TileOf(code));
}

void LayoutDraft::MarkSaved(const FileConv& file)
{
    loadedPositions_ = file.GetPositionArray();
    loadedCounts_ = file.GetPaiArray();
    loadedSetSize_ = file.GetPlaytime();
}

uint16_t LayoutDraft::CodeOf(const Tile& tile)
{
    return static_cast<uint16_t>(board::CodeOf(tile.level, tile.column, tile.row));
}

LayoutDraft::Tile LayoutDraft::TileOf(uint16_t code)
{
    return {board::LayerOf(code), board::ColumnOf(code), board::RowOf(code)};
}

bool LayoutDraft::Overlaps(const Tile& a, const Tile& b) const
{
    return std::abs(a.column - b.column) < 2 && std::abs(a.row - b.row) < 2;
}

bool LayoutDraft::Rests(const Tile& tile) const
{
    return tile.level == 0 || std::any_of(tiles_.begin(), tiles_.end(), [&](const Tile& below) {
               return below.level == tile.level - 1 && Overlaps(tile, below);
           });
}

LayoutDraft::Verdict LayoutDraft::CanPlace(const Tile& tile) const
{
    if (tile.level < 0 || tile.level >= kLevels || tile.column < 0 || tile.row < 0
        || !board::InGrid(CodeOf(tile)) || !board::FitsTheBoard(CodeOf(tile)))
        return Verdict::OffBoard;
    if (std::any_of(tiles_.begin(), tiles_.end(),
                    [&](const Tile& other) { return other.level == tile.level && Overlaps(tile, other); }))
        return Verdict::Occupied;
    if (Count() >= kMaxTiles)
        return Verdict::Full;
    return Rests(tile) ? Verdict::Allowed : Verdict::Floating;
}

LayoutDraft::Verdict LayoutDraft::CanRemove(const Tile& tile) const
{
    if (std::find(tiles_.begin(), tiles_.end(), tile) == tiles_.end())
        return Verdict::NoTile;
    const bool holds = std::any_of(tiles_.begin(), tiles_.end(), [&](const Tile& above) {
        return above.level == tile.level + 1 && Overlaps(tile, above);
    });
    return holds ? Verdict::HoldsOthers : Verdict::Allowed;
}

LayoutDraft::Verdict LayoutDraft::Place(const Tile& tile)
{
    const Verdict verdict = CanPlace(tile);
    if (verdict == Verdict::Allowed) {
        Remember();
        tiles_.push_back(tile);
    }
    return verdict;
}

LayoutDraft::Verdict LayoutDraft::Remove(const Tile& tile)
{
    const Verdict verdict = CanRemove(tile);
    if (verdict == Verdict::Allowed) {
        Remember();
        tiles_.erase(std::find(tiles_.begin(), tiles_.end(), tile));
    }
    return verdict;
}

bool LayoutDraft::TileAt(int level, int x, int y, Tile& found) const
{
    for (const Tile& tile : tiles_) {
        const BoardPoint origin = board::BltPosOf(CodeOf(tile));
        if (tile.level == level && x >= origin.x && x < origin.x + kFaceWidth && y >= origin.y
            && y < origin.y + kFaceHeight) {
            found = tile;
            return true;
        }
    }
    return false;
}

int LayoutDraft::MirrorLeftRight() { return Mirror(true); }
int LayoutDraft::MirrorTopBottom() { return Mirror(false); }

int LayoutDraft::Mirror(bool leftRight)
{
    // A tile covers two cells, so the image of column c is 34 - c on the 36
    // columns (20 - r on the 22 rows). Lower levels come first so that the
    // images above find their support.
    std::vector<Tile> sources = tiles_;
    std::sort(sources.begin(), sources.end(), FileOrder);
    int added = 0;
    for (Tile image : sources) {
        if (leftRight)
            image.column = board::kColumns - 2 - image.column;
        else
            image.row = board::kRows - 2 - image.row;
        if (CanPlace(image) == Verdict::Allowed) {
            tiles_.push_back(image);
            ++added;
        }
    }
    if (added > 0) {
        std::vector<Tile> after(tiles_.begin(), tiles_.end());
        tiles_.resize(tiles_.size() - static_cast<size_t>(added));
        Remember();
        tiles_ = std::move(after);
    }
    return added;
}

void LayoutDraft::Remember()
{
    undo_.push_back(tiles_);
    if (undo_.size() > kUndoDepth)
        undo_.erase(undo_.begin());
    redo_.clear();
}

bool LayoutDraft::Undo()
{
    if (undo_.empty())
        return false;
    redo_.push_back(std::move(tiles_));
    tiles_ = std::move(undo_.back());
    undo_.pop_back();
    return true;
}

bool LayoutDraft::Redo()
{
    if (redo_.empty())
        return false;
    undo_.push_back(std::move(tiles_));
    tiles_ = std::move(redo_.back());
    redo_.pop_back();
    return true;
}

std::vector<uint16_t> LayoutDraft::SortedCodes() const
{
    std::vector<Tile> ordered = tiles_;
    std::sort(ordered.begin(), ordered.end(), FileOrder);
    std::vector<uint16_t> codes;
    for (const Tile& tile : ordered)
        codes.push_back(CodeOf(tile));
    return codes;
}

bool LayoutDraft::PositionsKept() const
{
    if (loadedPositions_.size() != tiles_.size())
        return false;
    std::vector<uint16_t> loaded = loadedPositions_;
    std::vector<uint16_t> now = SortedCodes();
    std::sort(loaded.begin(), loaded.end());
    std::sort(now.begin(), now.end());
    return loaded == now;
}

void LayoutDraft::Fill(FileConv& file, const std::u16string& message) const
{
    const bool kept = PositionsKept() && setSize_ == loadedSetSize_;
    file.PutPositionArray(kept ? loadedPositions_ : SortedCodes());
    file.PutPaiArray(kept ? loadedCounts_ : AssignedClassCounts(Count(), setSize_));
    file.PutPlaytime(setSize_);
    file.PutMessage(message);
}

LayoutDraft::Checks LayoutDraft::Check() const
{
    Checks checks;
    checks.count = Count();
    checks.countFits = checks.count > 0 && checks.count % 2 == 0 && setSize_ >= 1 && checks.count % setSize_ == 0;
    checks.withinLimit = checks.count <= kMaxTiles;
    checks.offBoard = static_cast<int>(std::count_if(
        tiles_.begin(), tiles_.end(), [](const Tile& tile) { return !board::FitsTheBoard(CodeOf(tile)); }));
    if (checks.countFits && checks.withinLimit) {
        FileConv file;
        Fill(file, {});
        checks.fault = PaiStructure::LayoutFault(file.GetPositionArray(), file.GetPaiArray(), file.GetPlaytime());
    }
    return checks;
}
