#include "controls/TahomaFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

const QString TahomaFamily = QStringLiteral("Tahoma");
// Built in from Wine's fonts on systems without Tahoma of their own (see CMakeLists.txt).
const QString CarriedTahoma = QStringLiteral(":/fonts/tahoma.ttf");

bool HasTahoma() {
    return QFontDatabase::families().contains(TahomaFamily, Qt::CaseInsensitive);
}

} // namespace

bool RegisterTahoma() {
    if (HasTahoma()) {
        return true;
    }
    return QFontDatabase::addApplicationFont(CarriedTahoma) >= 0 && HasTahoma();
}

QFont TahomaFont(qreal pointSize, bool bold) {
    QFont font(TahomaFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
#ifdef _WIN32
    // Windows' GDI rounds every letter's advance to whole pixels, which makes a line of text wider than the
    // font's design; text laid out with DirectWrite (which Qt uses for this hinting) keeps the design widths
    // the windows were laid out for.
    font.setHintingPreference(QFont::PreferVerticalHinting);
#endif
    return font;
}
