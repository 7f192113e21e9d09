#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads and writes layout files (.tvm): one text line that encodes a byte
// block of positions, tile counts, set size and message in a 64-character
// alphabet. Errors are NumberedError: SubscriptOutOfRange for a short or
// malformed line, Overflow for foreign characters or oversized values, and
// the file system's own errors.
class FileConv {
public:
    static constexpr int kCountClasses = 41;
    static constexpr int kMaxPositions = 512;
    // Readers refuse larger files and longer messages before taking them in.
    static constexpr uint64_t kMaxFileBytes = 1024 * 1024;
    static constexpr size_t kMaxMessageChars = 4096;

    // Reads the first line of path (ended by CR LF, LF or CR) and decodes it into the members.
    // Anything but a regular file, a file over kMaxFileBytes and a message over
    // kMaxMessageChars characters are refused. On failure the members are left empty.
    void LoadFile(const std::string& path);
    // The same decoding from a line already in memory (without its line end).
    void LoadText(const std::string& line);

    std::vector<uint16_t> GetPositionArray() const { return positions_; }
    std::vector<uint8_t> GetPaiArray() const { return counts_; }
    // The message bytes as UTF-16 text, the writer's zero padding included.
    std::u16string GetMessage() const;
    int32_t GetPlaytime() const { return setSize_; }

    // Encodes the members and writes the line with CR LF, replacing path.
    void SaveFile(const std::string& path) const;
    // The line SaveFile writes, without its line end.
    std::string SaveText() const;

    void PutPositionArray(const std::vector<uint16_t>& positions) { positions_ = positions; }
    void PutPaiArray(const std::vector<uint8_t>& counts) { counts_ = counts; }
    void PutMessage(const std::u16string& message);
    // Above 255 (or below 0) is an Overflow error.
    void PutPlaytime(int32_t setSize);

private:
    // The line's length is a multiple of 4, the block's size a multiple of 3.
    static std::vector<uint8_t> DecodeText(const std::string& line);
    static std::string EncodeText(const std::vector<uint8_t>& block);
    void Clear();

    std::vector<uint16_t> positions_;
    std::vector<uint8_t> counts_;
    uint8_t setSize_ = 0;
    std::vector<uint8_t> message_;
};
