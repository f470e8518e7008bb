#include "export/vantrix3_rtf.h"

#include <exception>

#include "export/columns.h"
#include "export/row.h"
#include "platform/cp1252_case.h"
#include "platform/rtf_text.h"

namespace vantrix {
namespace {

// Every line break (CR LF, or a CR or LF alone) as one paragraph break inside the cell.
void BreaksToParagraphs(std::string& text) {
  if (text.find_first_of("\r\n") == std::string::npos) return;
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += " \\par ";
    } else {
      out.push_back(text[i]);
    }
  }
  text = std::move(out);
}

}  // namespace

void TVantrix3RTF::NormalString(std::string& text) const {
  for (const char c : text) {
    if (c == '\\' || c == '{' || c == '}' || c == '\t' || static_cast<unsigned char>(c) > 127 ||
        (static_cast<unsigned char>(c) < 32 && c != '\r' && c != '\n')) {
      text = platform::RtfText(text);
      return;
    }
  }
}

std::unique_ptr<TVantrixWriter> TVantrix3RTF::CreateWriter(OutputStream& stream) {
  return std::make_unique<TVantrixRTFWriter>(*this, stream);
}

void TVantrix3RTF::StyleToStrs(const TrtfStyle& style, StyleStrings& out) {
  TVantrixRTFWriter& writer = Writer();
  switch (style.Alignment) {
    case talRight: out.align = "\\qr"; break;
    case talCenter: out.align = "\\qc"; break;
    case talFill: out.align = "\\qj"; break;
    default: out.align = "\\ql"; break;
  }
  writer.SetFont(style.Font, false, out.font);
  writer.GetColorText(style.Font.color, ctText, out.color);
  out.fontStyle.clear();
  if (style.Font.HasStyle(fsBold)) out.fontStyle += "\\b";
  if (style.Font.HasStyle(fsItalic)) out.fontStyle += "\\i";
  if (style.Font.HasStyle(fsUnderline)) out.fontStyle += "\\ul";
  if (style.Font.HasStyle(fsStrikeOut)) out.fontStyle += "\\strike";
  out.background.clear();
  if (style.AllowBackground) writer.GetColorText(style.BackgroundColor, ctBackground, out.background);
  out.highlight.clear();
  if (style.AllowHighlight) writer.GetColorText(style.HighlightColor, ctHighlight, out.highlight);
}

void TVantrix3RTF::WriteBlock(const TStrings& lines, const TrtfStyle& blockStyle, const TrtfGetStyleEvent& event) {
  // No lines, no block: and its colours stay out of the table, so the body's colours keep
  // the lowest indexes.
  if (lines.empty()) return;
  TrtfStyle style = blockStyle;
  if (event) event(*this, style);
  StyleStrings s;
  StyleToStrs(style, s);
  if (!s.background.empty()) s.background += " ";
  TVantrixRTFWriter& writer = Writer();
  writer.AddLine("{" + s.align + s.background);
  for (const std::string& line : lines) {
    writer.AddLine("{" + s.highlight + s.FontPart() + platform::RtfText(line) + "}");
    writer.WritePara();
  }
  writer.AddLine("}");
}

