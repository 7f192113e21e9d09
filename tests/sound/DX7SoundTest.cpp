#include "DX7Sound.h"

#include "RecordingSoundBackend.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Ready to load, as the game sets the player up.
void MakeReady(DX7Sound& sound, int bits = 8)
{
    sound.Initialize();
    sound.waveFormat_SamplesPerSec(22050);
    sound.waveFormat_Channels(1);
    sound.waveFormat_BitsPerSample(bits);
}

struct Player {
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
    DX7Sound sound{std::make_unique<RecordingSoundBackend>(log)};
};

// The log as text, one "kind slot" entry per call; plays say whether they loop.
std::string Calls(const SoundLog& log)
{
    std::string text;
    for (const SoundEvent& event : log) {
        const char* kinds[] = {"play ", "stop ", "release "};
        text += kinds[event.kind] + std::to_string(event.slot);
        text += event.kind != SoundEvent::Play ? "; " : event.looping ? " looped; " : "; ";
    }
    return text;
}

WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits)
{
    const auto blockAlign = static_cast<uint16_t>(channels * bits / 8);
    return {1, channels, rate, rate * blockAlign, blockAlign, bits, 0, 0};
}

} // namespace

TEST(DX7Sound, FreeNumbersCountUpFromInitializeUntilAllSlotsAreLoaded)
{
    Player player;
    EXPECT_EQ(player.sound.GetFreeNumber(), 0) << "before Initialize";
    player.sound.LoadFromBinary(1, Bytes(8, 1), 8);
    player.sound.SoundPlay(1);
    MakeReady(player.sound);
    for (int32_t expected = 1; expected <= 99; ++expected) {
        ASSERT_EQ(player.sound.GetFreeNumber(), expected) << "the load before Initialize is ignored";
        player.sound.LoadFromBinary(expected, Bytes(8, 0x80), 8);
    }
    EXPECT_EQ(player.sound.GetFreeNumber(), 0) << "after 99 loads";
    EXPECT_TRUE(player.log->empty());
}

TEST(DX7Sound, FormatPropertiesKeepOnlyAcceptedValues)
{
    Player player;
    DX7Sound& sound = player.sound;
    EXPECT_EQ(sound.waveFormat(), WaveFormat{}) << "all zero until set";
    MakeReady(sound, 16);
    EXPECT_EQ(sound.waveFormat(), Pcm(1, 22050, 16));
    EXPECT_EQ(sound.waveFormat().avgBytesPerSec, 44100u);
    sound.waveFormat_BitsPerSample(12);
    sound.waveFormat_Channels(3);
    sound.waveFormat_Channels(0);
    EXPECT_EQ(sound.waveFormat(), Pcm(1, 22050, 16)) << "refused values leave the format alone";
    sound.waveFormat_BitsPerSample(8);
    sound.waveFormat_Channels(2);
    sound.waveFormat_SamplesPerSec(44100);
    EXPECT_EQ(sound.waveFormat(), Pcm(2, 44100, 8));
}

TEST(DX7Sound, PlayStopAndLoopingReachTheBackEndWithSlotBytesAndFormat)
{
    Player player;
    MakeReady(player.sound, 16);
    const Bytes wave = MakeWave(16, 50, 3);
    player.sound.Looped(1, true);
    player.sound.LoadFromBinary(1, wave, static_cast<int32_t>(wave.size()));
    player.sound.waveFormat_BitsPerSample(8);
    player.sound.LoadFromBinary(2, wave, 20);
    player.sound.SoundPlay(2);
    player.sound.SoundPlay(1);
    player.sound.SoundStop(1);
    player.sound.Looped(1, true);
    player.sound.SoundPlay(1);
    player.sound.Looped(1, false);
    player.sound.SoundPlay(1);

    // Looping set before loading is lost.
    const SoundLog& log = *player.log;
    ASSERT_EQ(Calls(log), "play 2; play 1; stop 1; play 1 looped; play 1; ");
    EXPECT_EQ(log[0].buffer->bytes, Bytes(wave.begin(), wave.begin() + 20)) << "only count bytes";
    EXPECT_EQ(log[0].buffer->format, Pcm(1, 22050, 8));
    EXPECT_EQ(log[1].buffer->bytes, wave) << "the headers play along";
    EXPECT_EQ(log[1].buffer->format, Pcm(1, 22050, 16)) << "the format at the time of loading";
}

