#pragma once

#include <QString>

#include <string>

// Code without Qt (board, game, sound) hands its messages to ShowMessage in
// Japanese; the message box translates them here, line by line, in the
// catalogue context "Message". Such texts are listed with QT_TRANSLATE_NOOP
// in MessageTexts.cpp so that lupdate collects them; a line without a
// translation (a file name, an error's own detail) is shown as it is.
QString TranslatedMessageText(const std::string& text);
