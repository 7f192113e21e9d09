#pragma once

#include <QString>

// The message a layout shows in the player's language. The shipped layouts'
// own (Japanese) messages are translated through the catalogue, keyed by the
// file name and the message; any other layout, or a shipped file whose
// message was changed, shows its own message in every language.
QString TranslatedLayoutMessage(const QString& fileName, const QString& ownMessage);