void TVantrix3RTF::BeginExport() {
  TVantrix3FormatText::BeginExport();
  captionAligns_ = TNameIndex(&options_.CaptionAligns);
  TVantrixRTFWriter& writer = Writer();
  writer.WriteBOF();
  writer.WriteHeader();
  writer.AddFont(options_.CaptionStyle.Font.name);
  writer.AddFont(options_.DataStyle.Font.name);
  writer.WriteFontTable();
  writer.AddColor(0x000000);
  writer.WriteColorTable();
  std::string s;
  writer.SetFont(options_.DataStyle.Font, true, s);
  if (options_.PageOrientation == poLandscape) {
    writer.AddLine("\\landscape");
    writer.AddLine("\\paperw16838");
    writer.AddLine("\\paperh11906");
  } else {
    writer.AddLine("\\paperw11906");
    writer.AddLine("\\paperh16838");
  }
  WriteBlock(Header, options_.HeaderStyle, OnGetHeaderStyle);

  writer.WritePara();
  writer.AddLine("\\trowd\\trql\\trgaph0\\trleft36");
  const TextMeasure& measure = measure_ != nullptr ? *measure_ : DefaultTextMeasure();
  const long long w = measure.TextWidth("X", options_.CaptionStyle.Font);
  long long x = 36;
  for (int i = 0; i < Columns().Count(); ++i) {
    x = w * Columns()[i].Width * 15 + x + 10;
    writer.AddLine("\\clbrdrl\\brdrth \\clbrdrr\\brdrth \\clbrdrt\\brdrth \\clbrdrb\\brdrth");
    writer.AddLine("\\cellx" + std::to_string(x));
  }
}

void TVantrix3RTF::BeforeExport() {
  std::string s;
  Writer().SetFont(options_.DataStyle.Font, true, s);
}

std::string TVantrix3RTF::GetColCaption(int index) {
  const std::string text = TVantrix3FormatText::GetColCaption(index);
  TVantrixColAlign align = options_.CaptionStyle.Alignment == talRight    ? ecaRight
                           : options_.CaptionStyle.Alignment == talCenter ? ecaCenter
                                                                          : ecaLeft;
  std::string value;
  if (captionAligns_.FindValue(Columns()[index].Name, value) && !value.empty()) {
    const char first = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(value[0])));
    align = first == 'C' ? ecaCenter : first == 'R' ? ecaRight : ecaLeft;
  }
  TrtfStyle style = options_.CaptionStyle;
  if (OnGetCaptionStyle) OnGetCaptionStyle(*this, index, style);
  StyleStrings s;
  StyleToStrs(style, s);
  return "\\pard\\intbl\\li30\\ri30" + s.background + Writer().AlignToStr(align) + "{" + s.highlight + s.FontPart() +
         text + "}\\cell";
}

void TVantrix3RTF::WriteCaptionRow() {
  std::string s;
  Writer().SetFont(options_.CaptionStyle.Font, true, s);
  Writer().AddLine(GetCaptionRow() + "\\row");
}

void TVantrix3RTF::GetColData(const TVantrixCol& col, std::string& text) {
  BreaksToParagraphs(text);
  const int strips = options_.StripStyles.Count();
  const int column = col.ColumnIndex();
  if (options_.StripType == stNone || strips == 0) cellStyle_ = options_.DataStyle;
  else if (options_.StripType == stRow) cellStyle_ = options_.StripStyles[RecordCounter() % strips];
  else cellStyle_ = options_.StripStyles[column % strips];
  if (OnGetDataStyle) OnGetDataStyle(*this, RunSkipRecCount() + RecordCounter(), column, cellStyle_);
  StyleToStrs(cellStyle_, strings_);
  cell_ = "\\pard\\intbl\\li30\\ri30";
  cell_ += strings_.background;
  cell_ += strings_.highlight;
  cell_ += Writer().AlignToStr(Columns()[column].Align);
  cell_ += "{";
  cell_ += strings_.font;
  cell_ += strings_.color;
  cell_ += strings_.fontStyle;
  cell_ += " ";
  cell_ += text;
  cell_ += "}\\cell";
  text.swap(cell_);
}

void TVantrix3RTF::WriteDataRow() { Writer().AddLine(GetDataRow(true) + "\\row"); }

void TVantrix3RTF::EndExport() {
  TVantrixRTFWriter& writer = Writer();
  writer.AddLine("\\pard");
  if (!Footer.empty()) writer.WritePara();
  WriteBlock(Footer, options_.FooterStyle, OnGetFooterStyle);
  writer.WriteEOF();
  // After an error the file is dropped: the body set aside need not be read back.
  if (std::uncaught_exceptions() == 0) writer.Flush();
  TVantrix3FormatText::EndExport();
}

}  // namespace vantrix
