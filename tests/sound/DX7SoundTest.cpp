#include "DX7Sound.h"

#include "RecordingSoundBackend.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Player {
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
    DX7Sound sound{std::make_unique<RecordingSoundBackend>(log)};

    // Ready to load, as the game sets the player up.
    Player& Ready(int bits = 8)
    {
        sound.Initialize();
        sound.waveFormat_SamplesPerSec(22050);
        sound.waveFormat_Channels(1);
        sound.waveFormat_BitsPerSample(bits);
        return *this;
    }
};

WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits)
{
    const auto blockAlign = static_cast<uint16_t>(channels * bits / 8);
    return {1, channels, rate, rate * blockAlign, blockAlign, bits, 0, 0};
}

} // namespace

TEST(DX7Sound, FreeNumbersCountUpUntilAllSlotsAreLoaded)
{
    Player player;
    EXPECT_EQ(player.sound.GetFreeNumber(), 0) << "before Initialize";
    player.Ready();
    const Bytes bytes(64, 0x80);
    for (int32_t expected = 1; expected <= 99; ++expected) {
        const int32_t slot = player.sound.GetFreeNumber();
        ASSERT_EQ(slot, expected);
        player.sound.LoadFromBinary(slot, bytes, 64);
    }
    EXPECT_EQ(player.sound.GetFreeNumber(), 0) << "after 99 loads";
}

TEST(DX7Sound, FormatPropertiesKeepOnlyAcceptedValues)
{
    DX7Sound sound{std::make_unique<RecordingSoundBackend>(std::make_shared<SoundLog>())};
    EXPECT_EQ(sound.waveFormat(), WaveFormat{}) << "all zero until set";

    sound.waveFormat_SamplesPerSec(22050);
    sound.waveFormat_Channels(1);
    sound.waveFormat_BitsPerSample(16);
    EXPECT_EQ(sound.waveFormat(), Pcm(1, 22050, 16));
    EXPECT_EQ(sound.waveFormat().blockAlign, 2);
    EXPECT_EQ(sound.waveFormat().avgBytesPerSec, 44100u);

    sound.waveFormat_BitsPerSample(12);
    sound.waveFormat_Channels(3);
    sound.waveFormat_Channels(0);
    EXPECT_EQ(sound.waveFormat(), Pcm(1, 22050, 16)) << "refused values leave the format alone";

    sound.waveFormat_BitsPerSample(8);
    EXPECT_EQ(sound.waveFormat().blockAlign, 1);
    EXPECT_EQ(sound.waveFormat().avgBytesPerSec, 22050u);

    sound.waveFormat_Channels(2);
    sound.waveFormat_SamplesPerSec(44100);
    EXPECT_EQ(sound.waveFormat(), Pcm(2, 44100, 8));
}

TEST(DX7Sound, PlayHandsTheLoadedBytesAndFormatToTheBackEnd)
{
    Player player;
    player.Ready(16);
    const Bytes wave = MakeWave(16, 50, 3);
    player.sound.LoadFromBinary(1, wave, static_cast<int32_t>(wave.size()));
    player.sound.waveFormat_BitsPerSample(8);
    player.sound.LoadFromBinary(2, wave, 20);  // only the first 20 bytes

    player.sound.SoundPlay(2);
    player.sound.SoundPlay(1);
    player.sound.SoundStop(1);

    const SoundLog& log = *player.log;
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, SoundEvent::Play);
    EXPECT_EQ(log[0].slot, 2);
    EXPECT_EQ(log[0].buffer->bytes, Bytes(wave.begin(), wave.begin() + 20));
    EXPECT_EQ(log[0].buffer->format, Pcm(1, 22050, 8));
    EXPECT_FALSE(log[0].looping);
    EXPECT_EQ(log[1].slot, 1);
    EXPECT_EQ(log[1].buffer->bytes, wave) << "the headers play along";
    EXPECT_EQ(log[1].buffer->format, Pcm(1, 22050, 16)) << "the format of the time of loading";
    EXPECT_EQ(log[2].kind, SoundEvent::Stop);
    EXPECT_EQ(log[2].slot, 1);
}

