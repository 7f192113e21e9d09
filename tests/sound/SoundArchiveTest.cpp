#include "SoundArchive.h"

#include "BinaryFile.h"
#include "NumberedError.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

namespace {

// The seven effects of the game: 16 bits for 0 and 4, 8 bits for the others.
std::vector<Bytes> SevenWaves(int samples)
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
    archive.SoundCompress((folder / "sound.dat").string());
    return folder / "sound.dat";
}

// Stored entries, each a RIFF size followed by riffSize - 8 body bytes (or
// bodyBytes when given), then the count byte.
Bytes Archive(std::initializer_list<std::pair<uint32_t, size_t>> entries, uint8_t count)
{
    Bytes archive;
    for (const auto& [riffSize, bodyBytes] : entries) {
        PutLittleEndian(archive, riffSize, 4);
        archive.resize(archive.size() + bodyBytes, 0x5A);
    }
    archive.push_back(count);
    return archive;
}

struct Decoded {
    int32_t result;
    std::vector<MessageRequest> messages;
};

// Decodes the file at path as an archive, keeping the messages it shows.
Decoded DecodeBytesAt(const std::string& path)
{
    MessageRecorder recorder;
    SoundArchive archive;
    const int32_t result = archive.SoundDeCompress(path);
    return {result, recorder.shown};
}

Decoded DecodeBytes(const std::filesystem::path& folder, const Bytes& bytes)
{
    WriteFile(folder / "damaged.dat", bytes);
    return DecodeBytesAt((folder / "damaged.dat").string());
}

} // namespace

TEST(SoundArchive, SevenWavesComeBackByteForByte)
{
    const auto folder = FreshFolder("roundtrip");
    const std::vector<Bytes> waves = SevenWaves(300);
    MessageRecorder recorder;
    const Bytes packed = ReadFile(PackArchive(folder, waves));
    size_t expectedSize = 1;
    for (const Bytes& wave : waves)
        expectedSize += wave.size() - 12;
    ASSERT_EQ(packed.size(), expectedSize);
    EXPECT_EQ(packed.back(), 7);
    EXPECT_TRUE(std::equal(packed.begin(), packed.begin() + 4, waves[0].begin() + 4)) << "the RIFF size";
    EXPECT_TRUE(std::equal(packed.begin() + 4, packed.begin() + 16, waves[0].begin() + 16)) << "then the fmt chunk";

    SoundArchive archive;
    int pumped = 0;
    archive.SetEventPump([&pumped] { ++pumped; });
    ASSERT_EQ(archive.SoundDeCompress((folder / "sound.dat").string()), 7);
    for (int32_t index = 0; index < 7; ++index) {
        Bytes image;
        archive.GetBinaryData(index, image);
        EXPECT_EQ(image, waves[index]) << "sound " << index;
    }
    EXPECT_EQ(pumped, 7) << "the window gets its events once per sound";
    EXPECT_TRUE(recorder.shown.empty());

    // A count byte above the entries leaves the rest empty.
    WriteFile(folder / "large.dat", Archive({{20, 12}, {8, 0}}, 4));
    ASSERT_EQ(archive.SoundDeCompress((folder / "large.dat").string()), 2);
    Bytes image;
    archive.GetBinaryData(1, image);
    EXPECT_EQ(image, (Bytes{'R', 'I', 'F', 'F', 8, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}));
    archive.GetBinaryData(3, image);
    EXPECT_TRUE(image.empty());
    EXPECT_THROW(archive.GetBinaryData(4, image), NumberedError);

    ASSERT_EQ(archive.SoundDeCompress((folder / "absent.dat").string()), -1);
    EXPECT_THROW(archive.GetBinaryData(0, image), NumberedError) << "a failed decode forgets earlier sounds";
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "[DeCompress] " + (folder / "absent.dat").string() + "\r\nFile not found");
}

TEST(SoundArchive, DamagedArchivesFailWithOneMessageNamingTheReason)
{
    const auto folder = FreshFolder("damaged");
    const std::string path = (folder / "damaged.dat").string();
    const std::string prefix = "[DeCompress] " + path + "\r\n";
    Bytes cutLength = Archive({{20, 12}}, 2);
    cutLength.insert(cutLength.end() - 1, {9, 0});
    const struct {
        const char* what;
        Bytes archive;
        std::string reason;
    } cases[] = {
        {"empty file", {}, "the archive is empty"},
        {"count byte too small", Archive({{20, 12}, {30, 22}, {8, 0}}, 2), "entry 2 is more than the count byte's 2 sounds"},
        {"length past the data", Archive({{20, 12}, {4000, 22}}, 2),
         "entry 1 is cut short: its RIFF size 4000 runs 3970 bytes past the end of the data"},
        {"length reaching the count byte", Archive({{21, 12}}, 1),
         "entry 0 is cut short: its RIFF size 21 runs 1 byte past the end of the data"},
        {"length below 8", Archive({{7, 0}}, 1), "entry 0 has a RIFF size of 7, less than 8"},
        {"length field cut off", cutLength, "entry 1 is cut short: 2 of the 4 bytes of its RIFF size"},
        {"length of 2^31", Archive({{0x80000000U, 8}}, 1), "entry 0: RIFF size 2147483648 is 2^31 or more"},
    };
    for (const auto& damaged : cases) {
        const Decoded decoded = DecodeBytes(folder, damaged.archive);
        EXPECT_EQ(decoded.result, -1) << damaged.what;
        ASSERT_EQ(decoded.messages.size(), 1u) << damaged.what;
        EXPECT_EQ(decoded.messages[0].text, prefix + damaged.reason) << damaged.what;
        EXPECT_EQ(decoded.messages[0].buttons, MessageButtons::Ok);
    }

    // Only the count byte: no sound, and nothing to tell the player.
    const Decoded countOnly = DecodeBytes(folder, {5});
    EXPECT_EQ(countOnly.result, 0);
    EXPECT_TRUE(countOnly.messages.empty());

    // Refused before a byte is read: a folder, a FIFO (no writer, so a read would wait) and an oversized file.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_NE(DecodeBytesAt(path).messages.at(0).text.find("is not a regular file"), std::string::npos);
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_NE(DecodeBytesAt(path).messages.at(0).text.find("is not a regular file"), std::string::npos);
    std::filesystem::remove(path);
    WriteFile(path, {1});
    std::filesystem::resize_file(path, kMaxSoundFileBytes + 1);
    EXPECT_EQ(DecodeBytesAt(path).messages.at(0).text, prefix + "the sound archive " + path + " is larger than 64 MiB");
}

