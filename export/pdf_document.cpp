#include "export/pdf_document.h"

#include <charconv>
#include <cmath>

#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/page_units.h"

namespace vantrix {
namespace {

// Numbers go out without the C library's locale: "%d", "%.Nf" and "%10.10d" by hand.
void AppendInt(std::string& out, long long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendFixed(std::string& out, double value, int places) {
  if (!std::isfinite(value)) value = 0;
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, places);
  if (result.ec != std::errc()) {
    out.push_back('0');
    return;
  }
  out.append(digits, result.ptr);
}

void AppendPadded10(std::string& out, unsigned long long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const size_t length = static_cast<size_t>(result.ptr - digits);
  if (length < 10) out.append(10 - length, '0');
  out.append(digits, length);
}

}  // namespace

void AppendPDFString(std::string& out, std::string_view text) {
  size_t plain = 0;  // start of the run of bytes that go out as they are
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const unsigned char shown = PDFShownCode(static_cast<unsigned char>(c));
    const bool escaped = c == '(' || c == ')' || c == '\\';
    if (!escaped && shown == static_cast<unsigned char>(c)) continue;
    out.append(text.data() + plain, i - plain);
    plain = i + 1;
    if (escaped) out.push_back('\\');
    out.push_back(static_cast<char>(shown));
  }
  out.append(text.data() + plain, text.size() - plain);
}

TPDFDocument::TPDFDocument(OutputStream& stream) : stream_(stream) {}

int TPDFDocument::AddObj() {
  offsets_.push_back(position_);
  return static_cast<int>(offsets_.size());
}

void TPDFDocument::WriteStr2PDF(std::string_view text) {
  stream_.Write(text);
  position_ += text.size();
}

void TPDFDocument::BeginDoc() {
  pages_.clear();
  offsets_.clear();
  fonts_.clear();
  LineWidth = 1.0;
  LineSpacing = 1.0;
  LineColor = 0;
  FillColor = 0;
  WriteStr2PDF("%PDF-1.3\r");
}

void TPDFDocument::NewPage() {
  EndPage();
  const int n = AddObj();
  pages_.push_back(n);
  buffer_.clear();
  AppendInt(buffer_, n);
  buffer_ += " 0 obj\r<< /Length ";
  AppendInt(buffer_, n + 1);
  // The keyword ends with CR LF: a CR alone is not allowed there.
  buffer_ += " 0 R >>\rstream\r\n";
  WriteStr2PDF(buffer_);
  contentStart_ = position_;
}

void TPDFDocument::EndPage() {
  if (pages_.empty()) return;
  const unsigned long long length = position_ - contentStart_;
  WriteStr2PDF("endstream\rendobj\r");
  const int m = AddObj();
  buffer_.clear();
  AppendInt(buffer_, m);
  buffer_ += " 0 obj\r";
  AppendInt(buffer_, static_cast<long long>(length));
  buffer_ += " \rendobj\r";
  WriteStr2PDF(buffer_);
}

int TPDFDocument::AddFont(const TPDFFont& font) {
  for (const TPDFFont& registered : fonts_)
    if (registered.Name == font.Name) throw EVantrixError("Font " + font.Name + " already exists");
  fonts_.push_back(font);
  return static_cast<int>(fonts_.size()) - 1;
}

void TPDFDocument::StringOut(int x, int y, std::string_view text, uint32_t color) {
  if (color != FillColor) ChangeFillColor(color);
  buffer_.clear();
  buffer_ += "BT\r/";
  buffer_ += Font.Name;
  buffer_.push_back(' ');
  AppendInt(buffer_, Font.FontSize);
  buffer_ += " Tf\r";
  AppendInt(buffer_, x);
  buffer_.push_back(' ');
  AppendInt(buffer_, y);
  buffer_ += " Td (";
  AppendPDFString(buffer_, text);
  buffer_ += ") Tj\rET\r";
  WriteStr2PDF(buffer_);
}

void TPDFDocument::TextOut(int x, int y, const TStrings& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    StringOut(x, y - static_cast<int>(RoundHalfEven(static_cast<double>(i) * LineSpacing * Font.FontSize)), lines[i],
              FillColor);
}

void TPDFDocument::Line(double x1, double y1, double x2, double y2, uint32_t color) {
  if (color != LineColor) ChangeLineColor(color);
  // The width is set before the path begins: inside a path it is not allowed.
  buffer_.clear();
  AppendFixed(buffer_, LineWidth, 1);
  buffer_ += " w \r";
  AppendFixed(buffer_, x1, 1);
  buffer_.push_back(' ');
  AppendFixed(buffer_, y1, 1);
  buffer_ += " m \r";
  AppendFixed(buffer_, x2, 1);
  buffer_.push_back(' ');
  AppendFixed(buffer_, y2, 1);
  buffer_ += " l \rS\r";
  WriteStr2PDF(buffer_);
}

void TPDFDocument::FillRect(double x, double y, double w, double h, uint32_t color) {
  if (color != FillColor) ChangeFillColor(color);
  buffer_.clear();
  AppendFixed(buffer_, x, 1);
  buffer_.push_back(' ');
  AppendFixed(buffer_, y, 1);
  buffer_.push_back(' ');
  AppendFixed(buffer_, w, 1);
  buffer_.push_back(' ');
  AppendFixed(buffer_, h, 1);
  buffer_ += " re f\r";
  WriteStr2PDF(buffer_);
}

