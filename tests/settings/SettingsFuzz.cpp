// libFuzzer entry: any bytes as tovrik.conf, read through every accessor the
// game uses, then one change written back.
#include "MessageBox.h"
#include "Settings.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

QString FuzzFolder()
{
    return QDir::tempPath() + QStringLiteral("/tovrik-settings-fuzz-") + QString::number(::getpid());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fresh folder each time: set-asides must not pile up.
    static const QString folder = FuzzFolder();
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/tovrik.conf");
    SetMessageHandler([](const MessageRequest&) { return MessageResult::Ok; });
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    Settings settings(path);
    settings.Sound();
    settings.AutoHint();
    settings.Wallpaper();
    if (const auto game = settings.LastGame();
        game && (game->problem < 0 || game->problem > Settings::kHighestProblem || game->faceDown < 0 ||
                 game->faceDown > Settings::kMostFaceDown))
        std::abort();
    settings.WindowPosition();
    if (const Settings::WindowShape shape = settings.LastWindowShape();
        shape.size && (shape.size->width() > Settings::kLargestWindowSide ||
                       shape.size->height() > Settings::kLargestWindowSide || shape.size->isEmpty()))
        std::abort();
    settings.SetAutoHint(!settings.AutoHint());
    Settings::TakeStartProblems();
    return 0;
}
