#include "export/vantrix3_latex.h"

#include "export/output_stream.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

std::string Upper(const std::string& text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(c)));
  return out;
}

// What LaTeX source prints the byte, or null for the byte itself.
const char* Replacement(unsigned char c) {
  switch (c) {
    case '#': return "\\#";
    case '$': return "\\$";
    case '%': return "\\%";
    case '&': return "\\&";
    case '_': return "\\_";
    case '{': return "\\{";
    case '}': return "\\}";
    case '\\': return "\\textbackslash{}";
    case '~': return "\\textasciitilde{}";
    case '^': return "\\textasciicircum{}";
    case '|': return "\\textbar{}";
    case '<': return "$<$";
    case '>': return "$>$";
    case '"': return "''";
    case 0xAC: return "$\\neg$";
    case 0xB1: return "$\\pm$";
    case 0xB2: return "$^{2}$";
    case 0xB3: return "$^{3}$";
    case 0xB5: return "$\\mu$";
    case 0xB9: return "$^{1}$";
    case 0xD7: return "$\\times$";
    case 0xF7: return "$\\div$";
    case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D: return "";
    default: return nullptr;
  }
}

}  // namespace

void AppendLaTeXEscaped(std::string_view text, std::string& out) {
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    // Control characters would end a line or stop the run; a blank stands in for them.
    if (c < 0x20) {
      out.push_back(' ');
      continue;
    }
    if (const char* replacement = Replacement(c)) out.append(replacement);
    else out.push_back(ch);
  }
}

TVantrixLaTeXOutput::TVantrixLaTeXOutput(OutputStream& target, int codePage)
    : converter("CP" + std::to_string(codePage), CharsetConverter::Missing::Question), converted(target, converter) {}

TVantrixLaTeXWriter::TVantrixLaTeXWriter(TVantrix3& exporter, OutputStream& stream, int codePage)
    : TVantrixLaTeXOutput(stream, codePage), TVantrixWriter(exporter, converted) {}

void TVantrixLaTeXWriter::BeginEnv(const std::string& name, const std::string& parameters) {
  WriteLn("\\begin{" + name + "}" + (parameters.empty() ? std::string() : "{" + parameters + "}"));
}

void TVantrixLaTeXWriter::EndEnv(const std::string& name) { WriteLn("\\end{" + name + "}"); }

void TVantrixLaTeXWriter::HLine() { WriteLn("\\hline"); }

void TVantrixLaTeXWriter::NewLine() { WriteLn("\\\\"); }

void TVantrixLaTeXWriter::UsePackage(const std::string& name, const std::string& options) {
  WriteLn("\\usepackage[" + options + "]{" + name + "}");
}

void TVantrix3LaTeX::NormalString(std::string& text) const {
  std::string escaped;
  escaped.reserve(text.size() + 8);
  AppendLaTeXEscaped(text, escaped);
  text.swap(escaped);
}

std::bitset<256> TVantrix3LaTeX::GetSpecialCharacters() const {
  std::bitset<256> special;
  for (unsigned char c : {'#', '$', '%', '&', '\\', '^', '_', '{', '}', '~'}) special.set(c);
  return special;
}

std::unique_ptr<TVantrixWriter> TVantrix3LaTeX::CreateWriter(OutputStream& stream) {
  return std::make_unique<TVantrixLaTeXWriter>(*this, stream, options_.CodePage());
}

TVantrixLaTeXWriter& TVantrix3LaTeX::Writer() const { return static_cast<TVantrixLaTeXWriter&>(*GetWriter()); }

void TVantrix3LaTeX::BeginExport() {
  TVantrix3FormatText::BeginExport();
  TVantrixLaTeXWriter& writer = Writer();
  const std::string style = StyleToStr(options_.DocumentStyle);
  const std::string params = options_.DocumentParams.empty() ? std::string() : "[" + options_.DocumentParams + "]";
  if (options_.LaTeXVersion == LaTeX2e) {
    writer.WriteLn("\\documentclass" + params + "{" + style + "}");
    writer.UsePackage("inputenc", "cp" + std::to_string(options_.CodePage()));
    // The fonts of the T1 encoding print every letter of the Latin code pages (Ð, þ...);
    // the original encoding has no glyphs for some and stops the document at them.
    writer.UsePackage("fontenc", "T1");
    // babel without a language stops the document.
    if (!options_.Languages.empty()) writer.UsePackage("babel", options_.Languages);
    if (!Preambula.empty()) {
      for (const std::string& line : Preambula) writer.WriteLn(line);
      writer.EmptyLine();
    }
  } else {
    writer.WriteLn("\\documentstyle" + params + "{" + style + "}");
  }
  writer.BeginEnv("document", "");
  if (Upper(options_.Languages).find("RUSSIAN") != std::string::npos) writer.WriteLn("\\Rus");
  writer.EmptyLine();
  for (const std::string& line : Header) writer.WriteLn(line);
  writer.WriteLn("\\par\\bigskip");
  std::string layout = "|";
  for (int i = 0; i < Columns().Count(); ++i) layout += Columns()[i].IsNumeric ? "r|" : "l|";
  writer.BeginEnv("tabular", layout);
  writer.HLine();
  tabularOpen_ = true;
}

std::string TVantrix3LaTeX::GetColCaption(int index) { return TVantrix3FormatText::GetColCaption(index) + " & "; }

std::string TVantrix3LaTeX::GetCaptionRow() {
  std::string row = TVantrix3FormatText::GetCaptionRow();
  if (row.size() >= 3) row.resize(row.size() - 3);
  return row;
}

std::string TVantrix3LaTeX::GetDataRow(bool formatted) {
  line_.clear();
  for (int i = 0; i < Row().Count(); ++i) {
    if (i > 0) line_.append(" & ");
    Row()[i].GetExportedValue(formatted, cell_);
    line_.append(cell_);
  }
  return line_;
}

void TVantrix3LaTeX::WriteRow(const std::string& row) {
  Writer().WriteLn(row);
  Writer().NewLine();
  Writer().HLine();
}

void TVantrix3LaTeX::WriteCaptionRow() { WriteRow(GetCaptionRow()); }

void TVantrix3LaTeX::WriteDataRow() { WriteRow(GetDataRow(true)); }

void TVantrix3LaTeX::EndExport() {
  // Once, however the run ended: an abort leaves a document that compiles.
  if (tabularOpen_) {
    TVantrixLaTeXWriter& writer = Writer();
    writer.EndEnv("tabular");
    writer.EmptyLine();
    for (const std::string& line : Footer) writer.WriteLn(line);
    writer.EndEnv("document");
    tabularOpen_ = false;
  }
  TVantrix3FormatText::EndExport();
}

}  // namespace vantrix
