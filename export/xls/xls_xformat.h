#pragma once
// What an export collects while it writes the sheets: distinct number-format texts (FORMAT
// records) and distinct extended formats (XF records), each numbered for the records that
// refer to them, with the fixed XF templates the globals begin with.
#include <array>
#include <cstddef>
#include <cstdint>

#include "export/xls/xls_format.h"

namespace vantrix {

class TbiffXF;

// XFs 0-15 as the globals write them: 0-14 style XFs, 15 the default cell XF (font 1).
inline constexpr int kDefaultCellXF = 15;
extern const std::array<std::array<uint8_t, 20>, 16> kXFTemplates;

// A number-format text and the FORMAT index the run gave it.
class TxlsTextFormat {
 public:
  uint16_t FormatIndex = 0;
  WideString FormatText = u"General";

  // False for null; else the texts are equal (case counting).
  bool IsEqual(const TxlsTextFormat* other) const { return other != nullptr && FormatText == other->FormatText; }
};

// One extended format: a font and a number format held by the run's lists (either may be
// null), and its own borders, fill, alignment, wrap and rotation.
class TxlsXFormat {
 public:
  TxlsXFormat(TxlsFont* font = nullptr, TxlsTextFormat* textFormat = nullptr)
      : Font(font), TextFormat(textFormat) {}

  uint16_t XFIndex = 0;
  TxlsFont* Font;
  TxlsTextFormat* TextFormat;
  TxlsBorders Borders;
  TxlsFill Fill;
  TxlsAlignment Alignment;
  bool Wrap = false;
  uint8_t Rotation = 0;

  void SetBorders(const TxlsBorders& b) { Borders = b; }
  void SetFill(const TxlsFill& f) { Fill = f; }
  void SetAlignment(const TxlsAlignment& a) { Alignment = a; }
  // False for null; fonts and text formats equal when both lack one or both have equal ones;
  // borders, fill, alignment, wrap and rotation equal.
  bool IsEqual(const TxlsXFormat* other) const;
  std::size_t Hash() const;
  // The 20-byte XF body: the default cell XF with this format's font, number format, fill,
  // borders (diagonals from DiagDown when it is styled, else from DiagUp) and alignment.
  void AssignToBinary(TbiffXF& record) const;
};

}  // namespace vantrix
