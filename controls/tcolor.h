#pragma once
// Colours as the instruments' configuration records and the display settings store them:
// 0x00BBGGRR for a plain colour, or 0x80000000 + n for the desktop's system colour n.
#include <QColor>
#include <cstdint>

namespace draw {

using TColor = uint32_t;

// Colours the controls name directly.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clGray = 0x808080;

// System colours: 0x80000000 + index.
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clBackground = 0x80000001;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor cl3DDkShadow = 0x80000015;
inline constexpr TColor cl3DLight = 0x80000016;
inline constexpr TColor clInfoText = 0x80000017;
inline constexpr TColor clInfoBk = 0x80000018;

inline constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == clSystemColor; }

// The fixed RGB of a system colour (a classic light desktop theme), so that every machine
// renders the same pixels whatever its own widget palette. Unknown indexes give mid grey.
QRgb SystemColorRgb(unsigned index);

// A colour value as 0x00RRGGBB: system colours resolved, plain colours byte-swapped.
// Only the low 24 bits of a plain colour count (the high byte of palette-relative values
// is dropped).
QRgb ToRgb(TColor color);

// The opaque QColor of a colour value.
QColor ToQColor(TColor color);

// Back from an opaque QColor to a plain 0x00BBGGRR value.
TColor FromQColor(const QColor& color);

}  // namespace draw
