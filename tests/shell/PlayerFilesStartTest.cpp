// Nothing in the player's files blocks the start or is lost by it: the
// settings, the statistics and the smoke test, each fault reproduced.
#include "EndOfGame.h"
#include "GameFolders.h"
#include "Settings.h"
#include "ShellTestSupport.h"
#include "WindowPlacement.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>

#include <sys/stat.h>
#include <utime.h>

namespace {

QString StatsFile()
{
    return GameFolders::UserFolder() + QStringLiteral("/stats.txt");
}

void WriteText(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(PlayerFilesStart, ARememberedWindowSizeIsFittedToTheScreen)
{
    const QSize minimum(792, 566), frame(10, 30);
    const QRect screen(0, 0, 1920, 1050);
    const struct {
        QSize wanted;
        QSize fitted;
    } cases[] = {
        {{1200, 800}, {1200, 800}},
        {{99999999, 99999999}, {1910, 1020}},
        {{20000, 700}, {1910, 700}},
        {{100, 100}, minimum},
        {{1200, 800}, {1200, 800}},
    };
    for (const auto& [wanted, fitted] : cases)
        EXPECT_EQ(WindowPlacement::FittedClient(wanted, minimum, frame, screen), fitted) << wanted.width();
    EXPECT_EQ(WindowPlacement::FittedClient({2000, 2000}, minimum, frame, QRect(0, 0, 640, 480)), minimum)
        << "never below the picture, even on a smaller screen";
}

// Faults that stopped the start: a huge window size, a FIFO for the statistics,
// an oversized settings file (told once, in a box), a killed write's leftover.
TEST(PlayerFilesStart, TheGameStartsWhateverThePlayersFilesHold)
{
    WriteText(Settings::DefaultFilePath(), "[window]\nsize=@Size(99999999 99999999)\n");
    QDir().mkpath(GameFolders::UserFolder());
    ASSERT_EQ(mkfifo(QFile::encodeName(StatsFile()).constData(), 0600), 0);
    const QString leftover = GameFolders::UserFolder() + QStringLiteral("/.stats.txt.77-0-5.tmp");
    WriteText(leftover, "half");
    const utimbuf old{::time(nullptr) - 300, ::time(nullptr) - 300};
    ASSERT_EQ(::utime(QFile::encodeName(leftover).constData(), &old), 0);
    {
        MessageRecorder messages;
        const auto module = StartModule(TestName(), ClassicGame());
        const QSize screen = module->Form().screen()->availableGeometry().size();
        EXPECT_LE(module->Form().width(), std::max(screen.width(), 792));
        EXPECT_LE(module->Form().height(), std::max(screen.height(), 566));
        EXPECT_EQ(module->Ending().Records().Of("classic.tvm").started, 1);
        EXPECT_TRUE(messages.requests.empty());
    }
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFileInfo(StatsFile()).isFile());

    WriteText(Settings::DefaultFilePath(), QByteArray(2 << 20, '#'));
    MessageRecorder messages;
    { const auto module = StartModule(TestName(), ClassicGame()); }
    { const auto module = StartModule(TestName(), ClassicGame()); }
    ASSERT_EQ(messages.requests.size(), 1u) << "told once";
    EXPECT_NE(messages.requests[0].text.find("1 MiB"), std::string::npos) << messages.requests[0].text;
}

// A layout of the player's named like a shipped one keeps its own record.
TEST(PlayerFilesStart, AnOwnLayoutNeverCountsForTheShippedOneOfItsName)
{
    const QString own = GameFolders::UserFolder() + QStringLiteral("/template/classic.tvm");
    QDir().mkpath(QFileInfo(own).path());
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(TOVRIK_RUNTIME_DIR) + QStringLiteral("/template/beginner.tvm"), own));
    MessageRecorder messages;
    const auto module = StartModule(TestName(), ClassicGame());
    EXPECT_EQ(module->Ending().Records().Of(RecordsText::OwnKey("classic.tvm")).started, 1);
    EXPECT_EQ(module->Ending().Records().Of("classic.tvm").started, 0);
}

struct SmokeRun {
    int status = -1;
    QString output;
};

SmokeRun RunSmokeTest(const QString& home, const QString& platform = QStringLiteral("offscreen"),
                      const QString& temporaryFolder = QDir::tempPath())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("TMPDIR"), temporaryFolder);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The timeout only guards the suite against a hang coming back.
    process.start(QStringLiteral("timeout"), {QStringLiteral("120"), QString::fromUtf8(TOVRIK_RUNTIME_DIR) + QStringLiteral("/tovrik"),
                                              QStringLiteral("--smoke-test")});
    process.waitForFinished(-1);
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// Every file under folder with a digest of its bytes (a FIFO by its kind).
QMap<QString, QByteArray> Snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        QFile file(entry.filePath());
        files[entry.filePath()] = entry.isFile() && file.open(QIODevice::ReadOnly)
            ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
            : QByteArray(entry.isDir() ? "folder" : "other");
    }
    return files;
}

TEST(PlayerFilesStart, TheSmokeTestNeverChangesThePlayersFilesAndNeverHangs)
{
    const QString home = QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/smoke-home");
    QDir(home).removeRecursively();
    WriteText(home + QStringLiteral("/config/tovrik/tovrik.conf"), "[General]\nautoHint=false\n");
    WriteText(home + QStringLiteral("/data/tovrik/stats.txt"), "tovrik-stats 2\n4 1 900 7 shipped beginner.tvm\n");
    WriteText(home + QStringLiteral("/data/tovrik/save.dat"), "a saved game of the player's");
    const QMap<QString, QByteArray> before = Snapshot(home);
    SmokeRun run = RunSmokeTest(home);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
    EXPECT_EQ(Snapshot(home), before) << "statistics, settings and save untouched";

    // FIFOs where the settings and the save lie are skipped, not waited on.
    QDir(home).removeRecursively();
    QDir().mkpath(home + QStringLiteral("/config/tovrik"));
    QDir().mkpath(home + QStringLiteral("/data/tovrik"));
    ASSERT_EQ(mkfifo(QFile::encodeName(home + QStringLiteral("/config/tovrik/tovrik.conf")).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(home + QStringLiteral("/data/tovrik/save.dat")).constData(), 0600), 0);
    run = RunSmokeTest(home);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();

    // A platform that cannot start is a failure with its reason, not an abort.
    run = RunSmokeTest(home, QStringLiteral("no-such-platform"));
    EXPECT_EQ(run.status, 1) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("the display platform cannot start"))) << run.output.toStdString();

    // No place to write the scratch copy: a failure with its reason.
    WriteText(home + QStringLiteral("/not-a-folder"), "x");
    run = RunSmokeTest(home, QStringLiteral("offscreen"), home + QStringLiteral("/not-a-folder"));
    EXPECT_EQ(run.status, 1) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("smoke test failed"))) << run.output.toStdString();
}

} // namespace
