#include "devconfig/rtf_document.h"

#include "platform/rtf_text.h"

namespace devconfig {
namespace {

void AppendFormat(std::string& out, const RtfFormat& f) {
  out += "\\fs" + std::to_string(f.size * 2);  // half-points
  if (f.bold) out += "\\b";
  if (f.italic) out += "\\i";
  if (f.underline) out += "\\ul";
}

const char* AlignmentWord(RtfAlignment a) {
  switch (a) {
    case RtfAlignment::Center: return "\\qc";
    case RtfAlignment::Right: return "\\qr";
    case RtfAlignment::Left: break;
  }
  return "\\ql";
}

}  // namespace

std::string RtfParagraph::Text() const {
  std::string text;
  for (const RtfRun& run : runs) text += run.text;
  return text;
}

std::string WriteRtf(const RtfDocument& document) {
  std::string out;
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
  platform::AppendRtfText(out, document.fontName);
  out += ";}}\r\n";
  // A4 with margins of 2.5 cm.
  out += "\\paperw11906\\paperh16838\\margl1418\\margr1418\\margt1418\\margb1418\\viewkind4\\uc1\r\n";
  for (const RtfParagraph& p : document.paragraphs) {
    out += "\\pard";
    out += AlignmentWord(p.alignment);
    out += "\\plain\\f0";
    AppendFormat(out, p.mark);
    if (p.pageBreakBefore) out += "\\page";
    out += ' ';
    for (const RtfRun& run : p.runs) {
      if (run.text.empty()) continue;
      out += "{\\plain\\f0";
      AppendFormat(out, run.format);
      out += ' ';
      platform::AppendRtfText(out, run.text);
      out += '}';
    }
    out += "\\par\r\n";
  }
  out += "}\r\n";
  return out;
}

}  // namespace devconfig
