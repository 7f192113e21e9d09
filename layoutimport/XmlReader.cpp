#include "XmlReader.h"

#include "ImportError.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
        || c == '.' || c == ':' || u >= 0x80;
}

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class XmlParser {
public:
    explicit XmlParser(std::string_view text) : text_(text) {}

    XmlElement Run()
    {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        while (pos_ < text_.size()) {
            if (text_[pos_] == '<')
                ParseMarkup();
            else
                SkipText();
        }
        if (!open_.empty())
            Fail("the element <" + open_.back().name + "> is not closed");
        if (!haveRoot_)
            Fail("there is no root element");
        return std::move(root_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw ImportError("XML line " + std::to_string(CurrentLine()) + ": " + what);
    }

    // Counts line ends only past the last counted place, since the reader never goes back.
    int CurrentLine() const
    {
        const size_t end = std::min(pos_, text_.size());
        if (end > counted_) {
            line_ += static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                                 text_.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
            counted_ = end;
        }
        return line_;
    }

    bool StartsWith(std::string_view prefix) const { return text_.substr(pos_, prefix.size()) == prefix; }

    void SkipPast(std::string_view terminator, const std::string& what)
    {
        const size_t end = text_.find(terminator, pos_);
        if (end == std::string_view::npos)
            Fail(what + " is not closed");
        pos_ = end + terminator.size();
    }

    void SkipSpace()
    {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
    }

    void Expect(char c, const std::string& what)
    {
        if (pos_ >= text_.size() || text_[pos_] != c)
            Fail("expected " + what);
        ++pos_;
    }

    void SkipText()
    {
        const size_t end = text_.find('<', pos_);
        const std::string_view text = text_.substr(pos_, end - pos_);
        if (open_.empty() && !std::all_of(text.begin(), text.end(), IsSpace))
            Fail("text outside the root element");
        pos_ = end == std::string_view::npos ? text_.size() : end;
    }

    void ParseMarkup()
    {
        if (StartsWith("<?"))
            SkipPast("?>", "a processing instruction");
        else if (StartsWith("<!--"))
            SkipPast("-->", "a comment");
        else if (StartsWith("<![CDATA[")) {
            if (open_.empty())
                Fail("CDATA outside the root element");
            SkipPast("]]>", "a CDATA section");
        } else if (StartsWith("<!DOCTYPE"))
            SkipDoctype();
        else if (StartsWith("</"))
            ParseEndTag();
        else
            ParseStartTag();
    }

    void SkipDoctype()
    {
        if (haveRoot_ || !open_.empty())
            Fail("a DOCTYPE after the root element");
        const size_t end = text_.find('>', pos_);
        const size_t subset = text_.find('[', pos_);
        if (end == std::string_view::npos)
            Fail("the DOCTYPE is not closed");
        if (subset < end)
            Fail("a DOCTYPE with declarations is not supported");
        pos_ = end + 1;
    }

    std::string ParseName(const std::string& what)
    {
        const size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_]))
            ++pos_;
        if (pos_ == start)
            Fail("expected " + what);
        return std::string(text_.substr(start, pos_ - start));
    }

    void ParseEndTag()
    {
        pos_ += 2;
        const std::string name = ParseName("an element name");
        SkipSpace();
        Expect('>', "'>'");
        if (open_.empty() || open_.back().name != name)
            Fail("</" + name + "> does not close " + (open_.empty() ? "any element" : "<" + open_.back().name + ">"));
        Close();
    }

    void ParseStartTag()
    {
        if (haveRoot_ && open_.empty())
            Fail("a second root element");
        if (open_.size() >= kMaxXmlDepth)
            Fail("elements nested deeper than " + std::to_string(kMaxXmlDepth));
        ++pos_;
        XmlElement element;
        element.line = CurrentLine();
        element.name = ParseName("an element name");
        for (;;) {
            const size_t before = pos_;
            SkipSpace();
            if (StartsWith("/>")) {
                pos_ += 2;
                open_.push_back(std::move(element));
                Close();
                return;
            }
            if (StartsWith(">")) {
                ++pos_;
                open_.push_back(std::move(element));
                return;
            }
            if (pos_ == before)
                Fail("expected a space, '>' or '/>' in <" + element.name + ">");
            ParseAttribute(element);
        }
    }

    void ParseAttribute(XmlElement& element)
    {
        if (element.attributes.size() >= kMaxXmlAttributes)
            Fail("more than " + std::to_string(kMaxXmlAttributes) + " attributes in <" + element.name + ">");
        std::string key = ParseName("an attribute name");
        SkipSpace();
        Expect('=', "'=' after " + key);
        SkipSpace();
        if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
            Fail("the value of " + key + " is not quoted");
        const char quote = text_[pos_++];
        const size_t end = text_.find(quote, pos_);
        if (end == std::string_view::npos)
            Fail("the value of " + key + " is not closed");
        std::string value = DecodeValue(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
        if (element.Attribute(key))
            Fail("the attribute " + key + " appears twice");
        element.attributes.emplace_back(std::move(key), std::move(value));
    }

    std::string DecodeValue(std::string_view raw) const
    {
        std::string value;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<')
                Fail("'<' in an attribute value");
            if (raw[i] != '&') {
                value += raw[i];
                continue;
            }
            const size_t semicolon = raw.find(';', i);
            if (semicolon == std::string_view::npos || semicolon - i > 10)
                Fail("an unfinished '&' reference");
            AppendReference(value, raw.substr(i + 1, semicolon - i - 1));
            i = semicolon;
        }
        return value;
    }

    void AppendReference(std::string& value, std::string_view name) const
    {
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [entity, c] : kNamed) {
            if (name == entity) {
                value += c;
                return;
            }
        }
        const bool hex = name.substr(0, 2) == "#x";
        if (name.size() < 2 || name[0] != '#' || (hex && name.size() < 3))
            Fail("an unknown reference &" + std::string(name) + ";");
        uint32_t code = 0;
        for (const char c : name.substr(hex ? 2 : 1)) {
            const int digit = c >= '0' && c <= '9' ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
            if (digit < 0)
                Fail("a malformed character reference &" + std::string(name) + ";");
            code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        }
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            Fail("a character reference outside Unicode");
        AppendUtf8(value, code);
    }

    void Close()
    {
        XmlElement done = std::move(open_.back());
        open_.pop_back();
        if (open_.empty()) {
            root_ = std::move(done);
            haveRoot_ = true;
        } else {
            open_.back().children.push_back(std::move(done));
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
    std::vector<XmlElement> open_;
    XmlElement root_;
    bool haveRoot_ = false;
    mutable size_t counted_ = 0;
    mutable int line_ = 1;
};

} // namespace

const std::string* XmlElement::Attribute(std::string_view key) const
{
    for (const auto& [name, value] : attributes)
        if (name == key)
            return &value;
    return nullptr;
}

XmlElement ParseXml(std::string_view text) { return XmlParser(text).Run(); }