TEST(DX7Sound, SlotsOutOfRangeUnloadedOrBeforeInitializeDoNothing)
{
    Player player;
    const Bytes bytes(32, 1);
    player.sound.waveFormat_SamplesPerSec(22050);
    player.sound.waveFormat_Channels(1);
    player.sound.waveFormat_BitsPerSample(8);
    player.sound.LoadFromBinary(1, bytes, 32);  // not ready yet
    player.sound.Initialize();
    player.sound.SoundPlay(1);
    EXPECT_EQ(player.sound.GetFreeNumber(), 1);

    MessageRecorder recorder;
    player.sound.LoadFromBinary(0, bytes, 32);
    player.sound.LoadFromBinary(100, bytes, 32);
    player.sound.LoadFromBinary(5, bytes, 32);
    for (int32_t slot : {0, 100, -1, 4})
        player.sound.SoundPlay(slot);
    for (int32_t slot : {0, 100, 4})
        player.sound.SoundStop(slot);
    EXPECT_TRUE(player.log->empty());
    EXPECT_TRUE(recorder.shown.empty());

    player.sound.SoundPlay(5);
    ASSERT_EQ(player.log->size(), 1u);
    EXPECT_EQ(player.log->front().slot, 5);
}

TEST(DX7Sound, LoopingIsSetPerSlotAndResetByLoading)
{
    Player player;
    player.Ready();
    const Bytes bytes(16, 2);
    player.sound.Looped(3, true);  // lost when the slot is loaded
    player.sound.LoadFromBinary(3, bytes, 16);
    player.sound.SoundPlay(3);
    player.sound.Looped(3, true);
    player.sound.SoundPlay(3);
    player.sound.Looped(3, false);
    player.sound.SoundPlay(3);
    player.sound.Looped(0, true);
    player.sound.Looped(100, true);

    const SoundLog& log = *player.log;
    ASSERT_EQ(log.size(), 3u);
    EXPECT_FALSE(log[0].looping);
    EXPECT_TRUE(log[1].looping);
    EXPECT_FALSE(log[2].looping);
}

TEST(DX7Sound, RefusedBinaryLoadsReportAndLeaveTheSlotAsItWas)
{
    Player player;
    player.sound.Initialize();
    const Bytes bytes(40, 3);
    const struct {
        const char* what;
        int32_t count;
    } badCounts[] = {{"nothing", 0}, {"negative", -4}, {"past the array", 41}};

    MessageRecorder recorder;
    player.sound.LoadFromBinary(1, bytes, 40);  // no format set yet
    player.Ready();
    for (const auto& bad : badCounts)
        player.sound.LoadFromBinary(1, bytes, bad.count);
    player.sound.waveFormat_SamplesPerSec(0);
    player.sound.LoadFromBinary(1, bytes, 40);

    ASSERT_EQ(recorder.shown.size(), 5u);
    for (const MessageRequest& message : recorder.shown) {
        EXPECT_EQ(message.text, "Debug: Invalidity waveFormat?");
        EXPECT_EQ(message.title, "DX7Sound.LoadFromBinary");
        EXPECT_EQ(message.buttons, MessageButtons::OkCancel);
    }
    EXPECT_EQ(player.sound.GetFreeNumber(), 1) << "nothing was loaded";

    player.sound.waveFormat_SamplesPerSec(22050);
    player.sound.LoadFromBinary(1, bytes, 40);
    player.sound.waveFormat_SamplesPerSec(0);
    player.sound.LoadFromBinary(1, Bytes(8, 9), 8);
    player.sound.SoundPlay(1);
    ASSERT_EQ(player.log->size(), 1u);
    EXPECT_EQ(player.log->front().buffer->bytes, bytes) << "a refused load keeps the earlier sound";
}

