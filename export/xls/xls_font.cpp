#include "export/xls/xls_font.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <functional>

#include "export/xls/biff_record.h"

namespace vantrix {
namespace {

constexpr size_t kMaxNameLength = 255;

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

WideString FromQString(const QString& text) {
  return WideString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

TxlsColor PaletteColorOf(uint32_t value) {
  TxlsColor color = clrBlack;
  FindXLSColor(value, color);
  return color;
}

uint8_t UnderlineByte(TxlsFontUnderline u) {
  switch (u) {
    case fulSingle: return 0x01;
    case fulDouble: return 0x02;
    case fulSingleAccounting: return 0x21;
    case fulDoubleAccounting: return 0x22;
    default: return 0x00;
  }
}

}  // namespace

void TxlsFont::Assign(const TxlsFont& source) {
  Size = source.Size;
  Style = source.Style;
  Color = source.Color;
  Script = source.Script;
  Underline = source.Underline;
  Charset = source.Charset;
  Name = source.Name;
}

void TxlsFont::Assign(const QFont& font, uint32_t color) {
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
  Size = static_cast<int>(std::lround(points));
  Style = {};
  Style.Set(xfsBold, font.bold());
  Style.Set(xfsItalic, font.italic());
  Style.Set(xfsStrikeOut, font.strikeOut());
  Underline = font.underline() ? fulSingle : fulNone;
  Script = fscNone;
  Charset = 1;
  Name = FromQString(font.family());
  Color = PaletteColorOf(color);
}

void TxlsFont::Assign(const TVantrixFont& font) {
  Size = font.size;
  Style = {};
  Style.Set(xfsBold, font.HasStyle(fsBold));
  Style.Set(xfsItalic, font.HasStyle(fsItalic));
  Style.Set(xfsStrikeOut, font.HasStyle(fsStrikeOut));
  Underline = font.HasStyle(fsUnderline) ? fulSingle : fulNone;
  Script = fscNone;
  Charset = static_cast<uint8_t>(font.charset);
  Name = Cp1252ToWide(font.name);
  Color = PaletteColorOf(font.color);
}

void TxlsFont::AssignTo(QFont& font, uint32_t& color) const {
  font.setPointSize(std::clamp(Size, 1, kMaxSize));
  font.setBold(Style.Has(xfsBold));
  font.setItalic(Style.Has(xfsItalic));
  font.setStrikeOut(Style.Has(xfsStrikeOut));
  font.setUnderline(Underline != fulNone);
  font.setFamily(ToQString(Name));
  color = XLSColorValue(Color);
}

void TxlsFont::AssignTo(TVantrixFont& font) const {
  font.size = Size;
  font.styles = 0;
  EditFontStyle(font, fsBold, Style.Has(xfsBold));
  EditFontStyle(font, fsItalic, Style.Has(xfsItalic));
  EditFontStyle(font, fsStrikeOut, Style.Has(xfsStrikeOut));
  EditFontStyle(font, fsUnderline, Underline != fulNone);
  font.color = XLSColorValue(Color);
  font.charset = Charset;
  font.name = WideToCp1252(Name);
}

bool TxlsFont::IsEqual(const TxlsFont* other) const {
  return other != nullptr && Size == other->Size && Style == other->Style && Color == other->Color &&
         Script == other->Script && Underline == other->Underline && Charset == other->Charset &&
         Name == other->Name;
}

bool TxlsFont::IsName() const { return !SameWideText(Name, u"arial"); }

void TxlsFont::SetDefault() { *this = TxlsFont(); }

std::size_t TxlsFont::Hash() const {
  std::size_t h = std::hash<std::u16string>()(Name);
  for (const std::size_t v : {static_cast<std::size_t>(Size), static_cast<std::size_t>(Style.Bits()),
                              static_cast<std::size_t>(Color), static_cast<std::size_t>(Script),
                              static_cast<std::size_t>(Underline), static_cast<std::size_t>(Charset)})
    h = (h ^ v) * 0x100000001B3ull;
  return h;
}

std::size_t TxlsFont::BinarySize() const { return 16 + 2 * std::min(Name.size(), kMaxNameLength); }

void TxlsFont::AssignToBinary(TbiffFont& record) const {
  record.Clear();
  record.SetHeight(static_cast<uint16_t>(std::clamp(Size, 1, kMaxSize) * 20));
  uint16_t options = 0;
  if (Style.Has(xfsItalic)) options += 0x0002;
  if (Style.Has(xfsStrikeOut)) options += 0x0008;
  record.SetOption(options);
  record.SetPaletteIndex(XLSPaletteIndex(Color));
  record.SetBoldness(Style.Has(xfsBold) ? 700 : 400);
  record.SetScript(static_cast<uint16_t>(Script));
  record.SetUnderline(UnderlineByte(Underline));
  record.SetCharset(Charset);
  const size_t length = std::min(Name.size(), kMaxNameLength);
  record.SetNameLen(static_cast<uint8_t>(length));
  record.SetNameOpt(1);
  record.SetName(std::u16string_view(Name).substr(0, length));
}

void SetDefaultXLSFont(TVantrixFont& font) { TxlsFont().AssignTo(font); }

void SetDefaultXLSFont(QFont& font, uint32_t& color) {
  font = QFont();
  TxlsFont().AssignTo(font, color);
}

}  // namespace vantrix
