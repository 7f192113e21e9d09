#include "SoundArchive.h"

#include "NumberedError.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {

// The seven effects of the game: 16 bits for 0 and 4, 8 bits for the others.
std::vector<Bytes> SevenWaves(int samples = 300)
{
    std::vector<Bytes> waves;
    for (int index = 0; index < 7; ++index)
        waves.push_back(MakeWave(index == 0 || index == 4 ? 16 : 8, samples + 11 * index, index + 1));
    return waves;
}

std::filesystem::path PackArchive(const std::filesystem::path& folder, const std::vector<Bytes>& waves)
{
    SoundArchive archive;
    archive.BufferInitialize(static_cast<int32_t>(waves.size()));
    for (size_t index = 0; index < waves.size(); ++index) {
        const auto wavePath = folder / ("in" + std::to_string(index) + ".wav");
        WriteFile(wavePath, waves[index]);
        archive.SoundRead(static_cast<int32_t>(index), wavePath.string());
    }
    const auto archivePath = folder / "sound.dat";
    archive.SoundCompress(archivePath.string());
    return archivePath;
}

// One stored entry: the RIFF size, then riffSize - 8 bytes of body.
Bytes Entry(uint32_t riffSize, size_t bodyBytes)
{
    Bytes entry;
    PutLittleEndian(entry, riffSize, 4);
    entry.resize(entry.size() + bodyBytes, 0x5A);
    return entry;
}

Bytes Concatenate(std::initializer_list<Bytes> parts, uint8_t count)
{
    Bytes archive;
    for (const Bytes& part : parts)
        archive.insert(archive.end(), part.begin(), part.end());
    archive.push_back(count);
    return archive;
}

struct Decoded {
    int32_t result;
    std::vector<MessageRequest> messages;
};

Decoded Decode(const std::filesystem::path& path)
{
    MessageRecorder recorder;
    SoundArchive archive;
    const int32_t result = archive.SoundDeCompress(path.string());
    return {result, recorder.shown};
}

Decoded DecodeBytes(const std::filesystem::path& folder, const Bytes& bytes)
{
    const auto path = folder / "damaged.dat";
    WriteFile(path, bytes);
    return Decode(path);
}

} // namespace

TEST(SoundArchive, SevenWavesComeBackByteForByte)
{
    const auto folder = FreshFolder("roundtrip");
    const std::vector<Bytes> waves = SevenWaves();
    MessageRecorder recorder;
    const auto archivePath = PackArchive(folder, waves);

    const Bytes packed = ReadFile(archivePath);
    const size_t expectedSize = std::accumulate(waves.begin(), waves.end(), size_t{1},
                                                [](size_t sum, const Bytes& wave) { return sum + wave.size() - 12; });
    ASSERT_EQ(packed.size(), expectedSize);
    EXPECT_EQ(packed.back(), 7);
    EXPECT_TRUE(std::equal(packed.begin(), packed.begin() + 4, waves[0].begin() + 4));
    EXPECT_TRUE(std::equal(packed.begin() + 4, packed.begin() + 16, waves[0].begin() + 16));

    SoundArchive archive;
    ASSERT_EQ(archive.SoundDeCompress(archivePath.string()), 7);
    for (int32_t index = 0; index < 7; ++index) {
        Bytes image;
        archive.GetBinaryData(index, image);
        EXPECT_EQ(image, waves[index]) << "sound " << index;
    }
    EXPECT_TRUE(recorder.shown.empty());
}

TEST(SoundArchive, MissingOrEmptyArchiveReportsOnceWithThePath)
{
    const auto folder = FreshFolder("missing");
    const auto missing = folder / "sound.dat";
    const Decoded absent = Decode(missing);
    EXPECT_EQ(absent.result, -1);
    ASSERT_EQ(absent.messages.size(), 1u);
    EXPECT_EQ(absent.messages[0].text, "[DeCompress] " + missing.string() + "\r\nFile not found");
    EXPECT_EQ(absent.messages[0].title, "");
    EXPECT_EQ(absent.messages[0].buttons, MessageButtons::Ok);

    const Decoded empty = DecodeBytes(folder, {});
    EXPECT_EQ(empty.result, -1);
    ASSERT_EQ(empty.messages.size(), 1u);
    EXPECT_EQ(empty.messages[0].text, "[DeCompress] " + (folder / "damaged.dat").string() + "\r\n");
}