TEST(DX7Sound, SlotsOutOfRangeOrUnloadedDoNothing)
{
    Player player;
    MakeReady(player.sound);
    MessageRecorder recorder;
    for (int32_t slot : {0, 100, -1})
        player.sound.LoadFromBinary(slot, Bytes(8, 1), 8);
    for (int32_t slot : {0, 100, -1, 4}) {
        player.sound.SoundPlay(slot);
        player.sound.SoundStop(slot);
    }
    EXPECT_TRUE(player.log->empty());
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(player.sound.GetFreeNumber(), 1);
}

TEST(DX7Sound, LoadsFromFilesAndRefusedLoadsReportAndKeepTheSlotAsItWas)
{
    const auto folder = FreshFolder("refused");
    WriteFile(folder / "empty.wav", {});
    WriteFile(folder / "noise.wav", Bytes(100, 7));
    const Bytes wave = MakeWave(8, 30, 5);
    WriteFile(folder / "effect.wav", wave);
    const Bytes bytes(40, 3);
    Player player;
    player.sound.Initialize();
    MessageRecorder recorder;
    player.sound.LoadFromBinary(1, bytes, 40);  // no format set yet
    MakeReady(player.sound);
    for (int32_t badCount : {0, -4, 41})
        player.sound.LoadFromBinary(1, bytes, badCount);
    for (const char* file : {"empty.wav", "absent.wav", "noise.wav"})  // the empty one is skipped silently
        player.sound.LoadFromFile(1, (folder / file).string());

    ASSERT_EQ(recorder.shown.size(), 6u);
    for (size_t index = 0; index < recorder.shown.size(); ++index) {
        const bool fromFile = index >= 4;
        EXPECT_EQ(recorder.shown[index].text, fromFile ? "Debug: WaveFile not found." : "Debug: Invalidity waveFormat?");
        EXPECT_EQ(recorder.shown[index].title, fromFile ? "DX7Sound.LoadFromFile" : "DX7Sound.LoadFromBinary");
        EXPECT_EQ(recorder.shown[index].buttons, MessageButtons::OkCancel);
    }
    EXPECT_EQ(player.sound.GetFreeNumber(), 1) << "nothing was loaded";

    player.sound.LoadFromFile(4, (folder / "effect.wav").string());
    player.sound.LoadFromBinary(1, bytes, 40);
    player.sound.waveFormat_SamplesPerSec(0);
    player.sound.LoadFromBinary(1, Bytes(8, 9), 8);
    player.sound.SoundPlay(1);
    player.sound.SoundPlay(4);
    ASSERT_EQ(Calls(*player.log), "play 1; play 4; ");
    EXPECT_EQ((*player.log)[0].buffer->bytes, bytes) << "a refused load keeps the earlier sound";
    EXPECT_EQ((*player.log)[1].buffer->bytes, Bytes(wave.end() - 30, wave.end())) << "a file gives its samples";
}

TEST(DX7Sound, TheBackEndIsMadeOnlyWhenOpenedOrPlayedAndThenReleasesAndStopsEveryLoadedSlot)
{
    const auto log = std::make_shared<SoundLog>();
    int made = 0;
    DX7Sound::SetBackendFactory([log, &made] {
        ++made;
        return std::make_unique<RecordingSoundBackend>(log);
    });
    {
        DX7Sound sound;
        MakeReady(sound);
        sound.LoadFromBinary(2, Bytes(8, 1), 8);
        sound.SoundStop(2);
        EXPECT_EQ(made, 0) << "loading and stopping need no audio device";
        sound.OpenDevice();
        sound.OpenDevice();
        EXPECT_EQ(made, 1);
        sound.LoadFromBinary(2, Bytes(8, 2), 8);
        sound.LoadFromBinary(7, Bytes(8, 3), 8);
        EXPECT_EQ(Calls(*log), "release 2; ");
    }
    EXPECT_EQ(Calls(*log), "release 2; stop 2; stop 7; ");
    {
        DX7Sound played;
        MakeReady(played);
        played.LoadFromBinary(1, Bytes(4, 0), 4);
        played.SoundPlay(1);
        EXPECT_EQ(made, 2) << "the first sound played opens the device";
    }
    DX7Sound::SetBackendFactory({});
    log->clear();

    DX7Sound silent;  // no back end installed: loads and plays without sound
    MakeReady(silent);
    silent.LoadFromBinary(1, Bytes(4, 0), 4);
    silent.SoundPlay(1);
    EXPECT_EQ(silent.GetFreeNumber(), 2);
    EXPECT_TRUE(log->empty());
}
