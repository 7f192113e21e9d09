#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DX7Sound.h"
#include "FileConv.h"
#include "MessageBox.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "RecordingSoundBackend.h"
#include "SoundArchive.h"

namespace gametest {

inline std::filesystem::path FreshFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(TOVRIK_TEST_TMP) / "game" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string ClassicLayout() { return std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm"; }

inline uint16_t Code(int layer, int column, int row)
{
    return static_cast<uint16_t>(layer * 2048 + column * 32 + row);
}

// Writes a layout file; counts lists (class, tiles) pairs.
inline std::string WriteLayout(const std::filesystem::path& folder, const std::string& name,
                               const std::vector<uint16_t>& positions,
                               const std::vector<std::pair<int, int>>& counts, int setSize)
{
    std::vector<uint8_t> bytes(FileConv::kCountClasses, 0);
    for (const auto& [tileClass, tiles] : counts)
        bytes[tileClass] = static_cast<uint8_t>(tiles);
    FileConv layout;
    layout.PutPositionArray(positions);
    layout.PutPaiArray(bytes);
    layout.PutPlaytime(setSize);
    layout.PutMessage(u"test");
    const std::string path = (folder / (name + ".tvm")).string();
    layout.SaveFile(path);
    return path;
}

// rows × columns tiles side by side on layer 0, rows two half-tiles apart,
// dealt from classes of setSize tiles each.
inline std::string WriteGridLayout(const std::filesystem::path& folder, const std::string& name, int rows,
                                   int columns, int setSize)
{
    std::vector<uint16_t> positions;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            positions.push_back(Code(0, 2 * column, 2 * row));
    std::vector<std::pair<int, int>> counts;
    for (int tileClass = 0; tileClass * setSize < rows * columns; ++tileClass)
        counts.emplace_back(tileClass, setSize);
    return WriteLayout(folder, name, positions, counts, setSize);
}

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

// Answers every message box with OK and keeps what it was asked to show.
class MessageRecorder {
public:
    MessageRecorder()
        : previous_(SetMessageHandler([this](const MessageRequest& request) {
              shown.push_back(request);
              return MessageResult::Ok;
          }))
    {
    }
    ~MessageRecorder() { SetMessageHandler(std::move(previous_)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> shown;

private:
    MessageHandler previous_;
};

// A sound archive of distinct little sounds and a recording back end for
// every player made while it lives; tells which effect each play was.
class SoundRig {
public:
    explicit SoundRig(const std::filesystem::path& folder, int sounds = PaiCtrl::SOUND_EFFECTS)
        : log_(std::make_shared<SoundLog>()), archivePath_((folder / "sound.dat").string())
    {
        SoundArchive archive;
        archive.BufferInitialize(sounds);
        for (int i = 0; i < sounds; ++i) {
            waves_.push_back(MakeWave(i));
            const std::filesystem::path wave = folder / ("effect" + std::to_string(i) + ".wav");
            std::ofstream(wave, std::ios::binary)
                .write(reinterpret_cast<const char*>(waves_.back().data()), std::streamsize(waves_.back().size()));
            archive.SoundRead(i, wave.string());
        }
        archive.SoundCompress(archivePath_);
        DX7Sound::SetBackendFactory([log = log_] { return std::make_unique<RecordingSoundBackend>(log); });
    }
    ~SoundRig() { DX7Sound::SetBackendFactory(nullptr); }
    SoundRig(const SoundRig&) = delete;
    SoundRig& operator=(const SoundRig&) = delete;

    const std::string& ArchivePath() const { return archivePath_; }

    // The effects played since the last call, by their index in the archive.
    std::vector<int> TakePlayed()
    {
        std::vector<int> played;
        for (const SoundEvent& event : *log_) {
            if (event.kind == SoundEvent::Play)
                played.push_back(EffectOf(*event.buffer));
        }
        log_->clear();
        return played;
    }

    // The bits per sample each effect was loaded with, from its last play.
    int BitsOf(int effect) const
    {
        for (const SoundEvent& event : *log_) {
            if (event.kind == SoundEvent::Play && EffectOf(*event.buffer) == effect)
                return event.buffer->format.bitsPerSample;
        }
        return 0;
    }

private:
    static std::vector<uint8_t> MakeWave(int pitch)
    {
        const std::string header = "RIFF----WAVEfmt ";
        std::vector<uint8_t> wave(header.begin(), header.end());
        const std::vector<uint8_t> rest = {16, 0, 0, 0, 1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0,
                                           'd', 'a', 't', 'a', 16, 0, 0, 0};
        wave.insert(wave.end(), rest.begin(), rest.end());
        for (int n = 0; n < 16; ++n)
            wave.push_back(static_cast<uint8_t>(pitch * 31 + n));
        const auto riffSize = static_cast<uint32_t>(wave.size() - 8);
        for (int k = 0; k < 4; ++k)
            wave[4 + k] = static_cast<uint8_t>(riffSize >> (8 * k));
        return wave;
    }

    int EffectOf(const SoundBuffer& buffer) const
    {
        for (size_t i = 0; i < waves_.size(); ++i) {
            if (waves_[i] == buffer.bytes)
                return static_cast<int>(i);
        }
        return -1;
    }

    std::shared_ptr<SoundLog> log_;
    std::string archivePath_;
    std::vector<std::vector<uint8_t>> waves_;
};

// Everything a load must leave alone when it refuses a file.
struct ControllerState {
    std::string board;
    std::vector<int32_t> history;
    std::vector<int32_t> selection;
    int32_t removedCount = 0;
    int32_t lastAction = 0;
    int32_t focusId = 0;
    int32_t tilesLeft = 0;
    bool autoHint = false;
    bool gameActive = false;

    static ControllerState Of(const PaiCtrl& ctrl)
    {
        std::ostringstream board;
        ctrl.Board().SaveData(board);
        return {board.str(),         ctrl.History(),     ctrl.Selection(), ctrl.RemovedCount(),
                ctrl.LastAction(),   ctrl.FocusId(),     ctrl.GetPaiCount(), ctrl.AutoHint(),
                ctrl.GameActive()};
    }
    bool operator==(const ControllerState&) const = default;
};

// Clicks the tiles of answer sets [first, first + sets) and returns the event
// of every click.
inline std::vector<int32_t> PlaySets(PaiCtrl& ctrl, const std::vector<int32_t>& answer, int first, int sets)
{
    std::vector<int32_t> events;
    const int once = ctrl.Board().Once();
    for (int k = first * once; k < (first + sets) * once; ++k)
        events.push_back(ctrl.ClickPai(answer[k]));
    return events;
}

} // namespace gametest
