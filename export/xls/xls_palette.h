#pragma once
// The workbook's 56 palette colours: each has a fixed colour (0x00BBGGRR, shown to the user
// and written in option files) and the BIFF palette index that FONT and XF records store.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrix {

enum TxlsColor {
  clrBlack, clrBrown, clrOliveGreen, clrDarkGreen, clrDarkTeal, clrDarkBlue, clrIndigo, clrGray80Percent,
  clrDarkRed, clrOrange, clrDarkYellow, clrGreen, clrTeal, clrBlue, clrBlueGray, clrGray50Percent,
  clrRed, clrLightOrange, clrLime, clrSeaGreen, clrAqua, clrLightBlue, clrViolet, clrGray40Percent,
  clrPink, clrGold, clrYellow, clrBrightGreen, clrTurquoise, clrSkyBlue, clrPlum, clrGray25Percent,
  clrRose, clrTan, clrLightYellow, clrLihtGreen, clrLightTurquoise, clrPaleBlue, clrLavender, clrWhite,
  clrColor1, clrColor2, clrColor3, clrColor4, clrColor5, clrColor6, clrColor7, clrColor8,
  clrColor9, clrColor10, clrColor11, clrColor12, clrColor13, clrColor14, clrColor15, clrColor16,
};
inline constexpr int kXLSColorCount = 56;
// Palette indices 24..39 (clrColor1..clrColor16) are the entries an exporter may redefine.
inline constexpr int kFirstExtendedPaletteIndex = 24;

// The colour's BIFF palette index (8..63).
uint16_t XLSPaletteIndex(TxlsColor color);
// The colour's fixed colour value.
uint32_t XLSColorValue(TxlsColor color);
// The default colour of a BIFF palette index 8..63 (what the PALETTE record writes unless an
// entry is redefined); 0 for other indices.
uint32_t XLSDefaultPaletteColor(int paletteIndex);
// The colour named by an ordinal read from a file; def when out of range.
TxlsColor XLSColorFromOrdinal(int ordinal, TxlsColor def);
// The lowest ordinal whose fixed colour is value, or false.
bool FindXLSColor(uint32_t value, TxlsColor& color);

// The colour as option files write it: a colour identifier ("clBlack") or "$" and eight
// hexadecimal digits.
std::string XLSClr2Str(TxlsColor color);
// Back: the lowest ordinal whose colour the text names (so a colour that occurs twice always
// reads as the first: 0x663399 is clrPlum, not clrColor2); clrBlack for a colour outside the
// palette. A text that is neither a colour identifier nor a number raises EVantrixError.
TxlsColor Str2XLSClr(std::string_view text);
// The same, with def for a text that is not a colour at all.
TxlsColor Str2XLSClrDef(std::string_view text, TxlsColor def);

}  // namespace vantrix
