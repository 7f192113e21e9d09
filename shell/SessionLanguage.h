#pragma once

#include "Language.h"

class Settings;

#include <QString>
#include <QStringList>

#include <optional>

// Makes the player's language the session's, before any window is made: the
// one asked for on the command line (and remembered in settings from then
// on), otherwise the one remembered, otherwise the system's (ChooseLanguage).
// Installs its catalogues and gives Qt's own dialogs (message boxes, the file
// dialog) the windows' font families; a Japanese session keeps Qt's own font.
UiLanguage StartSessionLanguage(const QStringList& systemLanguages, const std::optional<QString>& requested,
                                Settings& settings);
