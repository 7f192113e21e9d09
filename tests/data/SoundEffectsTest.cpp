#include "SoundEffects.h"
#include "WaveReader.h"
#include "WaveWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

double Peak(const std::vector<double>& samples)
{
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

} // namespace

TEST(WaveWriterTest, SamplesAreClampedUnsignedBytesOrSignedLittleEndianWordsAndOddDataIsPadded)
{
    const struct {
        std::vector<double> samples;
        int bits;
        std::vector<uint8_t> data;
    } cases[] = {
        {{0.0, 1.0, -1.0, 3.0, -3.0, 0.5}, 8, {128, 255, 1, 255, 1, 192}},
        {{0.0, 1.0, -1.0, -0.5}, 16, {0x00, 0x00, 0xFF, 0x7F, 0x01, 0x80, 0x00, 0xC0}},
        {{0.0, 0.0, 0.0}, 8, {128, 128, 128, 128}},
    };
    for (const auto& wave : cases) {
        SCOPED_TRACE(wave.bits);
        const auto image = WaveWriter::Encode(wave.samples, 22050, wave.bits);
        const WaveInfo info = ReadWave(image);
        EXPECT_EQ(info.riffSize + 8, image.size());
        EXPECT_EQ(info.formatTag, 1);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.sampleRate, 22050u);
        EXPECT_EQ(info.blockAlign, wave.bits / 8);
        EXPECT_EQ(info.byteRate, 22050u * info.blockAlign);
        EXPECT_EQ(info.bitsPerSample, wave.bits);
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + 44, image.end()), wave.data);
    }
    EXPECT_THROW(WaveWriter::Encode({0.0}, 22050, 24), std::invalid_argument);
}

TEST(SoundEffectsTest, SevenEffectsInTheFormatsTheGamePlaysThemIn)
{
    const auto effects = SoundEffects::Make();
    ASSERT_EQ(effects.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(effects[i].name);
        const WaveInfo info = ReadWave(SoundEffects::WaveImage(effects[i]));
        EXPECT_EQ(info.sampleRate, 22050u);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.bitsPerSample, i == 0 || i == 4 ? 16 : 8);
        const double seconds = static_cast<double>(info.samples.size()) / 22050;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 2.0);
        // loud enough to hear, never clipped, and no click at either end
        EXPECT_GT(Peak(info.samples), 0.5);
        EXPECT_LT(Peak(info.samples), 0.95);
        EXPECT_LT(std::abs(info.samples.front()), 0.02);
        EXPECT_LT(std::abs(info.samples.back()), 0.02);
    }
}

TEST(SoundEffectsTest, EffectsAreDistinctAndRepeatable)
{
    const auto effects = SoundEffects::Make();
    const auto again = SoundEffects::Make();
    for (size_t i = 0; i < effects.size(); ++i) {
        EXPECT_EQ(effects[i].samples, again[i].samples) << effects[i].name;
        for (size_t j = i + 1; j < effects.size(); ++j)
            EXPECT_NE(effects[i].samples, effects[j].samples) << effects[i].name << " " << effects[j].name;
    }
    EXPECT_EQ(SoundEffects::FileName(0), "0-select.wav");
    EXPECT_EQ(SoundEffects::FileName(6), "6-deselect.wav");
}