TEST(SoundArchive, MalformedLengthsAndCountsFailWithOneMessage)
{
    const auto folder = FreshFolder("malformed");
    const struct {
        const char* what;
        Bytes archive;
        std::string description;
    } cases[] = {
        {"one byte, count 0", {0}, "Subscript out of range"},
        {"one byte, count 5", {5}, "Subscript out of range"},
        {"count byte too small", Concatenate({Entry(20, 12), Entry(30, 22), Entry(8, 0)}, 2), "Subscript out of range"},
        {"count byte zero", Concatenate({Entry(20, 12)}, 0), "Subscript out of range"},
        {"length past the data", Concatenate({Entry(20, 12), Entry(4000, 22)}, 2), "Subscript out of range"},
        {"length reaches the count byte", Concatenate({Entry(21, 12)}, 1), "Subscript out of range"},
        {"length below 8", Concatenate({Entry(7, 0)}, 1), "Subscript out of range"},
        {"length of zero", Concatenate({Entry(0, 12)}, 1), "Subscript out of range"},
        {"length field cut off", Concatenate({Entry(20, 12), Bytes{9, 0}}, 2), "Subscript out of range"},
        {"length of 2^31", Concatenate({Entry(0x80000000U, 8)}, 1), "Overflow"},
        {"length of 2^32 - 1", Concatenate({Entry(0xFFFFFFFFU, 8)}, 1), "Overflow"},
    };
    for (const auto& damaged : cases) {
        const Decoded decoded = DecodeBytes(folder, damaged.archive);
        EXPECT_EQ(decoded.result, -1) << damaged.what;
        ASSERT_EQ(decoded.messages.size(), 1u) << damaged.what;
        EXPECT_EQ(decoded.messages[0].text,
                  "[DeCompress] " + (folder / "damaged.dat").string() + "\r\n" + damaged.description)
            << damaged.what;
    }
}

TEST(SoundArchive, CountByteAboveTheEntriesLeavesTheRestEmpty)
{
    const auto folder = FreshFolder("largecount");
    WriteFile(folder / "sound.dat", Concatenate({Entry(20, 12), Entry(8, 0)}, 4));
    MessageRecorder recorder;
    SoundArchive archive;
    ASSERT_EQ(archive.SoundDeCompress((folder / "sound.dat").string()), 2);

    Bytes image;
    archive.GetBinaryData(1, image);
    EXPECT_EQ(image, (Bytes{'R', 'I', 'F', 'F', 8, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}));
    archive.GetBinaryData(3, image);
    EXPECT_TRUE(image.empty());
    EXPECT_THROW(archive.GetBinaryData(4, image), NumberedError);
    EXPECT_THROW(archive.GetBinaryData(-1, image), NumberedError);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST(SoundArchive, TruncatedArchivesFailUnlessTheCutLeavesAValidArchive)
{
    const auto folder = FreshFolder("truncated");
    const Bytes packed = ReadFile(PackArchive(folder, SevenWaves(20)));

    // Where each entry starts: a cut one byte past it leaves that entry's
    // first length byte as the count byte, which is a valid archive when it
    // is at least the number of entries before it.
    std::vector<size_t> entryStarts;
    for (size_t pos = 0; pos < packed.size() - 1; pos += packed[pos] + 256u * packed[pos + 1] - 4)
        entryStarts.push_back(pos);

    for (size_t length = 0; length < packed.size(); ++length) {
        const Decoded decoded = DecodeBytes(folder, Bytes(packed.begin(), packed.begin() + length));
        const auto start = std::find(entryStarts.begin(), entryStarts.end(), length - 1);
        const auto entriesBefore = static_cast<int32_t>(start - entryStarts.begin());
        const bool valid = length > 1 && start != entryStarts.end() && packed[length - 1] >= entriesBefore;
        EXPECT_EQ(decoded.result, valid ? entriesBefore : -1) << "cut at " << length;
        EXPECT_EQ(decoded.messages.size(), valid ? 0u : 1u) << "cut at " << length;
    }
}

TEST(SoundArchive, RandomMutationsNeverCrashAndReportOnlyFailures)
{
    const auto folder = FreshFolder("mutations");
    const Bytes packed = ReadFile(PackArchive(folder, SevenWaves()));
    std::mt19937 random(20261207);
    std::uniform_int_distribution<size_t> anyByte(0, packed.size() - 1);
    std::uniform_int_distribution<int> anyValue(0, 255);
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes mutated = packed;
        // The first entry's length bytes are hit in every third round so that
        // broken walks are certain to be among the cases.
        mutated[round % 3 == 0 ? round % 4 : anyByte(random)] = static_cast<uint8_t>(anyValue(random));
        mutated[anyByte(random)] = static_cast<uint8_t>(anyValue(random));
        const Decoded decoded = DecodeBytes(folder, mutated);
        EXPECT_GE(decoded.result, -1);
        EXPECT_LE(decoded.result, 7);
        EXPECT_EQ(decoded.messages.size(), decoded.result == -1 ? 1u : 0u) << "round " << round;
        failures += decoded.result == -1;
    }
    EXPECT_GT(failures, 50);
}