TEST(SoundArchive, TruncatedOrMutatedArchivesNeverCrash)
{
    const auto folder = FreshFolder("truncated");
    const Bytes packed = ReadFile(PackArchive(folder, SevenWaves(20)));

    // A cut one byte past the start of an entry leaves that entry's first
    // length byte as the count byte: a valid archive when it is at least the
    // number of entries before it. Every other cut breaks the walk.
    std::vector<size_t> entryStarts;
    for (size_t pos = 0; pos < packed.size() - 1; pos += packed[pos] + 256u * packed[pos + 1] - 4)
        entryStarts.push_back(pos);
    for (size_t length = 0; length < packed.size(); ++length) {
        const Decoded decoded = DecodeBytes(folder, Bytes(packed.begin(), packed.begin() + length));
        const auto start = std::find(entryStarts.begin(), entryStarts.end(), length - 1);
        const auto entriesBefore = static_cast<int32_t>(start - entryStarts.begin());
        const bool valid = start != entryStarts.end() && packed[length - 1] >= entriesBefore;
        EXPECT_EQ(decoded.result, valid ? entriesBefore : -1) << "cut at " << length;
        EXPECT_EQ(decoded.messages.size(), valid ? 0u : 1u) << "cut at " << length;
    }

    std::mt19937 random(20261207);
    std::uniform_int_distribution<size_t> anyByte(0, packed.size() - 1);
    int failures = 0;
    for (int round = 0; round < 200; ++round) {
        Bytes mutated = packed;
        // Every third round hits the first length so that broken walks are certain.
        mutated[round % 3 == 0 ? round % 4 : anyByte(random)] = static_cast<uint8_t>(random());
        mutated[anyByte(random)] = static_cast<uint8_t>(random());
        const Decoded decoded = DecodeBytes(folder, mutated);
        EXPECT_LE(decoded.result, 7);
        EXPECT_EQ(decoded.messages.size(), decoded.result == -1 ? 1u : 0u) << "round " << round;
        failures += decoded.result == -1;
    }
    EXPECT_GT(failures, 50);
}

TEST(SoundArchive, BadWavesAndLimitsOfTheAuthoringSide)
{
    const auto folder = FreshFolder("reader");
    Bytes mismatched = MakeWave(8, 100, 1);
    mismatched.push_back(0);  // one byte more than the RIFF size says
    WriteFile(folder / "mismatched.wav", mismatched);
    WriteFile(folder / "short.wav", Bytes(15, 'R'));
    WriteFile(folder / "good.wav", MakeWave(8, 100, 1));
    std::filesystem::create_directory(folder / "folder.wav");
    const std::string fifo = (folder / "fifo.wav").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        int32_t index;
        std::string file;
        std::string reason;
    } cases[] = {
        {0, "absent.wav", "File not found"},
        {0, "short.wav", (folder / "short.wav").string() + " is too short for a WAVE file"},
        {0, "mismatched.wav", (folder / "mismatched.wav").string() + ": the RIFF size + 8 differs from the file length"},
        {2, "good.wav", "sound 2 is outside the archive's 2 sounds"},
        {0, "folder.wav", (folder / "folder.wav").string() + " is not a regular file"},
        {0, "fifo.wav", fifo + " is not a regular file"},
    };
    for (const auto& bad : cases) {
        MessageRecorder recorder;
        SoundArchive archive;
        archive.BufferInitialize(2);
        const std::string path = (folder / bad.file).string();
        EXPECT_THROW(archive.SoundRead(bad.index, path), NumberedError) << bad.file;
        ASSERT_EQ(recorder.shown.size(), 1u) << bad.file;
        EXPECT_EQ(recorder.shown[0].text, "[READER] " + path + "\r\n" + bad.reason);
    }

    SoundArchive archive;
    EXPECT_THROW(archive.BufferInitialize(256), NumberedError);
    archive.BufferInitialize(1);
    archive.SoundRead(0, (folder / "good.wav").string());
    archive.BufferInitialize(1);
    Bytes image;
    archive.GetBinaryData(0, image);
    EXPECT_TRUE(image.empty()) << "BufferInitialize drops earlier sounds";
    EXPECT_THROW(archive.SoundCompress((folder / "no-such-folder" / "sound.dat").string()), NumberedError);
}
