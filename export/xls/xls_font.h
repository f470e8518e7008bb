#pragma once
// A cell font of the workbook model: size, style, palette colour, script, underline,
// character set and name; its FONT record body; and its exchange with the fonts of the
// windows (QFont and the export engine's TVantrixFont, each with a colour value).
#include <QFont>
#include <cstddef>
#include <cstdint>

#include "export/vantrix_font.h"
#include "export/xls/xls_palette.h"
#include "export/xls/xls_utils.h"

namespace vantrix {

class TbiffFont;

enum TxlsFontScript { fscNone, fscSuperscript, fscSubscript };
enum TxlsFontStyle { xfsBold, xfsItalic, xfsStrikeOut };
enum TxlsFontUnderline { fulNone, fulSingle, fulDouble, fulSingleAccounting, fulDoubleAccounting };

// A set of TxlsFontStyle.
class TxlsFontStyles {
 public:
  TxlsFontStyles() = default;
  TxlsFontStyles(std::initializer_list<TxlsFontStyle> styles) {
    for (TxlsFontStyle s : styles) Include(s);
  }
  bool Has(TxlsFontStyle s) const { return (bits_ >> s) & 1u; }
  void Include(TxlsFontStyle s) { bits_ = static_cast<uint8_t>(bits_ | (1u << s)); }
  void Exclude(TxlsFontStyle s) { bits_ = static_cast<uint8_t>(bits_ & ~(1u << s)); }
  void Set(TxlsFontStyle s, bool on) { on ? Include(s) : Exclude(s); }
  bool Empty() const { return bits_ == 0; }
  uint8_t Bits() const { return bits_; }
  bool operator==(const TxlsFontStyles&) const = default;

 private:
  uint8_t bits_ = 0;
};

class TxlsFont {
 public:
  // The largest size a FONT record's height holds as the spreadsheet programs take it.
  static constexpr int kMaxSize = 409;

  int Size = 10;  // points
  TxlsFontStyles Style;
  TxlsColor Color = clrBlack;
  TxlsFontScript Script = fscNone;
  TxlsFontUnderline Underline = fulNone;
  uint8_t Charset = 1;
  WideString Name = u"arial";
  // The BIFF font index the run's font list gave this font; 0 until then.
  uint16_t FontIndex = 0;

  // Every field but the font index.
  void Assign(const TxlsFont& source);
  // A window font with its colour value: size, bold, italic and strike-out, underline as
  // fulSingle, charset 1 (Qt has none), name, and the palette colour of that value
  // (clrBlack for a colour outside the palette).
  void Assign(const QFont& font, uint32_t color);
  void Assign(const TVantrixFont& font);
  void AssignTo(QFont& font, uint32_t& color) const;
  void AssignTo(TVantrixFont& font) const;

  // False for null; else size, style, colour, script, underline, charset and name (exactly,
  // case counting) equal.
  bool IsEqual(const TxlsFont* other) const;
  // Whether the name is worth storing: it differs from "arial" ignoring case.
  bool IsName() const;
  void SetDefault();
  std::size_t Hash() const;

  // The FONT record body: 16 bytes and the name in UTF-16 (cut at 255 characters).
  std::size_t BinarySize() const;
  // Fills a FONT record body of at least BinarySize() bytes. The size is kept within 1..409
  // points, so the height in twentieths of a point never wraps.
  void AssignToBinary(TbiffFont& record) const;
};

// The workbook's default font: no style, black, charset 1, "arial", 10 points (text widths of
// column widths and picture anchors are measured in it).
void SetDefaultXLSFont(TVantrixFont& font);
void SetDefaultXLSFont(QFont& font, uint32_t& color);

}  // namespace vantrix
