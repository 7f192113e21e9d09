#include "QtSoundBackend.h"

#include "DX7Sound.h"
#include "SlotStream.h"
#include "SoundTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(SlotStream, ReadsOnceOrLoopsAndStartsOverWhenRewound)
{
    const WaveFormat format{1, 1, 22050, 22050, 1, 8, 0, 0};
    SlotStream stream(std::make_shared<const SoundBuffer>(SoundBuffer{{1, 2, 3, 4, 5}, format}));
    EXPECT_EQ(stream.bytesAvailable(), 5);
    EXPECT_EQ(stream.read(3), QByteArray("\1\2\3"));
    EXPECT_EQ(stream.read(10), QByteArray("\4\5"));
    EXPECT_EQ(stream.read(10), QByteArray()) << "a sound that is not looped ends";

    stream.SetLooping(true);
    EXPECT_EQ(stream.read(12), QByteArray("\1\2\3\4\5\1\2\3\4\5\1\2"));
    stream.SetLooping(false);
    EXPECT_EQ(stream.read(10), QByteArray("\3\4\5"));
    stream.Rewind();
    EXPECT_EQ(stream.read(2), QByteArray("\1\2"));

    SlotStream empty(std::make_shared<const SoundBuffer>(SoundBuffer{{}, format}));
    empty.SetLooping(true);
    EXPECT_EQ(empty.read(4), QByteArray()) << "an empty loop does not spin";
}

// CI has no audio device; a machine with one plays a moment of silence.
TEST(QtSoundBackend, PlaysSeveralSlotsWithoutMessagesWithOrWithoutADevice)
{
    int argc = 1;
    char name[] = "sound_qt_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    MessageRecorder recorder;
    {
        DX7Sound sound{std::make_unique<QtSoundBackend>()};
        sound.Initialize();
        sound.waveFormat_SamplesPerSec(22050);
        sound.waveFormat_Channels(1);
        for (int32_t bits : {16, 8}) {
            sound.waveFormat_BitsPerSample(bits);
            sound.LoadFromBinary(sound.GetFreeNumber(), Bytes(2205, bits == 8 ? 0x80 : 0), 2205);
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
