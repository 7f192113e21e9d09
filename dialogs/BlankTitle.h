#pragma once

#include <QWidget>

// Qt's platform windows show the application name in place of an empty
// title; a lone space keeps the title bar free of text.
inline void SetBlankTitle(QWidget& window) { window.setWindowTitle(QStringLiteral(" ")); }
