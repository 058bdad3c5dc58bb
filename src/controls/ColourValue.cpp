#include "controls/ColourValue.h"

namespace {

constexpr ColourValue SystemColourFlag = 0x80000000;

// The palette colour that stands for a Windows system colour index; the window colour for indexes no role
// matches (desktop, captions, borders, workspace).
QColor SystemColour(quint32 index, const QPalette& palette) {
    switch (index) {
    case 5:
        return palette.color(QPalette::Base);
    case 7:
        return palette.color(QPalette::WindowText);
    case 8:
        return palette.color(QPalette::Text);
    case 13:
        return palette.color(QPalette::Highlight);
    case 14:
        return palette.color(QPalette::HighlightedText);
    case 15:
        return palette.color(QPalette::Button);
    case 16:
        return palette.color(QPalette::Dark);
    case 17:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return palette.color(QPalette::ButtonText);
    case 20:
        return palette.color(QPalette::Light);
    case 21:
        return palette.color(QPalette::Shadow);
    case 22:
        return palette.color(QPalette::Midlight);
    case 23:
        return palette.color(QPalette::ToolTipText);
    case 24:
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor ResolveColour(ColourValue value, const QPalette& palette) {
    if ((value & SystemColourFlag) != 0) {
        return SystemColour(value & 0xFF, palette);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
