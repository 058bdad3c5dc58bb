#pragma once

#include <QtGlobal>

// A control's extent as a window definition stores it for the controls: HIMETRIC units (0.01 mm) at 96 dots
// per inch.
inline qint32 Himetric(int pixels) {
    return qRound(pixels * 2540.0 / 96.0);
}
