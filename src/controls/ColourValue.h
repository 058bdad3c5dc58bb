#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// 0x00BBGGRR explicit colours and 0x800000nn system colours (0x8000000F button face, 0x80000010 button
// shadow, 0x80000014 button highlight, at least), resolved against the widget's current palette.
using ColourValue = quint32;

inline constexpr ColourValue ButtonFaceColour = 0x8000000F;
inline constexpr ColourValue ButtonShadowColour = 0x80000010;
inline constexpr ColourValue ButtonHighlightColour = 0x80000014;

QColor ResolveColour(ColourValue value, const QPalette& palette);
