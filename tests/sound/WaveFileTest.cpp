#include "WaveFile.h"

#include "SoundTestSupport.h"

#include <gtest/gtest.h>

TEST(WaveSamples, FindsTheDataChunkAndNeverReadsPastTheImage)
{
    const Bytes wave = MakeWave(16, 10, 2);
    EXPECT_EQ(WaveSamples(wave), Bytes(wave.end() - 20, wave.end()));

    Bytes padded(wave.begin(), wave.begin() + 36);  // an odd chunk before the data is padded
    for (uint8_t byte : Bytes{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0})
        padded.push_back(byte);
    padded.insert(padded.end(), wave.begin() + 36, wave.end());
    EXPECT_EQ(WaveSamples(padded), Bytes(wave.end() - 20, wave.end()));

    EXPECT_EQ(WaveSamples(Bytes(wave.begin(), wave.end() - 5)), Bytes(wave.end() - 20, wave.end() - 5));
    EXPECT_FALSE(WaveSamples(Bytes(wave.begin(), wave.begin() + 11)));
    EXPECT_FALSE(WaveSamples(Bytes(wave.begin(), wave.begin() + 40))) << "no data chunk";
    Bytes hugeChunk = wave;
    hugeChunk[16] = hugeChunk[17] = hugeChunk[18] = hugeChunk[19] = 0xFF;
    EXPECT_FALSE(WaveSamples(hugeChunk));
    Bytes notRiff = wave;
    notRiff[0] = 'X';
    EXPECT_FALSE(WaveSamples(notRiff));
}
