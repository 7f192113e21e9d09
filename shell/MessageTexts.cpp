#include "MessageTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>

QString TranslatedMessageText(const std::string& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("(\r\n|\n)"));
    const QString message = QString::fromStdString(text);
    QString translated;
    qsizetype start = 0;
    for (const QRegularExpressionMatch& match : lineBreak.globalMatch(message)) {
        translated += QCoreApplication::translate("Message", message.mid(start, match.capturedStart() - start).toUtf8());
        translated += match.captured();
        start = match.capturedEnd();
    }
    return translated + QCoreApplication::translate("Message", message.mid(start).toUtf8());
}
