// tovrik-tool layout info|build|dump: inspect, build and dump layout files.
#include "ToolCommand.h"

#include "FileConv.h"
#include "ImportError.h"
#include "ImportWriter.h"
#include "LayoutImport.h"
#include "LayoutSource.h"
#include "NumberedError.h"
#include "PaiStructure.h"
#include "QuotedText.h"
#include "RegularFile.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace {

std::string StrippedMessage(const FileConv& file)
{
    std::u16string message = file.GetMessage();
    while (!message.empty() && message.back() == u'\0')
        message.pop_back();
    return Utf16ToUtf8(message);
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

template <typename Values>
std::string JsonArray(const Values& values)
{
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? "," : "") + std::to_string(values[i]);
    return out + "]";
}

void PrintJson(const FileConv& file, const std::string& fault)
{
    std::cout << "{\"positions\":" << JsonArray(file.GetPositionArray())
              << ",\"counts\":" << JsonArray(file.GetPaiArray())
              << ",\"setSize\":" << file.GetPlaytime()
              << ",\"message\":" << JsonString(StrippedMessage(file))
              << ",\"wellFormed\":" << (fault.empty() ? "true" : "false") << "}\n";
}

void PrintText(const FileConv& file, const std::string& fault)
{
    const std::vector<uint16_t> positions = file.GetPositionArray();
    const std::vector<uint8_t> counts = file.GetPaiArray();
    std::cout << "positions: " << positions.size() << '\n';
    for (size_t i = 0; i < positions.size(); ++i)
        std::cout << (i % 16 ? " " : "  ") << positions[i] << (i % 16 == 15 || i + 1 == positions.size() ? "\n" : "");
    std::cout << "counts:";
    for (size_t k = 0; k < counts.size(); ++k) {
        std::cout << ' ' << k << ':' << (k >= 38 ? counts[k] & 63 : counts[k]);
        if (k >= 38)
            std::cout << "/spread" << (counts[k] >> 6);
    }
    std::cout << "\nset size: " << file.GetPlaytime() << '\n';
    std::cout << "message: " << StrippedMessage(file) << '\n';
    std::cout << "well formed: " << (fault.empty() ? "yes" : "no (" + fault + ")") << '\n';
}

int Info(ToolArgs args)
{
    const bool json = args.TakeFlag("--json");
    const std::string path = args.TakeLayout("FILE");
    args.ExpectEnd();
    FileConv file;
    file.LoadFile(path);
    const std::string fault =
        PaiStructure::LayoutFault(file.GetPositionArray(), file.GetPaiArray(), file.GetPlaytime());
    if (json)
        PrintJson(file, fault);
    else
        PrintText(file, fault);
    return 0;
}

std::string ReadSource(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadRegularFile(path, FileConv::kMaxFileBytes, "the layout source");
    return std::string(bytes.begin(), bytes.end());
}

int Build(ToolArgs args)
{
    const std::string sourcePath = args.TakePositional("SOURCE");
    const std::string outPath = args.TakePositional("OUT.tvm");
    args.ExpectEnd();
    LayoutSource source;
    try {
        source = LayoutSource::Parse(ReadSource(sourcePath));
    } catch (const NumberedError& error) {
        throw std::runtime_error(sourcePath + ": " + error.what());
    }
    FileConv file;
    source.ToFile(file);
    file.SaveFile(outPath);
    return 0;
}

int Dump(ToolArgs args)
{
    const std::string path = args.TakeLayout("FILE");
    args.ExpectEnd();
    FileConv file;
    file.LoadFile(path);
    std::cout << LayoutSource::FromFile(file).Format();
    return 0;
}

std::string MapNames(const std::vector<ForeignLayout>& layouts)
{
    constexpr size_t kNamesShown = 10;
    std::string names;
    for (size_t i = 0; i < layouts.size() && i < kNamesShown; ++i)
        names += (i ? ", " : "") + QuotedText(layouts[i].name);
    return layouts.size() > kNamesShown ? names + " ..." : names;
}

