#include "FileConv.h"

#include "AtomicFile.h"
#include "NumberedError.h"
#include "RegularFile.h"

#include <algorithm>
#include <array>

namespace {

constexpr char kAlphabet[] = "QWERTYUIOPASDFGHJKLZXCVBNMqwertyuipasdfghjklzxcvbnm13579864!#$-_";
constexpr int kNotInAlphabet = -1;
// Header byte, 41 counts and the set size around the positions.
constexpr size_t kFixedBytes = 1 + FileConv::kCountClasses + 1;

const std::array<int, 256>& AlphabetValues()
{
    static const std::array<int, 256> values = [] {
        std::array<int, 256> table;
        table.fill(kNotInAlphabet);
        for (int i = 0; i < 64; ++i)
            table[static_cast<unsigned char>(kAlphabet[i])] = i;
        return table;
    }();
    return values;
}

// Characters of a message block, without the writer's padding of up to two zero bytes.
size_t MessageLength(const uint8_t* bytes, size_t size)
{
    for (int padding = 0; padding < 2 && size > 0 && bytes[size - 1] == 0; ++padding)
        --size;
    return (size + 1) / 2;
}

[[noreturn]] void ThrowShort(const std::string& detail)
{
    throw NumberedError(NumberedError::SubscriptOutOfRange, "layout data " + detail);
}

} // namespace

void FileConv::LoadFile(const std::string& path)
{
    Clear();
    const std::vector<uint8_t> bytes = ReadRegularFile(path, kMaxFileBytes, "the layout file");
    // Only the first line counts; a text line ends at CR as well as at LF.
    const auto lineEnd = std::find_if(bytes.begin(), bytes.end(), [](uint8_t c) { return c == '\r' || c == '\n'; });
    LoadText(std::string(bytes.begin(), lineEnd));
}

void FileConv::LoadText(const std::string& line)
{
    Clear();
    if (line.empty() || line.size() % 4 != 0)
        ThrowShort("line is empty or its length is not a multiple of 4");
    const std::vector<uint8_t> block = DecodeText(line);
    const size_t count = 2 * static_cast<size_t>(block[0]) + 2;
    // Bytes are read in order: a bad position met before the block runs out
    // is an overflow even when the block is also short.
    const auto byteAt = [&block](size_t at) {
        if (at >= block.size())
            ThrowShort("is shorter than its header announces");
        return block[at];
    };
    std::vector<uint16_t> positions(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t high = byteAt(1 + 2 * i);
        if (high >= 128)
            throw NumberedError(NumberedError::Overflow, "position code above 32767");
        positions[i] = static_cast<uint16_t>(high * 256 + byteAt(2 + 2 * i));
    }
    if (block.size() < kFixedBytes + 2 * count)
        ThrowShort("is shorter than its header announces");
    const auto countsBegin = block.begin() + static_cast<std::ptrdiff_t>(1 + 2 * count);
    const auto countsEnd = countsBegin + kCountClasses;
    const size_t messageBytes = static_cast<size_t>(block.end() - (countsEnd + 1));
    if (MessageLength(block.data() + (block.size() - messageBytes), messageBytes) > kMaxMessageChars)
        throw NumberedError(NumberedError::Overflow, "the layout's message is longer than "
                                                         + std::to_string(kMaxMessageChars) + " characters");
    positions_ = std::move(positions);
    counts_.assign(countsBegin, countsEnd);
    setSize_ = *countsEnd;
    message_.assign(countsEnd + 1, block.end());
}

std::u16string FileConv::GetMessage() const
{
    std::u16string text;
    for (size_t i = 0; i < message_.size(); i += 2) {
        const uint8_t high = i + 1 < message_.size() ? message_[i + 1] : 0;
        text.push_back(static_cast<char16_t>(message_[i] | high << 8));
    }
    return text;
}

void FileConv::SaveFile(const std::string& path) const
{
    WriteFileAtomically(path, SaveText() + "\r\n");
}

std::string FileConv::SaveText() const
{
    const size_t count = positions_.size();
    if (count < 2 || count > kMaxPositions || count % 2 != 0)
        throw NumberedError(NumberedError::InvalidArgument,
                            "a layout needs an even number of positions from 2 to 512, not "
                                + std::to_string(count));
    if (counts_.size() != kCountClasses)
        throw NumberedError(NumberedError::InvalidArgument,
                            "a layout needs 41 tile counts, not " + std::to_string(counts_.size()));

    const size_t used = kFixedBytes + 2 * count + message_.size();
    std::vector<uint8_t> block((used + 2) / 3 * 3, 0);
    block[0] = static_cast<uint8_t>(count / 2 - 1);
    for (size_t i = 0; i < count; ++i) {
        if (positions_[i] >= 32768)
            throw NumberedError(NumberedError::Overflow, "position code above 32767");
        block[1 + 2 * i] = static_cast<uint8_t>(positions_[i] >> 8);
        block[2 + 2 * i] = static_cast<uint8_t>(positions_[i] & 0xFF);
    }
    auto next = std::copy(counts_.begin(), counts_.end(), block.begin() + static_cast<std::ptrdiff_t>(1 + 2 * count));
    *next++ = setSize_;
    std::copy(message_.begin(), message_.end(), next);
    return EncodeText(block);
}

void FileConv::PutMessage(const std::u16string& message)
{
    message_.clear();
    for (const char16_t unit : message) {
        message_.push_back(static_cast<uint8_t>(unit & 0xFF));
        message_.push_back(static_cast<uint8_t>(unit >> 8));
    }
}

void FileConv::PutPlaytime(int32_t setSize)
{
    if (setSize < 0 || setSize > 255)
        throw NumberedError(NumberedError::Overflow, "set size " + std::to_string(setSize) + " does not fit a byte");
    setSize_ = static_cast<uint8_t>(setSize);
}

std::vector<uint8_t> FileConv::DecodeText(const std::string& line)
{
    const auto& values = AlphabetValues();
    std::vector<uint8_t> block;
    block.reserve(line.size() / 4 * 3);
    for (size_t i = 0; i < line.size(); i += 4) {
        std::array<int, 4> s{};
        for (size_t k = 0; k < 4; ++k) {
            s[k] = values[static_cast<unsigned char>(line[i + k])];
            if (s[k] == kNotInAlphabet)
                throw NumberedError(NumberedError::Overflow,
                                    "character at " + std::to_string(i + k + 1) + " is not in the layout alphabet");
        }
        block.push_back(static_cast<uint8_t>(s[0] << 2 | s[1] >> 4));
        block.push_back(static_cast<uint8_t>((s[1] & 15) << 4 | s[2] >> 2));
        block.push_back(static_cast<uint8_t>((s[2] & 3) << 6 | s[3]));
    }
    return block;
}

std::string FileConv::EncodeText(const std::vector<uint8_t>& block)
{
    std::string line;
    line.reserve(block.size() / 3 * 4);
    for (size_t i = 0; i < block.size(); i += 3) {
        const uint8_t b0 = block[i], b1 = block[i + 1], b2 = block[i + 2];
        line.push_back(kAlphabet[b0 >> 2]);
        line.push_back(kAlphabet[(b0 & 3) << 4 | b1 >> 4]);
        line.push_back(kAlphabet[(b1 & 15) << 2 | b2 >> 6]);
        line.push_back(kAlphabet[b2 & 63]);
    }
    return line;
}

void FileConv::Clear()
{
    positions_.clear();
    counts_.clear();
    setSize_ = 0;
    message_.clear();
}
