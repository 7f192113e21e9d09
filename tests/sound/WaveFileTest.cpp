#include "WaveFile.h"

#include "SoundTestSupport.h"

#include <gtest/gtest.h>

TEST(WaveSamples, FindsTheDataChunkPastOtherChunks)
{
    Bytes wave = MakeWave(8, 6, 1);
    const Bytes samples(wave.end() - 6, wave.end());
    EXPECT_EQ(WaveSamples(wave), samples);

    // An odd-sized chunk before the data is padded to an even length.
    Bytes padded(wave.begin(), wave.begin() + 36);
    PutTag(padded, "LIST");
    PutLittleEndian(padded, 3, 4);
    padded.insert(padded.end(), {'a', 'b', 'c', 0});
    padded.insert(padded.end(), wave.begin() + 36, wave.end());
    EXPECT_EQ(WaveSamples(padded), samples);
}

TEST(WaveSamples, RefusesWhatIsNoWaveAndCutsAnOverlongDataChunk)
{
    const Bytes wave = MakeWave(16, 10, 2);
    EXPECT_FALSE(WaveSamples({}));
    EXPECT_FALSE(WaveSamples(Bytes(wave.begin(), wave.begin() + 11)));
    EXPECT_FALSE(WaveSamples(Bytes(wave.begin(), wave.begin() + 40))) << "no data chunk header";

    Bytes notRiff = wave;
    notRiff[0] = 'X';
    EXPECT_FALSE(WaveSamples(notRiff));

    const Bytes cut(wave.begin(), wave.end() - 5);
    EXPECT_EQ(WaveSamples(cut), Bytes(wave.end() - 20, wave.end() - 5));

    Bytes hugeChunk = wave;
    hugeChunk[16] = hugeChunk[17] = hugeChunk[18] = hugeChunk[19] = 0xFF;  // the fmt chunk claims 4 GB
    EXPECT_FALSE(WaveSamples(hugeChunk));
}