TEST(SoundArchive, FailedDecodeForgetsEarlierSounds)
{
    const auto folder = FreshFolder("forget");
    const auto archivePath = PackArchive(folder, SevenWaves());
    MessageRecorder recorder;
    SoundArchive archive;
    ASSERT_EQ(archive.SoundDeCompress(archivePath.string()), 7);
    ASSERT_EQ(archive.SoundDeCompress((folder / "absent.dat").string()), -1);
    Bytes image;
    EXPECT_THROW(archive.GetBinaryData(0, image), NumberedError);
}

TEST(SoundArchive, DecodingLetsPendingEventsRun)
{
    const auto folder = FreshFolder("pump");
    const auto archivePath = PackArchive(folder, SevenWaves());
    SoundArchive archive;
    int pumped = 0;
    archive.SetEventPump([&pumped] { ++pumped; });
    ASSERT_EQ(archive.SoundDeCompress(archivePath.string()), 7);
    EXPECT_GE(pumped, 1);
    EXPECT_LE(pumped, 7);
}

TEST(SoundArchive, ReadingABadWaveReportsOnceAndRaises)
{
    const auto folder = FreshFolder("reader");
    Bytes mismatched = MakeWave(8, 100, 1);
    mismatched.push_back(0);  // one byte more than the RIFF size says
    WriteFile(folder / "mismatched.wav", mismatched);
    WriteFile(folder / "short.wav", Bytes(15, 'R'));
    WriteFile(folder / "good.wav", MakeWave(8, 100, 1));

    const struct {
        int32_t index;
        std::string file;
        int number;
    } cases[] = {
        {0, "absent.wav", NumberedError::FileNotFound},
        {0, "short.wav", NumberedError::InputPastEndOfFile},
        {0, "mismatched.wav", NumberedError::InvalidArgument},
        {2, "good.wav", NumberedError::SubscriptOutOfRange},
        {-1, "good.wav", NumberedError::SubscriptOutOfRange},
    };
    for (const auto& bad : cases) {
        MessageRecorder recorder;
        SoundArchive archive;
        archive.BufferInitialize(2);
        const std::string path = (folder / bad.file).string();
        try {
            archive.SoundRead(bad.index, path);
            ADD_FAILURE() << bad.file << " was read";
        } catch (const NumberedError& error) {
            EXPECT_EQ(error.number(), bad.number) << bad.file;
        }
        ASSERT_EQ(recorder.shown.size(), 1u) << bad.file;
        EXPECT_EQ(recorder.shown[0].text, "[READER] " + path + "\r\n" + NumberedError::Description(bad.number));
    }
}

TEST(SoundArchive, AuthoringLimitsAndWriteFailures)
{
    SoundArchive archive;
    EXPECT_THROW(archive.BufferInitialize(256), NumberedError);
    EXPECT_THROW(archive.BufferInitialize(-1), NumberedError);

    const auto folder = FreshFolder("authoring");
    WriteFile(folder / "one.wav", MakeWave(8, 10, 1));
    archive.BufferInitialize(1);
    archive.SoundRead(0, (folder / "one.wav").string());
    archive.BufferInitialize(1);  // drops the sound just read
    Bytes image;
    archive.GetBinaryData(0, image);
    EXPECT_TRUE(image.empty());

    try {
        archive.SoundCompress((folder / "no-such-folder" / "sound.dat").string());
        ADD_FAILURE() << "writing into a missing folder succeeded";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::FileNotFound);
    }
}