std::vector<ForeignLayout> ChosenLayouts(std::vector<ForeignLayout> layouts, const std::string& mapName, bool toFolder)
{
    if (!mapName.empty()) {
        const auto found = std::find_if(layouts.begin(), layouts.end(),
                                        [&](const ForeignLayout& layout) { return layout.name == mapName; });
        if (found == layouts.end())
            throw std::runtime_error("no map named " + QuotedText(mapName) + " (the file holds: " + MapNames(layouts) + ")");
        return {*found};
    }
    if (layouts.size() > 1 && !toFolder)
        throw std::runtime_error("the file holds " + std::to_string(layouts.size()) + " maps (" + MapNames(layouts)
                                 + "); --out takes one of them, chosen with --map NAME");
    return layouts;
}

// Everything is converted before anything is written, so a refusal writes nothing.
std::vector<FileConv> ConvertedLayouts(const std::vector<ForeignLayout>& layouts, const std::string& path)
{
    std::vector<FileConv> files(layouts.size());
    for (size_t i = 0; i < layouts.size(); ++i) {
        try {
            ConvertToLayoutFile(layouts[i], files[i]);
        } catch (const ImportError& error) {
            throw std::runtime_error(QuotedPath(path) + (layouts.size() > 1 ? ", map " + QuotedText(layouts[i].name) : "")
                                     + ": " + error.what());
        }
    }
    return files;
}

int Import(ToolArgs args)
{
    const std::string mapName = args.TakeOption("--map");
    const std::string outPath = args.TakeOption("--out");
    const std::string folder = args.TakeOption("--dir");
    const bool replace = args.TakeFlag("--force");
    const bool quiet = args.TakeFlag("--quiet");
    const std::string path = args.TakePositional("FILE");
    args.ExpectEnd();
    if (!outPath.empty() && !folder.empty())
        throw std::invalid_argument("give --out or --dir, not both");

    std::vector<ForeignLayout> layouts;
    try {
        layouts = ChosenLayouts(ReadForeignLayouts(path), mapName, outPath.empty());
    } catch (const ImportError& error) {
        throw std::runtime_error(QuotedPath(path) + ": " + error.what());
    }
    for (const ForeignLayout& layout : layouts)
        for (const std::string& warning : quiet ? std::vector<std::string>{} : layout.warnings)
            std::cerr << QuotedPath(path) << ": warning: " << warning << '\n';
    const std::vector<FileConv> files = ConvertedLayouts(layouts, path);
    // Without a destination the layouts go where the game lists them, beside the shipped ones but never over them.
    const bool ownFolder = folder.empty() && outPath.empty();
    const std::filesystem::path out(outPath);
    const ImportWriter writer(ownFolder ? UserLayoutFolder() : !folder.empty() ? folder
                                  : out.has_parent_path() ? out.parent_path().string() : ".",
                              replace);
    const std::vector<std::string> names = outPath.empty()
        ? writer.FileNames(layouts, path, ownFolder ? ShippedLayoutFolder() : "")
        : std::vector<std::string>{out.filename().string()};
    const std::vector<std::string> written = writer.Write(files, names);
    for (size_t i = 0; i < files.size(); ++i)
        std::cout << written[i] << ": " << files[i].GetPositionArray().size() << " tiles\n";
    return 0;
}

const ToolCommand layoutCommand("layout",
                                "layout info FILE [--json] | layout build SOURCE OUT.tvm | layout dump FILE\n"
                                "  tovrik-tool layout import FILE [--map NAME] [--out PATH | --dir DIR] [--force] [--quiet]",
                                [](const std::vector<std::string>& raw) {
                                    ToolArgs args(raw);
                                    const std::string action = args.TakePositional("info, build, dump or import");
                                    if (action == "info")
                                        return Info(std::move(args));
                                    if (action == "build")
                                        return Build(std::move(args));
                                    if (action == "dump")
                                        return Dump(std::move(args));
                                    if (action == "import")
                                        return Import(std::move(args));
                                    throw std::invalid_argument("unknown action '" + action + "'");
                                });

} // namespace
