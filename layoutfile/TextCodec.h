#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16 for layout messages, which the file stores as UTF-16.
// A lone surrogate becomes U+FFFD; malformed UTF-8 gives no result.
std::string Utf16ToUtf8(std::u16string_view text);
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
