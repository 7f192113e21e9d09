#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The language the program speaks. Its texts are written in Japanese; every
// other language comes from a compiled catalogue (":/i18n/tovrik_LANG.qm").
enum class UiLanguage { Japanese, English };

// The player's language: the one asked for on the command line ("ja" or "en"),
// otherwise the first of the system's preferred languages that the program
// speaks, otherwise English.
UiLanguage ChooseLanguage(const QStringList& systemLanguages, const std::optional<QString>& requested);

// The code of a language as the command line and the catalogues name it.
QString LanguageCode(UiLanguage language);
std::optional<UiLanguage> LanguageFromCode(const QString& code);

// Makes language the application's: installs the program's catalogue (none for
// Japanese) and Qt's own texts for it, replacing those installed before.
// Returns false when a catalogue that should be there could not be loaded.
bool InstallLanguage(UiLanguage language);

// The language installed last; Japanese until one is installed.
UiLanguage CurrentLanguage();

// The families asked for on-screen text, first present wins. A Japanese
// session asks for the Japanese fonts first; any other asks for a Latin font
// first, so its texts never fall on a missing CJK font, and keeps the CJK
// fonts behind it for a player's own Japanese layout messages.
QStringList TextFontFamilies();

// The button-bar sheet whose labels are in the current language.
QString ButtonSheetPath();
