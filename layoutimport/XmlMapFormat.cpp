// The XML map format: <mahjongg> holds <map name=...> elements; a map holds
// <layer z=...> elements and these tile elements, in a layer or directly:
// <tile x y>, <row y left right>, <column x top bottom>, <block left right top bottom>.
// Coordinates are whole tiles with halves allowed; rows and columns step by one tile.
#include "ImportError.h"
#include "LayoutImport.h"
#include "QuotedText.h"
#include "XmlReader.h"

#include <algorithm>
#include <charconv>

namespace {

// Far beyond any board, small enough that no arithmetic on it can overflow.
constexpr int kMaxCoordinate = 4096;

class MapReader {
public:
    explicit MapReader(ForeignLayout& layout) : layout_(layout) {}

    void ReadMap(const XmlElement& map)
    {
        int layerIndex = 0;
        for (const XmlElement& child : map.children) {
            if (child.name == "layer") {
                const int z = child.Attribute("z") ? Level(child, "z") : layerIndex;
                for (const XmlElement& item : child.children)
                    ReadItem(item, z);
                ++layerIndex;
            } else {
                ReadItem(child, 0);
            }
        }
    }

private:
    [[noreturn]] static void Fail(const XmlElement& element, const std::string& what)
    {
        throw ImportError("XML line " + std::to_string(element.line) + ": <" + element.name + "> " + what);
    }

    static const std::string& Required(const XmlElement& element, const char* key)
    {
        const std::string* value = element.Attribute(key);
        if (!value)
            Fail(element, std::string("lacks the attribute ") + key);
        return *value;
    }

    // A coordinate in half tiles: a whole number of tiles, or one and a half.
    static int HalfTiles(const XmlElement& element, const char* key)
    {
        const std::string& text = Required(element, key);
        const char* first = text.data();
        const char* last = text.data() + text.size();
        const bool negative = first != last && *first == '-';
        int whole = 0;
        const auto [end, error] = std::from_chars(first + negative, last, whole);
        int half = 0;
        const char* rest = end;
        if (error == std::errc() && rest != last && *rest == '.') {
            ++rest;
            if (rest == last)
                Fail(element, std::string(key) + " ends in a point");
            half = *rest == '5' ? 1 : *rest == '0' ? 0 : -1;
            for (++rest; half >= 0 && rest != last; ++rest)
                if (*rest != '0')
                    half = -1;
        }
        if (error != std::errc() || half < 0 || rest != last || whole < 0 || whole > kMaxCoordinate)
            Fail(element, std::string(key) + "=" + QuotedText(text) + " is not a coordinate in whole or half tiles from -"
                              + std::to_string(kMaxCoordinate) + " to " + std::to_string(kMaxCoordinate));
        return (negative ? -1 : 1) * (2 * whole + half);
    }

    static int Level(const XmlElement& element, const char* key)
    {
        const std::string& text = Required(element, key);
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < -kMaxCoordinate || value > kMaxCoordinate)
            Fail(element, std::string(key) + "=" + QuotedText(text) + " is not a level number");
        return value;
    }

    // The half-tile coordinates from low to high in steps of one tile.
    static std::pair<int, int> Span(const XmlElement& element, const char* lowKey, const char* highKey)
    {
        const int low = HalfTiles(element, lowKey);
        const int high = HalfTiles(element, highKey);
        if (high < low)
            Fail(element, std::string("has ") + highKey + " before " + lowKey);
        return {low, high};
    }

    void ReadItem(const XmlElement& item, int layerZ)
    {
        const int z = item.Attribute("z") ? Level(item, "z") : layerZ;
        if (item.name == "tile") {
            Add(HalfTiles(item, "x"), HalfTiles(item, "y"), z);
        } else if (item.name == "row") {
            const int y = HalfTiles(item, "y");
            const auto [left, right] = Span(item, "left", "right");
            for (int x = left; x <= right && !Full(); x += 2)
                Add(x, y, z);
        } else if (item.name == "column") {
            const int x = HalfTiles(item, "x");
            const auto [top, bottom] = Span(item, "top", "bottom");
            for (int y = top; y <= bottom && !Full(); y += 2)
                Add(x, y, z);
        } else if (item.name == "block") {
            const auto [left, right] = Span(item, "left", "right");
            const auto [top, bottom] = Span(item, "top", "bottom");
            for (int y = top; y <= bottom && !Full(); y += 2)
                for (int x = left; x <= right && !Full(); x += 2)
                    Add(x, y, z);
        }
    }

    // One tile past the limit is kept so that the refusal can tell.
    bool Full() const { return layout_.tiles.size() > static_cast<size_t>(kMaxImportTiles); }

    void Add(int x, int y, int z)
    {
        if (!Full())
            layout_.tiles.push_back({x, y, z});
    }

    ForeignLayout& layout_;
};

} // namespace

bool LooksLikeXml(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
}

std::vector<ForeignLayout> ParseXmlMaps(std::string_view text)
{
    const XmlElement root = ParseXml(text);
    if (root.name != "mahjongg")
        throw ImportError("the XML root element is " + QuotedText(root.name) + ", not <mahjongg>");
    const auto maps = std::count_if(root.children.begin(), root.children.end(),
                                    [](const XmlElement& child) { return child.name == "map"; });
    if (maps > kMaxImportMaps)
        throw ImportError("the XML file holds " + std::to_string(maps) + " maps; one file may hold at most "
                          + std::to_string(kMaxImportMaps));
    std::vector<ForeignLayout> layouts;
    for (const XmlElement& map : root.children) {
        if (map.name != "map")
            continue;
        ForeignLayout layout;
        const std::string* name = map.Attribute("name");
        layout.name = name && !name->empty() ? *name : "map " + std::to_string(layouts.size() + 1);
        layout.fileStem = layout.name;
        MapReader(layout).ReadMap(map);
        layouts.push_back(std::move(layout));
    }
    if (layouts.empty())
        throw ImportError("the XML file holds no <map>");
    return layouts;
}
