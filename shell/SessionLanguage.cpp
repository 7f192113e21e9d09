#include "SessionLanguage.h"

#include "QuotedText.h"
#include "Settings.h"

#include <QApplication>
#include <QFont>

#include <iostream>

namespace {

const QString kLanguageKey = QStringLiteral("language");

// The language asked for now, kept for the runs after; else the one kept before.
std::optional<QString> RequestedOrRemembered(const std::optional<QString>& requested, Settings& settings)
{
    if (requested) {
        settings.SetValue(kLanguageKey, *requested);
        return requested;
    }
    const QString remembered = settings.Value(kLanguageKey).toString();
    if (LanguageFromCode(remembered))
        return remembered;
    if (!remembered.isEmpty())
        std::cerr << "tovrik: the setting language=" << QuotedText(remembered.toStdString())
                  << " is not usable; the default is used\n";
    return std::nullopt;
}

} // namespace

UiLanguage StartSessionLanguage(const QStringList& systemLanguages, const std::optional<QString>& requested,
                                Settings& settings)
{
    static const QFont qtFont = QApplication::font();
    const UiLanguage language = ChooseLanguage(systemLanguages, RequestedOrRemembered(requested, settings));
    if (!InstallLanguage(language))
        std::cerr << "tovrik: the texts for language " << LanguageCode(language).toStdString()
                  << " are missing; showing the program's own\n";
    QFont font = qtFont;
    if (language != UiLanguage::Japanese)
        font.setFamilies(TextFontFamilies());
    QApplication::setFont(font);
    return language;
}
