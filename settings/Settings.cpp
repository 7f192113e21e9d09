#include "Settings.h"

#include "MessageBox.h"
#include "NumberedError.h"
#include "QuotedText.h"
#include "SetAside.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRect>
#include <QStandardPaths>

#include <cerrno>
#include <iostream>
#include <utility>

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

// Told once a run, whichever instance finds them.
QStringList startProblems;
bool writeFailureTold = false;

QString Quoted(const QString& path)
{
    return QString::fromStdString(QuotedPath(path.toStdString()));
}

void AddStartProblem(const QString& filePath, const QString& reason, const QString& aside)
{
    QString text = QCoreApplication::translate("Settings", "設定ファイルを使えないため、初期設定で始めます。") + u'\n' + Quoted(filePath) + u'\n' + reason;
    if (!aside.isEmpty())
        text += u'\n' + QCoreApplication::translate("Settings", "元のファイルは次の名前で残してあります:") + u'\n' + Quoted(aside);
    std::cerr << "tovrik: " << text.toStdString() << '\n';
    startProblems << text;
}

// What stands in the way of writing filePath, in the words errno would use.
QString WriteFailureReason(const QString& filePath)
{
    const QFileInfo file(filePath);
    const QFileInfo folder(file.absolutePath());
    int error = EACCES;
    if (folder.exists() && !folder.isDir())
        error = ENOTDIR;
    else if (file.exists() && !file.isFile())
        error = EISDIR;
    return QString::fromStdString(NumberedError::ErrnoReason(error));
}

} // namespace

Settings::Settings() : Settings(DefaultFilePath()) {}

Settings::Settings(const QString& filePath) : store_(SetAsideIfUnusable(filePath), QSettings::IniFormat)
{
    CheckRead();
}

const QString& Settings::SetAsideIfUnusable(const QString& filePath)
{
    const QFileInfo file(filePath);
    if (!file.exists() && !file.isSymLink())
        return filePath;
    QString reason;
    if (!file.isFile())
        reason = QCoreApplication::translate("Settings", "通常のファイルではありません。");
    else if (file.size() > kLargestUsableFile)
        reason = QCoreApplication::translate("Settings", "1 MiB を超えています。");
    else if (!file.isReadable())
        reason = QCoreApplication::translate("Settings", "読み込めません。");
    if (!reason.isEmpty())
        AddStartProblem(filePath, reason, QString::fromStdString(MoveAside(filePath.toStdString())));
    return filePath;
}

void Settings::CheckRead()
{
    if (store_.status() != QSettings::FormatError)
        return;
    // What could be read stays in memory; the file itself is kept for the player.
    const QString aside = QString::fromStdString(MoveAside(FilePath().toStdString()));
    AddStartProblem(FilePath(), QCoreApplication::translate("Settings", "設定ファイルの形式ではありません。"), aside);
}

void Settings::CheckWritten()
{
    if (store_.status() == QSettings::NoError || writeFailureTold)
        return;
    writeFailureTold = true;
    const QString text = QCoreApplication::translate("Settings", "設定を保存できません。変更はこのゲームを終えるまで有効です。") + u'\n' +
                         Quoted(FilePath()) + QStringLiteral(": ") + WriteFailureReason(FilePath());
    ShowMessage({text.toStdString(), {}, MessageButtons::Ok, MessageIcon::Warning});
}

QStringList Settings::TakeStartProblems()
{
    return std::exchange(startProblems, {});
}

void Settings::Rejected(const QString& key) const
{
    if (rejectedKeys_.contains(key))
        return;
    rejectedKeys_ << key;
    const QVariant value = Value(key);
    QString shown = value.toString();
    if (value.typeId() == QMetaType::QSize)
        shown = QStringLiteral("%1 x %2").arg(value.toSize().width()).arg(value.toSize().height());
    else if (value.typeId() == QMetaType::QPoint)
        shown = QStringLiteral("%1, %2").arg(value.toPoint().x()).arg(value.toPoint().y());
    std::cerr << "tovrik: the setting " << key.toStdString() << "=" << QuotedText(shown.toStdString())
              << " is not usable; the default is used\n";
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
    if (layout.contains(u'/'))
        Rejected(kLastLayout);
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
    if (!value.isValid())
        return std::nullopt;
    const QPoint point = value.toPoint();
    const QRect plausible(-kLargestWindowSide, -kLargestWindowSide, 2 * kLargestWindowSide, 2 * kLargestWindowSide);
    if (value.typeId() != QMetaType::QPoint || !plausible.contains(point)) {
        Rejected(kWindowPosition);
        return std::nullopt;
    }
    return point;
}

void Settings::SetWindowPosition(QPoint topLeft)
{
    SetValue(kWindowPosition, topLeft);
}

Settings::WindowShape Settings::LastWindowShape() const
{
    WindowShape shape;
    const QVariant value = Value(kWindowSize);
    const QSize size = value.toSize();
    const bool plausible = value.typeId() == QMetaType::QSize && size.width() >= 1 && size.height() >= 1 &&
                           size.width() <= kLargestWindowSide && size.height() <= kLargestWindowSide;
    if (plausible)
        shape.size = size;
    else if (value.isValid())
        Rejected(kWindowSize);
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
    CheckWritten();
}

void Settings::Remove(const QString& key)
{
    store_.remove(key);
    store_.sync();
    CheckWritten();
}

bool Settings::Flag(const QString& key) const
{
    const QVariant value = Value(key);
    const QString text = value.toString().toLower();
    const bool on = text == QStringLiteral("true") || text == QStringLiteral("1");
    if (value.isValid() && !on && text != QStringLiteral("false") && text != QStringLiteral("0"))
        Rejected(key);
    return on;
}

std::optional<int32_t> Settings::WholeNumber(const QString& key, int32_t lowest, int32_t highest) const
{
    bool ok = false;
    const QVariant stored = Value(key);
    const int value = stored.toString().toInt(&ok, 10);
    if (!ok || value < lowest || value > highest) {
        if (stored.isValid())
            Rejected(key);
        return std::nullopt;
    }
    return value;
}
