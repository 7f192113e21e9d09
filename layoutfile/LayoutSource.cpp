#include "LayoutSource.h"

#include "FileConv.h"
#include "NumberedError.h"
#include "TextCodec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <sstream>

namespace {

using Grid = std::vector<std::string>;

constexpr int kPlainClasses = 38;
constexpr int kTopClass = FileConv::kCountClasses - 1;

[[noreturn]] void Fail(int lineNumber, const std::string& what)
{
    throw NumberedError(NumberedError::InvalidArgument, "line " + std::to_string(lineNumber) + ": " + what);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::optional<int> ParseNumber(const std::string& word, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

int Number(const std::string& word, int low, int high, const std::string& what, int lineNumber)
{
    const std::optional<int> value = ParseNumber(word, low, high);
    if (!value)
        Fail(lineNumber, what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high)
                             + ", not '" + word + "'");
    return *value;
}

class SourceParser {
public:
    explicit SourceParser(const std::string& text) : lines_(SplitLines(text)) {}

    LayoutSource Run()
    {
        while (next_ < lines_.size()) {
            const int lineNumber = static_cast<int>(++next_);
            const std::string& line = lines_[next_ - 1];
            const std::vector<std::string> words = SplitWords(line);
            if (words.empty() || line.front() == ';')
                continue;
            ParseLine(line, words, lineNumber);
        }
        return Finish();
    }

private:
    void ParseLine(const std::string& line, const std::vector<std::string>& words, int lineNumber)
    {
        const std::string& keyword = words.front();
        if (keyword == "message")
            ParseMessage(line, lineNumber);
        else if (keyword == "setsize")
            ParseSetSize(words, lineNumber);
        else if (keyword == "count")
            ParseCount(words, lineNumber);
        else if (keyword == "layer")
            ParseLayer(words, lineNumber);
        else
            Fail(lineNumber, "unknown keyword '" + keyword + "'");
    }

    void ParseMessage(const std::string& line, int lineNumber)
    {
        if (line != "message" && line.rfind("message ", 0) != 0)
            Fail(lineNumber, "expected 'message TEXT'");
        const std::optional<std::u16string> message = Utf8ToUtf16(line.size() > 8 ? line.substr(8) : std::string());
        if (!message)
            Fail(lineNumber, "the message is not valid UTF-8");
        // A line end or NUL inside a line would not survive being written back as text.
        if (message->find(u'\r') != std::u16string::npos)
            Fail(lineNumber, "the message holds a lone CR");
        if (message->find(u'\n') != std::u16string::npos)
            Fail(lineNumber, "the message holds a lone LF");
        if (message->find(u'\0') != std::u16string::npos)
            Fail(lineNumber, "the message holds a NUL character");
        // Each further message line is a line break: the caption beside the board is narrow.
        if (haveMessage_)
            source_.message += u"\r\n";
        source_.message += *message;
        haveMessage_ = true;
        if (source_.message.size() > FileConv::kMaxMessageChars)
            Fail(lineNumber, "the message is longer than " + std::to_string(FileConv::kMaxMessageChars)
                                 + " characters");
    }

    void ParseSetSize(const std::vector<std::string>& words, int lineNumber)
    {
        if (haveSetSize_)
            Fail(lineNumber, "a second setsize");
        if (words.size() != 2)
            Fail(lineNumber, "expected 'setsize N'");
        source_.setSize = Number(words[1], 1, 255, "the set size", lineNumber);
        haveSetSize_ = true;
    }

    void ParseCount(const std::vector<std::string>& words, int lineNumber)
    {
        if (words.size() != 3 && !(words.size() == 5 && words[3] == "spread"))
            Fail(lineNumber, "expected 'count K N', 'count A-B N' or 'count K N spread M'");
        const auto [first, last] = ClassRange(words[1], lineNumber);
        const bool spread = words.size() == 5;
        if (spread && (first != last || first < kPlainClasses))
            Fail(lineNumber, "only classes 38, 39 and 40 take a spread mode, one class a line");
        if (!spread && last >= kPlainClasses)
            Fail(lineNumber, "classes 38, 39 and 40 need 'spread M'");
        const int tiles = Number(words[2], 0, spread ? 63 : 255, "the tile count", lineNumber);
        const int mode = spread ? Number(words[4], 0, 3, "the spread mode", lineNumber) : 0;
        for (int k = first; k <= last; ++k) {
            if (named_[k])
                Fail(lineNumber, "class " + std::to_string(k) + " is counted twice");
            named_[k] = true;
            source_.counts[k] = static_cast<uint8_t>(mode << 6 | tiles);
        }
    }

    std::pair<int, int> ClassRange(const std::string& word, int lineNumber)
    {
        const size_t dash = word.find('-');
        if (dash == std::string::npos) {
            const int k = Number(word, 0, kTopClass, "the class", lineNumber);
            return {k, k};
        }
        const int first = Number(word.substr(0, dash), 0, kPlainClasses - 1, "the first class", lineNumber);
        const int last = Number(word.substr(dash + 1), 0, kPlainClasses - 1, "the last class", lineNumber);
        if (last < first)
            Fail(lineNumber, "the class range " + word + " runs backwards");
        return {first, last};
    }

    void ParseLayer(const std::vector<std::string>& words, int lineNumber)
    {
        if (words.size() != 2)
            Fail(lineNumber, "expected 'layer L'");
        const int layer = Number(words[1], 0, LayoutSource::kGridLayers - 1, "the layer", lineNumber);
        if (layer <= lastLayer_)
            Fail(lineNumber, "layers must be listed once each, in ascending order");
        lastLayer_ = layer;
        for (int row = 0; row < LayoutSource::kGridRows; ++row)
            ParseGridLine(layer, row);
    }

    void ParseGridLine(int layer, int row)
    {
        const int lineNumber = static_cast<int>(++next_);
        if (next_ > lines_.size())
            Fail(lineNumber - 1, "layer " + std::to_string(layer) + " ends after " + std::to_string(row)
                                     + " of its 22 grid lines");
        const std::string& line = lines_[next_ - 1];
        if (line.size() != LayoutSource::kGridColumns)
            Fail(lineNumber, "a grid line must be 36 characters long, not " + std::to_string(line.size()));
        for (int column = 0; column < LayoutSource::kGridColumns; ++column) {
            if (line[column] == '#') {
                if (source_.positions.size() == FileConv::kMaxPositions)
                    Fail(lineNumber, "more than 512 tiles");
                source_.positions.push_back(static_cast<uint16_t>(layer * 2048 + column * 32 + row));
            } else if (line[column] != '.') {
                Fail(lineNumber, "a grid line holds only '#' and '.', not '" + std::string(1, line[column]) + "'");
            }
        }
    }

    LayoutSource Finish()
    {
        const int end = static_cast<int>(lines_.size());
        if (!haveMessage_)
            Fail(end, "the source has no message line");
        if (!haveSetSize_)
            Fail(end, "the source has no setsize line");
        const size_t tiles = source_.positions.size();
        if (tiles < 2 || tiles % 2 != 0)
            Fail(end, "the layout needs an even number of tiles from 2 to 512, not " + std::to_string(tiles));
        return source_;
    }

    std::vector<std::string> lines_;
    size_t next_ = 0;
    LayoutSource source_;
    std::array<bool, FileConv::kCountClasses> named_{};
    bool haveMessage_ = false;
    bool haveSetSize_ = false;
    int lastLayer_ = -1;
};

std::vector<Grid> LayerGrids(const std::vector<uint16_t>& positions)
{
    std::vector<Grid> grids(LayoutSource::kGridLayers,
                            Grid(LayoutSource::kGridRows, std::string(LayoutSource::kGridColumns, '.')));
    for (const uint16_t code : positions) {
        const int layer = code / 2048, column = code / 32 % 64, row = code % 32;
        if (layer >= LayoutSource::kGridLayers || column >= LayoutSource::kGridColumns
            || row >= LayoutSource::kGridRows)
            throw NumberedError(NumberedError::InvalidArgument,
                                "position " + std::to_string(code) + " lies outside the 36 x 22 x 8 grid");
        char& cell = grids[layer][row][column];
        if (cell == '#')
            throw NumberedError(NumberedError::InvalidArgument,
                                "position " + std::to_string(code) + " appears twice");
        cell = '#';
    }
    return grids;
}

void FormatCounts(std::ostream& out, const std::vector<uint8_t>& counts)
{
    for (int first = 0; first < kPlainClasses;) {
        int last = first;
        while (last + 1 < kPlainClasses && counts[last + 1] == counts[first])
            ++last;
        if (counts[first] != 0) {
            out << "count " << first;
            if (last > first)
                out << '-' << last;
            out << ' ' << int{counts[first]} << '\n';
        }
        first = last + 1;
    }
    for (int k = kPlainClasses; k <= kTopClass; ++k) {
        if (counts[k] != 0)
            out << "count " << k << ' ' << (counts[k] & 63) << " spread " << (counts[k] >> 6) << '\n';
    }
}

// The message's lines, split at CR LF; a lone CR or LF has no text form.
std::vector<std::u16string> SplitAtLineBreaks(const std::u16string& message)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end; (end = message.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        lines.push_back(message.substr(start, end - start));
    lines.push_back(message.substr(start));
    for (const std::u16string& line : lines) {
        if (line.find_first_of(u"\r\n") != std::u16string::npos)
            throw NumberedError(NumberedError::InvalidArgument, "the message holds a lone CR or LF");
    }
    return lines;
}

} // namespace

LayoutSource LayoutSource::Parse(const std::string& text) { return SourceParser(text).Run(); }

std::string LayoutSource::Format() const
{
    std::u16string shown = message;
    while (!shown.empty() && shown.back() == u'\0')
        shown.pop_back();
    const std::vector<std::u16string> messageLines = SplitAtLineBreaks(shown);
    const std::vector<Grid> grids = LayerGrids(positions);

    std::ostringstream out;
    for (const std::u16string& messageLine : messageLines)
        out << "message " << Utf16ToUtf8(messageLine) << '\n';
    out << "setsize " << setSize << '\n';
    FormatCounts(out, counts);
    for (int layer = 0; layer < kGridLayers; ++layer) {
        const Grid& grid = grids[layer];
        if (std::none_of(grid.begin(), grid.end(), [](const std::string& row) { return row.find('#') != std::string::npos; }))
            continue;
        out << "layer " << layer << '\n';
        for (const std::string& row : grid)
            out << row << '\n';
    }
    return out.str();
}

LayoutSource LayoutSource::FromFile(const FileConv& file)
{
    LayoutSource source;
    source.message = file.GetMessage();
    source.setSize = file.GetPlaytime();
    source.counts = file.GetPaiArray();
    source.positions = file.GetPositionArray();
    return source;
}

void LayoutSource::ToFile(FileConv& file) const
{
    file.PutMessage(message);
    file.PutPlaytime(setSize);
    file.PutPaiArray(counts);
    file.PutPositionArray(positions);
}
