#pragma once

#include <QFont>

// Registers Wine's free Tahoma (/usr/share/wine/fonts) when the system has no Tahoma; call once after the
// QApplication exists. Returns whether Tahoma is available.
bool RegisterTahoma();

// Tahoma 8.25 pt (or the given size), bold when asked: the font of every window.
QFont TahomaFont(qreal pointSize = 8.25, bool bold = false);