TEST(DX7Sound, ReloadingReleasesTheOldSoundAndDestructionStopsEveryLoadedSlot)
{
    const auto log = std::make_shared<SoundLog>();
    {
        DX7Sound sound{std::make_unique<RecordingSoundBackend>(log)};
        sound.Initialize();
        sound.waveFormat_SamplesPerSec(22050);
        sound.waveFormat_Channels(1);
        sound.waveFormat_BitsPerSample(8);
        sound.LoadFromBinary(2, Bytes(8, 1), 8);
        sound.LoadFromBinary(2, Bytes(8, 2), 8);
        sound.LoadFromBinary(7, Bytes(8, 3), 8);
        sound.SoundPlay(2);
        ASSERT_EQ(log->size(), 2u);
        EXPECT_EQ((*log)[0].kind, SoundEvent::Release);
        EXPECT_EQ((*log)[0].slot, 2);
        EXPECT_EQ((*log)[1].buffer->bytes, Bytes(8, 2));
        log->clear();
    }
    ASSERT_EQ(log->size(), 2u);
    EXPECT_EQ((*log)[0].kind, SoundEvent::Stop);
    EXPECT_EQ((*log)[0].slot, 2);
    EXPECT_EQ((*log)[1].kind, SoundEvent::Stop);
    EXPECT_EQ((*log)[1].slot, 7);
}

TEST(DX7Sound, LoadFromFileTakesTheSampleData)
{
    const auto folder = FreshFolder("loadfile");
    const Bytes wave = MakeWave(8, 30, 5);
    WriteFile(folder / "effect.wav", wave);
    WriteFile(folder / "empty.wav", {});
    WriteFile(folder / "noise.wav", Bytes(100, 7));

    Player player;
    player.Ready();
    MessageRecorder recorder;
    player.sound.LoadFromFile(4, (folder / "effect.wav").string());
    player.sound.LoadFromFile(5, (folder / "empty.wav").string());
    EXPECT_TRUE(recorder.shown.empty()) << "an empty file is skipped silently";

    player.sound.LoadFromFile(5, (folder / "absent.wav").string());
    player.sound.LoadFromFile(5, (folder / "noise.wav").string());
    ASSERT_EQ(recorder.shown.size(), 2u);
    for (const MessageRequest& message : recorder.shown) {
        EXPECT_EQ(message.text, "Debug: WaveFile not found.");
        EXPECT_EQ(message.title, "DX7Sound.LoadFromFile");
        EXPECT_EQ(message.buttons, MessageButtons::OkCancel);
    }

    player.sound.SoundPlay(5);
    player.sound.SoundPlay(4);
    ASSERT_EQ(player.log->size(), 1u);
    EXPECT_EQ(player.log->front().slot, 4);
    EXPECT_EQ(player.log->front().buffer->bytes, Bytes(wave.end() - 30, wave.end()));
}

TEST(DX7Sound, DefaultPlayersUseTheInstalledBackEnd)
{
    const auto log = std::make_shared<SoundLog>();
    DX7Sound::SetBackendFactory([log] { return std::make_unique<RecordingSoundBackend>(log); });
    {
        DX7Sound sound;
        sound.Initialize();
        sound.waveFormat_SamplesPerSec(22050);
        sound.waveFormat_Channels(1);
        sound.waveFormat_BitsPerSample(8);
        sound.LoadFromBinary(1, Bytes(4, 0), 4);
        sound.SoundPlay(1);
    }
    DX7Sound::SetBackendFactory({});
    EXPECT_EQ(log->size(), 2u) << "play, then stop at destruction";

    DX7Sound silent;
    silent.Initialize();
    silent.waveFormat_SamplesPerSec(22050);
    silent.waveFormat_Channels(1);
    silent.waveFormat_BitsPerSample(8);
    silent.LoadFromBinary(1, Bytes(4, 0), 4);
    silent.SoundPlay(1);
    EXPECT_EQ(log->size(), 2u);
    EXPECT_EQ(silent.GetFreeNumber(), 2);
}
