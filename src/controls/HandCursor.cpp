#include "controls/HandCursor.h"

#include <QPixmap>

QCursor HandCursor() {
    return QCursor(QPixmap(QStringLiteral(":/controls/hand-cursor.png")), 5, 0);
}
