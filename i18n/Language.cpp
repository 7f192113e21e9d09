#include "Language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

namespace {

UiLanguage& Current()
{
    static UiLanguage language = UiLanguage::Japanese;
    return language;
}

// The catalogues installed now; each install replaces them.
std::vector<std::unique_ptr<QTranslator>>& Installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

bool InstallCatalogue(const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    Installed().push_back(std::move(translator));
    return true;
}

void RemoveInstalled()
{
    for (const auto& translator : Installed())
        QCoreApplication::removeTranslator(translator.get());
    Installed().clear();
}

} // namespace

UiLanguage ChooseLanguage(const QStringList& systemLanguages, const std::optional<QString>& requested)
{
    if (requested) {
        if (const std::optional<UiLanguage> language = LanguageFromCode(*requested))
            return *language;
    }
    for (const QString& name : systemLanguages) {
        // "ja", "ja-JP", "ja_JP.UTF-8" all name Japanese.
        const QString code = name.section(u'-', 0, 0).section(u'_', 0, 0);
        if (const std::optional<UiLanguage> language = LanguageFromCode(code))
            return *language;
    }
    return UiLanguage::English;
}

QString LanguageCode(UiLanguage language)
{
    return language == UiLanguage::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
}

std::optional<UiLanguage> LanguageFromCode(const QString& code)
{
    if (code.compare(QStringLiteral("ja"), Qt::CaseInsensitive) == 0)
        return UiLanguage::Japanese;
    if (code.compare(QStringLiteral("en"), Qt::CaseInsensitive) == 0)
        return UiLanguage::English;
    return std::nullopt;
}

bool InstallLanguage(UiLanguage language)
{
    RemoveInstalled();
    Current() = language;
    if (language == UiLanguage::English)
        return InstallCatalogue(QStringLiteral("tovrik_en"), QStringLiteral(":/i18n"));
    // The program's own texts are Japanese already; only Qt's buttons and file dialog need it.
    return InstallCatalogue(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

UiLanguage CurrentLanguage()
{
    return Current();
}

QStringList TextFontFamilies()
{
    const QStringList japanese = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                                  QStringLiteral("Noto Sans CJK JP")};
    if (Current() == UiLanguage::Japanese)
        return japanese;
    return QStringList{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")} + japanese;
}

QString ButtonSheetPath()
{
    const QString english = QStringLiteral(":/sheets/buttons-en.png");
    if (Current() == UiLanguage::English && QFile::exists(english))
        return english;
    return QStringLiteral(":/sheets/buttons.png");
}
