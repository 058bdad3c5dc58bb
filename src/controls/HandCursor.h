#pragma once

#include <QCursor>

// The pointing-hand pointer, 32 x 32, hot spot (5, 0).
QCursor HandCursor();
