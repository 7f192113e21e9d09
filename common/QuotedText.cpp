#include "QuotedText.h"

#include <climits>
#include <cstdio>

namespace {

// The end of the longest prefix of at most maxBytes that does not split a UTF-8 character.
size_t CutPoint(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

std::string QuotedText(std::string_view text, size_t maxBytes)
{
    const size_t cut = CutPoint(text, maxBytes);
    std::string out = "\"";
    const std::string_view shown = text.substr(0, cut);
    for (size_t i = 0; i < shown.size(); ++i) {
        const char c = shown[i];
        const auto byte = static_cast<unsigned char>(c);
        const auto next = i + 1 < shown.size() ? static_cast<unsigned char>(shown[i + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080-U+009F: control characters too, to a terminal.
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            out += escape;
            ++i;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
    if (cut < text.size())
        out += "...";
    return out;
}

std::string QuotedPath(std::string_view path)
{
    return QuotedText(path, PATH_MAX);
}
