#pragma once

#include <QFont>

// Makes Tahoma available when the system has none: on Linux the program carries Wine's free Tahoma (regular
// face only, so that bold is drawn heavier from it; Wine's bold file has regular outlines). Call once after
// the QApplication exists. Returns whether Tahoma is available.
bool RegisterTahoma();

// Tahoma 8.25 pt (or the given size), bold when asked: the font of every window.
QFont TahomaFont(qreal pointSize = 8.25, bool bold = false);
