#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CatalogueEntry {
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString translationType;  // "unfinished", "vanished", "obsolete" or empty

    QString Key() const { return context + u'\x1F' + source + u'\x1F' + comment; }
};

QStringList Listed(const char* joined)
{
    return QString::fromUtf8(joined).split(u'|', Qt::SkipEmptyParts);
}

// An element's text; lupdate writes control characters as <byte value="xd"/>.
QString ReadText(QXmlStreamReader& xml)
{
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == u"byte")
            text += QChar(xml.attributes().value(QLatin1String("value")).mid(1).toUShort(nullptr, 16));
        else if (xml.isEndElement() && xml.name() != u"byte")
            break;
    }
    return text;
}

std::vector<CatalogueEntry> ReadCatalogue(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<CatalogueEntry> entries;
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = ReadText(xml);
        } else if (xml.name() == u"message") {
            entries.push_back({context, {}, {}, {}, {}});
        } else if (xml.name() == u"source") {
            entries.back().source = ReadText(xml);
        } else if (xml.name() == u"comment") {
            entries.back().comment = ReadText(xml);
        } else if (xml.name() == u"translation") {
            entries.back().translationType = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = ReadText(xml);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return entries;
}

QSet<QString> Keys(const std::vector<CatalogueEntry>& entries)
{
    QSet<QString> keys;
    for (const CatalogueEntry& entry : entries)
        keys.insert(entry.Key());
    return keys;
}

// The catalogue as lupdate makes it from today's code: new texts come in
// unfinished, texts no longer in the code are dropped.
std::vector<CatalogueEntry> UpdatedCopy(const QString& catalogue)
{
    const QString copy = QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/i18n/") + QFileInfo(catalogue).fileName();
    QDir().mkpath(QFileInfo(copy).path());
    QFile::remove(copy);
    EXPECT_TRUE(QFile::copy(catalogue, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.start(QString::fromUtf8(TOVRIK_LUPDATE),
                  Listed(TOVRIK_TRANSLATED_FOLDERS) + QStringList{QStringLiteral("-extensions"), QStringLiteral("cpp,h"),
                                                                  QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                                                                  QStringLiteral("none"), QStringLiteral("-silent"),
                                                                  QStringLiteral("-ts"), copy});
    EXPECT_TRUE(lupdate.waitForFinished(120000));
    EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    return ReadCatalogue(copy);
}

std::string Describe(const CatalogueEntry& entry)
{
    return (entry.context + QStringLiteral(": \"") + entry.source + u'"' +
            (entry.comment.isEmpty() ? QString() : QStringLiteral(" (") + entry.comment + u')'))
        .toStdString();
}

// Kana, CJK ideographs and full-width forms.
bool HasJapanese(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Japanese text in the code that is data, not words for the player: font
// family names and the tile names written to answer files.
const QSet<QString> kUntranslatedNames = {
    QStringLiteral("ＭＳ ゴシック"),
    QStringLiteral("一萬二萬三萬四萬伍萬六萬七萬八萬九萬◆◆"),
    QStringLiteral("１索２索３索４索５索６索７索８索９索◆◆"),
    QStringLiteral("１筒２筒３筒４筒５筒６筒７筒８筒９筒◆◆"),
    QStringLiteral("東　南　西　北　白　発　中　□　鳳　龍　"),
    QStringLiteral("季春季夏季秋季冬花梅花蘭花竹花菊百塔◆◆"),
    QStringLiteral("天牌女牌散牌華牌"),
};

// Each line of every string literal with Japanese in it in a source file that
// is not the text of a translation call (whose texts lupdate collects).
QStringList UntranslatedJapaneseLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString code = QString::fromUtf8(file.readAll());
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    static const QRegularExpression lineBreak(QStringLiteral(R"(\\r\\n|\\n|\\r)"));
    static const QRegularExpression translationCall(
        QStringLiteral(R"re(\b(tr|translate|QT_TR_NOOP|QT_TRANSLATE_NOOP3?)\s*\(\s*("[^"]*"\s*,\s*)?$)re"));
    QStringList lines;
    for (const QRegularExpressionMatch& match : literal.globalMatch(code)) {
        const QString text = match.captured(1);
        const QString before = code.mid(0, match.capturedStart()).right(160);
        if (!HasJapanese(text) || translationCall.match(before).hasMatch())
            continue;
        for (const QString& line : text.split(lineBreak, Qt::SkipEmptyParts))
            lines.append(line);
    }
    return lines;
}

} // namespace

TEST(Catalogue, EveryTextInTheCodeHasAFinishedTranslationAndNoOtherEntry)
{
    for (const QString& catalogue : Listed(TOVRIK_CATALOGUES)) {
        SCOPED_TRACE(catalogue.toStdString());
        const std::vector<CatalogueEntry> updated = UpdatedCopy(catalogue);
        // The program's texts were found at all: dialogs, panel, messages and layouts.
        EXPECT_GE(updated.size(), 45u);
        for (const CatalogueEntry& entry : updated) {
            EXPECT_EQ(entry.translationType, QString()) << Describe(entry) << " is not translated";
            EXPECT_FALSE(entry.translation.trimmed().isEmpty()) << Describe(entry) << " has an empty translation";
        }
        const QSet<QString> committed = Keys(ReadCatalogue(catalogue));
        for (const CatalogueEntry& entry : updated)
            EXPECT_TRUE(committed.contains(entry.Key())) << Describe(entry) << " is missing from the catalogue";
        EXPECT_EQ(committed, Keys(updated)) << "the catalogue holds texts the code no longer has";
    }
}

// Japanese in a string literal outside the translation calls is text that code
// without Qt hands to a message box: the box translates it in the context
// "Message", so it must be there (listed in shell/MessageTexts.cpp).
TEST(Catalogue, JapaneseTextOutsideTranslationCallsIsAMessageTextOrAName)
{
    QSet<QString> known = kUntranslatedNames;
    for (const QString& catalogue : Listed(TOVRIK_CATALOGUES))
        for (const CatalogueEntry& entry : ReadCatalogue(catalogue))
            if (entry.context == u"Message")
                for (const QString& line : entry.source.split(QRegularExpression(QStringLiteral("\r\n|\n|\r"))))
                    known.insert(line);
    int scanned = 0;
    for (const QString& folder : Listed(TOVRIK_TRANSLATED_FOLDERS)) {
        QDirIterator files(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            ++scanned;
            for (const QString& line : UntranslatedJapaneseLines(path))
                EXPECT_TRUE(known.contains(line)) << path.toStdString() << ": \"" << line.toStdString()
                                                  << "\" is shown untranslated";
        }
    }
    EXPECT_GT(scanned, 20);
}
