#include "MessageTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <utility>

namespace {

// The reasons NumberedError::ErrnoReason gives, in the words the player reads:
// Japanese in the code, English from the catalogue.
constexpr std::pair<const char*, const char*> kReasons[] = {
    {"No such file or directory", QT_TRANSLATE_NOOP("Message", "ファイルまたはフォルダーがありません")},
    {"Not a directory", QT_TRANSLATE_NOOP("Message", "フォルダーではありません")},
    {"Is a directory", QT_TRANSLATE_NOOP("Message", "フォルダーです")},
    {"Permission denied", QT_TRANSLATE_NOOP("Message", "アクセスが許可されていません")},
    {"Read-only file system", QT_TRANSLATE_NOOP("Message", "読み取り専用のファイルシステムです")},
    {"No space left on device", QT_TRANSLATE_NOOP("Message", "ディスクに空きがありません")},
    {"Disk quota exceeded", QT_TRANSLATE_NOOP("Message", "ディスクの割り当てを超えました")},
    {"File too large", QT_TRANSLATE_NOOP("Message", "ファイルが大きすぎます")},
    {"Input/output error", QT_TRANSLATE_NOOP("Message", "入出力エラーです")},
    {"File name too long", QT_TRANSLATE_NOOP("Message", "ファイル名が長すぎます")},
};

// A line that ends in an error's reason gets the reason in the player's language.
QString WithTranslatedReason(const QString& line)
{
    for (const auto& [reason, text] : kReasons) {
        const QString suffix = QStringLiteral(": ") + QString::fromUtf8(reason);
        if (line.endsWith(suffix))
            return line.left(line.size() - suffix.size() + 2) + QCoreApplication::translate("Message", text);
    }
    return line;
}

QString TranslatedLine(const QString& line)
{
    const QString translated = QCoreApplication::translate("Message", line.toUtf8());
    return translated == line ? WithTranslatedReason(line) : translated;
}

} // namespace

QString TranslatedMessageText(const std::string& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("(\r\n|\n)"));
    const QString message = QString::fromStdString(text);
    QString translated;
    qsizetype start = 0;
    for (const QRegularExpressionMatch& match : lineBreak.globalMatch(message)) {
        translated += TranslatedLine(message.mid(start, match.capturedStart() - start));
        translated += match.captured();
        start = match.capturedEnd();
    }
    return translated + TranslatedLine(message.mid(start));
}
