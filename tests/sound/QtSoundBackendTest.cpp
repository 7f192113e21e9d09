#include "QtSoundBackend.h"

#include "DX7Sound.h"
#include "SlotStream.h"
#include "SoundTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

QCoreApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "sound_qt_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

std::shared_ptr<const SoundBuffer> Buffer(Bytes bytes)
{
    return std::make_shared<const SoundBuffer>(SoundBuffer{std::move(bytes), {1, 1, 22050, 22050, 1, 8, 0, 0}});
}

QByteArray Read(SlotStream& stream, qint64 count)
{
    return stream.read(count);
}

} // namespace

TEST(SlotStream, ReadsOnceOrLoopsAndStartsOverWhenRewound)
{
    SlotStream stream(Buffer({1, 2, 3, 4, 5}));
    EXPECT_EQ(stream.bytesAvailable(), 5);
    EXPECT_EQ(Read(stream, 3), QByteArray("\1\2\3"));
    EXPECT_EQ(Read(stream, 10), QByteArray("\4\5"));
    EXPECT_EQ(Read(stream, 10), QByteArray()) << "a sound that is not looped ends";

    stream.SetLooping(true);
    EXPECT_EQ(Read(stream, 12), QByteArray("\1\2\3\4\5\1\2\3\4\5\1\2"));
    stream.SetLooping(false);
    EXPECT_EQ(Read(stream, 10), QByteArray("\3\4\5"));

    stream.Rewind();
    EXPECT_EQ(Read(stream, 2), QByteArray("\1\2"));

    SlotStream empty(Buffer({}));
    empty.SetLooping(true);
    EXPECT_EQ(Read(empty, 4), QByteArray()) << "an empty loop does not spin";
}

TEST(QtSoundBackend, PlaysSeveralSlotsWithoutMessagesWithOrWithoutADevice)
{
    TestApplication();
    MessageRecorder recorder;
    {
        DX7Sound sound{std::make_unique<QtSoundBackend>()};
        sound.Initialize();
        sound.waveFormat_SamplesPerSec(22050);
        sound.waveFormat_Channels(1);
        for (int32_t bits : {16, 8}) {
            sound.waveFormat_BitsPerSample(bits);
            const Bytes quiet(2205, bits == 8 ? 0x80 : 0);
            sound.LoadFromBinary(sound.GetFreeNumber(), quiet, static_cast<int32_t>(quiet.size()));
        }
        sound.Looped(2, true);
        sound.SoundPlay(1);
        sound.SoundPlay(2);
        QCoreApplication::processEvents();
        sound.SoundStop(2);
        sound.SoundPlay(2);
        sound.LoadFromBinary(1, Bytes(64, 0), 64);
        sound.SoundPlay(1);
        QCoreApplication::processEvents();
        EXPECT_EQ(sound.GetFreeNumber(), 3);
    }
    EXPECT_TRUE(recorder.shown.empty());
}