void TPDFDocument::WriteColor(uint32_t color, std::string_view op) {
  buffer_.clear();
  AppendFixed(buffer_, (color & 0xFF) / 255.0, 6);
  buffer_.push_back(' ');
  AppendFixed(buffer_, ((color >> 8) & 0xFF) / 255.0, 6);
  buffer_.push_back(' ');
  AppendFixed(buffer_, ((color >> 16) & 0xFF) / 255.0, 6);
  buffer_.push_back(' ');
  buffer_ += op;
  buffer_.push_back('\r');
  WriteStr2PDF(buffer_);
}

uint32_t TPDFDocument::ChangeLineColor(uint32_t color) {
  const uint32_t previous = LineColor;
  WriteColor(color, "RG");
  LineColor = color;
  return previous;
}

uint32_t TPDFDocument::ChangeFillColor(uint32_t color) {
  const uint32_t previous = FillColor;
  WriteColor(color, "rg");
  FillColor = color;
  return previous;
}

void TPDFDocument::EndDoc() {
  EndPage();
  std::string out;
  const int outlines = AddObj();
  AppendInt(out, outlines);
  out += " 0 obj\r<< /Type /Outlines\r/Count 0\r>>\rendobj\r";
  WriteStr2PDF(out);

  std::string fontDictionary;
  for (const TPDFFont& font : fonts_) {
    const int f = AddObj();
    out.clear();
    AppendInt(out, f);
    out += " 0 obj\r<< /Type /Font\r/Subtype /Type1\r/Name /";
    out += font.Name;
    out += "\r/BaseFont /";
    out += PDFFontPostScriptName(font.BaseFont);
    out += "\r";
    // Only names a reader knows; StandardEncoding is the font's own (no entry).
    if (const TPDFFontEncoding encoding = PDFDeclaredEncoding(font); encoding != poStandardEncoding) {
      out += "/Encoding /";
      out += PDFFontEncodingName(encoding);
      out += "\r";
    }
    // The font's real widths: readers place every glyph by them.
    out += "/FirstChar 0\r/LastChar 255\r/Widths [";
    for (const int width : PDFFontWidths(font)) {
      AppendInt(out, width);
      out.push_back(' ');
    }
    out += "]\r>>\rendobj\r";
    WriteStr2PDF(out);
    fontDictionary += "/" + font.Name + " ";
    AppendInt(fontDictionary, f);
    fontDictionary += " 0 R ";
  }

  const int resources = AddObj();
  out.clear();
  AppendInt(out, resources);
  out += " 0 obj\r<< /Font <<";
  out += fontDictionary;
  out += " >> /ProcSet [ /PDF /Text ] >>\rendobj\r";
  WriteStr2PDF(out);

  std::string kids;
  for (size_t i = 0; i < pages_.size(); ++i) {
    AppendInt(kids, ObjNumber() + 2 + static_cast<long long>(i));
    kids += " 0 R ";
  }
  const int tree = AddObj();
  out.clear();
  AppendInt(out, tree);
  out += " 0 obj\r<< /Type /Pages\r/Count ";
  AppendInt(out, static_cast<long long>(pages_.size()));
  out += "\r/Kids [";
  out += kids;
  out += "]\r>>\rendobj\r";
  WriteStr2PDF(out);
  auto appendBox = [](std::string& text, const TPDFBox& box) {
    AppendInt(text, box.Left);
    text.push_back(' ');
    AppendInt(text, box.Bottom);
    text.push_back(' ');
    AppendInt(text, box.Right);
    text.push_back(' ');
    AppendInt(text, box.Top);
  };
  for (const int content : pages_) {
    const int page = AddObj();
    out.clear();
    AppendInt(out, page);
    out += " 0 obj\r<< /Type /Page\r/Parent ";
    AppendInt(out, tree);
    out += " 0 R\r/Resources ";
    AppendInt(out, resources);
    out += " 0 R\r/MediaBox [";
    appendBox(out, MediaBox);
    out += "]\r/TrimBox [";
    appendBox(out, TrimBox);
    out += "]\r/Contents ";
    AppendInt(out, content);
    out += " 0 R\r>>\rendobj\r";
    WriteStr2PDF(out);
  }

  const int catalog = AddObj();
  out.clear();
  AppendInt(out, catalog);
  out += " 0 obj\r<< /Type /Catalog \r/Pages ";
  AppendInt(out, tree);
  out += " 0 R \r/Outlines ";
  AppendInt(out, outlines);
  out += " 0 R \r>>\rendobj\r";
  WriteStr2PDF(out);

  const unsigned long long xref = position_;
  out.clear();
  out += "xref\r0 ";
  AppendInt(out, ObjNumber() + 1);
  out += "\r0000000000 65535 f \r";
  for (const unsigned long long offset : offsets_) {
    AppendPadded10(out, offset);
    out += " 00000 n \r";
  }
  out += "trailer\r<< /Size ";
  AppendInt(out, ObjNumber() + 1);
  out += "\r/Root ";
  AppendInt(out, catalog);
  out += " 0 R\r>>\rstartxref\r";
  AppendInt(out, static_cast<long long>(xref));
  out += "\r%%EOF";
  WriteStr2PDF(out);
}

}  // namespace vantrix
