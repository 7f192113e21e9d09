#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small XML reader for layout maps: elements, attributes (entity and
// character references decoded), comments, processing instructions, a
// DOCTYPE without internal subset, and CDATA (skipped with all text).
// Anything else, mismatched tags, nesting deeper than kMaxXmlDepth or more
// than kMaxXmlAttributes attributes on one element is an
// ImportError naming the line.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<XmlElement> children;
    int line = 0;

    // The attribute's value, or nullptr when the element has none of that name.
    const std::string* Attribute(std::string_view key) const;
};

constexpr int kMaxXmlDepth = 32;
// Far more than a layout element uses; it keeps the duplicate check short.
constexpr size_t kMaxXmlAttributes = 64;

XmlElement ParseXml(std::string_view text);
