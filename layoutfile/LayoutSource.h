#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FileConv;

// The readable text form of a layout that layout authors write: message,
// set size, tile counts, and one character grid per layer in half-tile cells.
struct LayoutSource {
    static constexpr int kGridColumns = 36;
    static constexpr int kGridRows = 22;
    static constexpr int kGridLayers = 8;

    std::u16string message;
    int32_t setSize = 0;
    std::vector<uint8_t> counts = std::vector<uint8_t>(41, 0);
    // Position codes in slot order: layer, then row, then column.
    std::vector<uint16_t> positions;

    // Parses a source text; a NumberedError(InvalidArgument) names the line at fault.
    static LayoutSource Parse(const std::string& text);
    // The canonical text; a NumberedError when a position or the message has no text form.
    std::string Format() const;

    static LayoutSource FromFile(const FileConv& file);
    void ToFile(FileConv& file) const;
};
