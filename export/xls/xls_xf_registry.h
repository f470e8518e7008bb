#pragma once
// The run's registry of cell formats: every distinct extended format (XF) the sheets ask for,
// with the fonts and number formats it refers to, numbered for the FONT, FORMAT and XF records
// of the globals. Cells ask for their XF one by one (every cell, when a handler styles them),
// so an equal XF, font or number format is found by hash, and asking again for a known
// format builds nothing on the heap.
#include <cstdint>
#include <string_view>

#include "export/xls/xls_format_lists.h"

namespace vantrix {

class TxlsXFRegistry {
 public:
  // The numbers the counters start from: the first collected number format is 50, the first
  // XF 16 (0-15 are the globals' fixed ones), the first font 5 (0-3 are the default font
  // four times and 4 is never used).
  static constexpr int kFormatCounterStart = 49, kXFCounterStart = 15, kFontCounterStart = 4;
  // A number format text longer than this is cut: spreadsheet programs take no longer one.
  static constexpr size_t kMaxFormatLength = 255;

  TxlsFontList Fonts;
  TxlsTextFormatList TextFormats;
  TxlsXFormatList XFormats;
  TxlsXFormatFieldList FieldXFs;
  TxlsXFormatColRowList StripXFs;

  // The XF of a number format text and a cell format, registered when new: XF 15 for
  // "General" (or no text) without a format. The XF takes the format's font only when it is
  // not the workbook's default font (fonts 0-3 are that font already), and its borders, fill,
  // alignment, wrap and rotation.
  uint16_t AddXF(std::u16string_view formatText, const TxlsFormat* format);
  // The font's index, registered when new (the note boxes' fonts).
  uint16_t AddFont(const TxlsFont& font);
  // The registered XF of that index; null for the fixed ones (0-15) and unknown ones.
  const TxlsXFormat* XF(int xfIndex) const { return XFormats.FormatByFormatIndex(xfIndex); }
  // The font cells of that XF are drawn in; null for the default font.
  const TxlsFont* FontOfXF(int xfIndex) const;

  int FontCounter() const { return fontCounter_; }
  int FormatCounter() const { return formatCounter_; }
  int XFCounter() const { return xfCounter_; }

 private:
  TxlsTextFormat* RegisterTextFormat(std::u16string_view text);

  int formatCounter_ = kFormatCounterStart;
  int xfCounter_ = kXFCounterStart;
  int fontCounter_ = kFontCounterStart;
  // What a lookup builds the candidate XF from, kept so that it reuses their storage.
  TxlsFont defaultFont_;
  TxlsFont candidateFont_;
  TxlsTextFormat candidateText_;
};

}  // namespace vantrix
