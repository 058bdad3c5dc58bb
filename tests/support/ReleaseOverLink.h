#pragma once

#include "controls/HyperLink.h"

#include <QLabel>
#include <QtTest>

// Presses and releases a mouse button over a link's text, where the link listens.
inline void ReleaseOverLink(HyperLink* link, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(link->findChild<QLabel*>(), button);
}
