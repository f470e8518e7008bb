#include "export/xls/xls_palette.h"

#include "export/library_strings.h"
#include "platform/color_text.h"

namespace vantrix {
namespace {

struct PaletteEntry {
  uint16_t index;
  uint32_t color;
};

constexpr PaletteEntry kPalette[kXLSColorCount] = {
    {8, 0x000000},  {60, 0x003399}, {59, 0x003333}, {58, 0x003300}, {56, 0x663300}, {18, 0x800000},
    {62, 0x993333}, {63, 0x333333}, {16, 0x000080}, {53, 0x0066FF}, {19, 0x008080}, {17, 0x008000},
    {21, 0x808000}, {12, 0xFF0000}, {54, 0x996666}, {23, 0x808080}, {10, 0x0000FF}, {52, 0x0099FF},
    {50, 0x00CC99}, {57, 0x669933}, {49, 0xCCCC33}, {48, 0xFF6633}, {20, 0x800080}, {55, 0x969696},
    {14, 0xFF00FF}, {51, 0x00CCFF}, {13, 0x00FFFF}, {11, 0x00FF00}, {15, 0xFFFF00}, {40, 0xFFCC00},
    {61, 0x663399}, {22, 0xC0C0C0}, {45, 0xCC99FF}, {47, 0x99CCFF}, {43, 0x99FFFF}, {42, 0xCCFFCC},
    {41, 0xFFFFCC}, {44, 0xFFCC99}, {46, 0xFF99CC}, {9, 0xFFFFFF},  {24, 0xFF9999}, {25, 0x663399},
    {26, 0xCCFFFF}, {27, 0xFFFFCC}, {28, 0x660066}, {29, 0x8080FF}, {30, 0xCC6600}, {31, 0xFFCCCC},
    {32, 0x800000}, {33, 0xFF00FF}, {34, 0x00FFFF}, {35, 0xFFFF00}, {36, 0x800080}, {37, 0x000080},
    {38, 0x808000}, {39, 0xFF0000},
};

const PaletteEntry& Entry(TxlsColor color) {
  const int i = static_cast<int>(color);
  return kPalette[i >= 0 && i < kXLSColorCount ? i : 0];
}

}  // namespace

uint16_t XLSPaletteIndex(TxlsColor color) { return Entry(color).index; }

uint32_t XLSColorValue(TxlsColor color) { return Entry(color).color; }

uint32_t XLSDefaultPaletteColor(int paletteIndex) {
  for (const PaletteEntry& e : kPalette)
    if (e.index == paletteIndex) return e.color;
  return 0;
}

TxlsColor XLSColorFromOrdinal(int ordinal, TxlsColor def) {
  return ordinal >= 0 && ordinal < kXLSColorCount ? static_cast<TxlsColor>(ordinal) : def;
}

bool FindXLSColor(uint32_t value, TxlsColor& color) {
  for (int i = 0; i < kXLSColorCount; ++i)
    if (kPalette[i].color == value) {
      color = static_cast<TxlsColor>(i);
      return true;
    }
  return false;
}

std::string XLSClr2Str(TxlsColor color) { return platform::ColorToString(XLSColorValue(color)); }

TxlsColor Str2XLSClr(std::string_view text) {
  uint32_t value = 0;
  if (!platform::TryStringToColor(text, value))
    throw EVantrixError("'" + std::string(text) + "' is not a valid colour");
  TxlsColor color = clrBlack;
  FindXLSColor(value, color);
  return color;
}

TxlsColor Str2XLSClrDef(std::string_view text, TxlsColor def) {
  uint32_t value = 0;
  if (!platform::TryStringToColor(text, value)) return def;
  TxlsColor color = clrBlack;
  FindXLSColor(value, color);
  return color;
}

}  // namespace vantrix
