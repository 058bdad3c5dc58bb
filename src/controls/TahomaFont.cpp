#include "controls/TahomaFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

const QString TahomaFamily = QStringLiteral("Tahoma");
const QString WineFontFolder = QStringLiteral("/usr/share/wine/fonts/");

bool HasTahoma() {
    return QFontDatabase::families().contains(TahomaFamily, Qt::CaseInsensitive);
}

} // namespace

bool RegisterTahoma() {
    if (HasTahoma()) {
        return true;
    }
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
        QFontDatabase::addApplicationFont(WineFontFolder + QLatin1String(file));
    }
    return HasTahoma();
}

QFont TahomaFont(qreal pointSize, bool bold) {
    QFont font(TahomaFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
