#include "ToolCommand.h"

#include "AtomicFile.h"
#include "MessageBox.h"
#include "SoundArchive.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace {

// The archive reports to the player in message boxes; the tool turns the
// message into its own one-line error instead.
class CapturedMessages {
public:
    CapturedMessages()
        : previous(SetMessageHandler([this](const MessageRequest& request) {
              last = request.text;
              return MessageResult::Ok;
          }))
    {
    }
    ~CapturedMessages() { SetMessageHandler(previous); }

    std::string OneLine() const
    {
        std::string line = last;
        for (size_t at = line.find("\r\n"); at != std::string::npos; at = line.find("\r\n", at))
            line.replace(at, 2, ": ");
        return line;
    }

private:
    std::string last;
    MessageHandler previous;
};

int Pack(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        throw std::invalid_argument("usage: sound pack OUT.dat WAV...");
    const std::string& archivePath = args.front();
    const std::vector<std::string> wavePaths(args.begin() + 1, args.end());

    CapturedMessages messages;
    SoundArchive archive;
    archive.BufferInitialize(static_cast<int32_t>(wavePaths.size()));
    for (size_t index = 0; index < wavePaths.size(); ++index)
        archive.SoundRead(static_cast<int32_t>(index), wavePaths[index]);
    archive.SoundCompress(archivePath);
    std::cout << "packed " << wavePaths.size() << " sounds into " << archivePath << '\n';
    return 0;
}

void WriteWave(const std::filesystem::path& path, const std::vector<uint8_t>& image)
{
    WriteFileAtomically(path.string(), image);
}

int Unpack(ToolArgs args)
{
    const std::string archivePath = args.TakePositional("ARCHIVE");
    const std::filesystem::path folder = args.TakePositional("DIR");
    args.ExpectEnd();

    CapturedMessages messages;
    SoundArchive archive;
    const int32_t count = archive.SoundDeCompress(archivePath);
    if (count < 0)
        throw std::runtime_error(messages.OneLine());
    std::filesystem::create_directories(folder);
    for (int32_t index = 0; index < count; ++index) {
        std::vector<uint8_t> image;
        archive.GetBinaryData(index, image);
        WriteWave(folder / ("sound" + std::to_string(index) + ".wav"), image);
    }
    std::cout << "unpacked " << count << " sounds into " << folder.string() << '\n';
    return 0;
}

const ToolCommand soundCommand(
    "sound", "sound pack OUT.dat WAV... | sound unpack ARCHIVE DIR",
    [](const std::vector<std::string>& args) {
        const std::string action = args.empty() ? std::string() : args.front();
        const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
        if (action == "pack")
            return Pack(rest);
        if (action == "unpack")
            return Unpack(ToolArgs(rest));
        throw std::invalid_argument("expected pack or unpack");
    });

} // namespace
