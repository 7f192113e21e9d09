#include "SessionLanguage.h"

#include <QApplication>
#include <QFont>

#include <iostream>

UiLanguage StartSessionLanguage(const QStringList& systemLanguages, const std::optional<QString>& requested)
{
    static const QFont qtFont = QApplication::font();
    const UiLanguage language = ChooseLanguage(systemLanguages, requested);
    if (!InstallLanguage(language))
        std::cerr << "tovrik: the texts for language " << LanguageCode(language).toStdString()
                  << " are missing; showing the program's own\n";
    QFont font = qtFont;
    if (language != UiLanguage::Japanese)
        font.setFamilies(TextFontFamilies());
    QApplication::setFont(font);
    return language;
}
