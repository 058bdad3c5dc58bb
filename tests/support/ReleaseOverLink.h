#pragma once

#include "controls/HyperLink.h"

#include <QLabel>
#include <QtTest>

// Presses and releases a mouse button over a link's text, where the link listens.
inline void ReleaseOverLink(HyperLink* link, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* text = link->findChild<QLabel*>();
    QTest::mousePress(text, button);
    QTest::mouseRelease(text, button);
}
