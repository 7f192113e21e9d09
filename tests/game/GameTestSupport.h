#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

#include "DX7Sound.h"
#include "FileConv.h"
#include "NumberedError.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "RecordingSoundBackend.h"
#include "SoundArchive.h"

namespace gametest {

using Plays = std::vector<std::pair<int, int>>;

inline std::filesystem::path FreshFolder()
{
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const auto folder = std::filesystem::path(TOVRIK_TEST_TMP) / "game" / test->test_suite_name() / test->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string Classic() { return TOVRIK_SOURCE_DIR "/data/template/classic.tvm"; }

inline uint16_t Code(int layer, int column, int row) { return uint16_t(layer * 2048 + column * 32 + row); }

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes a layout whose classes 0, 1, 2 ... hold classSize tiles each.
inline std::string WriteLayout(const std::filesystem::path& folder, const std::vector<uint16_t>& positions,
                               int classSize, int setSize)
{
    std::vector<uint8_t> counts(FileConv::kCountClasses, 0);
    for (size_t k = 0; k * classSize < positions.size(); ++k)
        counts[k] = uint8_t(std::min<size_t>(classSize, positions.size() - k * classSize));
    FileConv layout;
    layout.PutPositionArray(positions);
    layout.PutPaiArray(counts);
    layout.PutPlaytime(setSize);
    layout.PutMessage(u"test");
    const std::string path = (folder / ("layout" + std::to_string(positions.size()) + ".tvm")).string();
    layout.SaveFile(path);
    return path;
}

// The text of the NumberedError that action throws, or "accepted".
template <typename Action> std::string Refusal(Action action)
{
    try {
        action();
    } catch (const NumberedError& error) {
        return error.what();
    }
    return "accepted";
}

// A sound archive of distinct little sounds (8-bit mono, eight samples each);
// every player made while the rig lives records its plays.
class SoundRig {
public:
    explicit SoundRig(const std::filesystem::path& folder, int sounds = PaiCtrl::SOUND_EFFECTS)
        : path((folder / "sound.dat").string())
    {
        SoundArchive archive;
        archive.BufferInitialize(sounds);
        for (int i = 0; i < sounds; ++i) {
            const std::string wave = std::string("RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x22\x56\0\0\x22\x56\0\0\1\0\x8\0"
                                                 "data\x8\0\0\0", 44) + std::string(8, char('a' + i));
            waves.emplace_back(wave.begin(), wave.end());
            WriteBytes(folder / "effect.wav", wave);
            archive.SoundRead(i, (folder / "effect.wav").string());
        }
        archive.SoundCompress(path);
        DX7Sound::SetBackendFactory([log = log] { return std::make_unique<RecordingSoundBackend>(log); });
    }
    ~SoundRig() { DX7Sound::SetBackendFactory(nullptr); }

    // The effects played since the last call, each with its bits per sample.
    Plays Played()
    {
        Plays played;
        for (const SoundEvent& event : *log)
            if (event.kind == SoundEvent::Play)
                played.emplace_back(std::find(waves.begin(), waves.end(), event.buffer->bytes) - waves.begin(),
                                    event.buffer->format.bitsPerSample);
        log->clear();
        return played;
    }

    const std::string path;

private:
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
    std::vector<std::vector<uint8_t>> waves;
};

// Everything a refused load or a failed deal must leave alone.
struct ControllerState {
    std::string board;
    std::vector<int32_t> history, selection;
    int32_t removed, lastAction, focus;
    bool autoHint, active;

    static ControllerState Of(const PaiCtrl& ctrl)
    {
        std::ostringstream board;
        ctrl.Board().SaveData(board);
        return {board.str(),       ctrl.History(), ctrl.Selection(), ctrl.RemovedCount(),
                ctrl.LastAction(), ctrl.FocusId(), ctrl.AutoHint(),  ctrl.GameActive()};
    }
    bool operator==(const ControllerState&) const = default;
};

// Clicks the tiles of answer sets first .. first + sets - 1; returns every event.
inline std::vector<int32_t> PlaySets(PaiCtrl& ctrl, const std::vector<int32_t>& answer, int first, int sets)
{
    const int once = ctrl.Board().Once();
    std::vector<int32_t> events;
    for (int k = first * once; k < (first + sets) * once; ++k)
        events.push_back(ctrl.ClickPai(answer[k]));
    return events;
}

} // namespace gametest
