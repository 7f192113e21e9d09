#include "Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSound = QStringLiteral("sound");
const QString kAutoHint = QStringLiteral("autoHint");
const QString kStatus = QStringLiteral("status");
const QString kWallpaper = QStringLiteral("wallpaper");
const QString kLastLayout = QStringLiteral("lastGame/layout");
const QString kLastProblem = QStringLiteral("lastGame/problem");
const QString kLastFaceDown = QStringLiteral("lastGame/faceDown");
const QString kWindowPosition = QStringLiteral("window/position");
const QString kWindowSize = QStringLiteral("window/size");
const QString kWindowMaximised = QStringLiteral("window/maximised");
const QString kWindowFullScreen = QStringLiteral("window/fullScreen");

} // namespace

Settings::Settings() : Settings(DefaultFilePath()) {}

Settings::Settings(const QString& filePath) : store_(SetAsideIfUnusable(filePath), QSettings::IniFormat) {}

const QString& Settings::SetAsideIfUnusable(const QString& filePath)
{
    constexpr qint64 kLargestUsable = 1 << 20;
    const QFileInfo file(filePath);
    if (file.exists() && (!file.isFile() || file.size() > kLargestUsable)) {
        const QString aside = filePath + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::rename(filePath, aside);
    }
    return filePath;
}

QString Settings::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tovrik/tovrik.conf");
}

bool Settings::Sound() const
{
    return Flag(kSound);
}

void Settings::SetSound(bool on)
{
    SetValue(kSound, on);
}

bool Settings::AutoHint() const
{
    return Flag(kAutoHint);
}

void Settings::SetAutoHint(bool on)
{
    SetValue(kAutoHint, on);
}

bool Settings::StatusShown() const
{
    const QString text = Value(kStatus).toString().toLower();
    return text != QStringLiteral("false") && text != QStringLiteral("0");
}

void Settings::SetStatusShown(bool on)
{
    SetValue(kStatus, on);
}

QString Settings::Wallpaper() const
{
    const QString path = Value(kWallpaper).toString();
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

void Settings::SetWallpaper(const QString& path)
{
    SetValue(kWallpaper, path);
}

std::optional<Settings::GameChoice> Settings::LastGame() const
{
    const QString layout = Value(kLastLayout).toString();
    const std::optional<int32_t> problem = WholeNumber(kLastProblem, 0, kHighestProblem);
    const std::optional<int32_t> faceDown = WholeNumber(kLastFaceDown, 0, kMostFaceDown);
    if (layout.isEmpty() || layout.contains(u'/') || !problem || !faceDown)
        return std::nullopt;
    return GameChoice{layout, *problem, *faceDown};
}

void Settings::SetLastGame(const GameChoice& game)
{
    store_.setValue(kLastLayout, game.layout);
    store_.setValue(kLastProblem, game.problem);
    SetValue(kLastFaceDown, game.faceDown);
}

std::optional<QPoint> Settings::WindowPosition() const
{
    const QVariant value = Value(kWindowPosition);
    if (!value.canConvert<QPoint>())
        return std::nullopt;
    return value.toPoint();
}

void Settings::SetWindowPosition(QPoint topLeft)
{
    SetValue(kWindowPosition, topLeft);
}

Settings::WindowShape Settings::LastWindowShape() const
{
    WindowShape shape;
    const QSize size = Value(kWindowSize).toSize();
    if (size.isValid() && !size.isEmpty())
        shape.size = size;
    shape.maximised = Flag(kWindowMaximised);
    shape.fullScreen = Flag(kWindowFullScreen);
    return shape;
}

void Settings::SetLastWindowShape(const WindowShape& shape)
{
    if (shape.size)
        store_.setValue(kWindowSize, *shape.size);
    store_.setValue(kWindowMaximised, shape.maximised);
    SetValue(kWindowFullScreen, shape.fullScreen);
}

QVariant Settings::Value(const QString& key, const QVariant& fallback) const
{
    return store_.value(key, fallback);
}

void Settings::SetValue(const QString& key, const QVariant& value)
{
    store_.setValue(key, value);
    store_.sync();
}

void Settings::Remove(const QString& key)
{
    store_.remove(key);
    store_.sync();
}

bool Settings::Flag(const QString& key) const
{
    const QString text = Value(key).toString().toLower();
    return text == QStringLiteral("true") || text == QStringLiteral("1");
}

std::optional<int32_t> Settings::WholeNumber(const QString& key, int32_t lowest, int32_t highest) const
{
    bool ok = false;
    const int value = Value(key).toString().toInt(&ok, 10);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}
