#include "export/vantrix3_xml.h"

#include <set>

#include "export/output_stream.h"

namespace vantrix {
namespace {

bool IsAsciiNameChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == '.';
}

// Code page 1252 letters whose characters XML takes in names (all between U+00C0 and U+02FF).
bool IsLatinNameLetter(unsigned char c) {
  return (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x83 || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A ||
         c == 0x9C || c == 0x9E || c == 0x9F;
}

}  // namespace

TVantrixXMLOutput::TVantrixXMLOutput(OutputStream& target, const std::string& encoding)
    : converter(encoding, CharsetConverter::Missing::XmlReference), converted(target, converter) {
  if (!converter.Preamble().empty()) target.Write(converter.Preamble());
}

TVantrixXMLWriter::TVantrixXMLWriter(TVantrix3& exporter, OutputStream& stream, const std::string& encoding)
    : TVantrixXMLOutput(stream, encoding), TVantrixWriter(exporter, converted) {}

void TVantrixXMLWriter::StartTag(const std::string& name, const std::string& attributes) {
  Write(attributes.empty() ? "<" + name + ">" : "<" + name + " " + attributes + ">");
}

void TVantrixXMLWriter::StartTagLn(const std::string& name, const std::string& attributes) {
  StartTag(name, attributes);
  WriteLn("");
}

void TVantrixXMLWriter::EndTag(const std::string& name) { Write("</" + name + ">"); }

void TVantrixXMLWriter::EndTagLn(const std::string& name) { WriteLn("</" + name + ">"); }

void TVantrixXMLWriter::StartEndTag(const std::string& name, const std::string& attributes) {
  Write("<" + name + " " + attributes + "/>");
}

void TVantrixXMLWriter::StartEndTagLn(const std::string& name, const std::string& attributes) {
  StartEndTag(name, attributes);
  WriteLn("");
}

std::string XmlAttributeName(const std::string& name, const CharsetConverter& converter) {
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    const bool keep = IsAsciiNameChar(c) || (IsLatinNameLetter(c) && converter.CanEncode(c));
    out.push_back(keep ? ch : '_');
  }
  if (out.empty() || (out[0] >= '0' && out[0] <= '9') || out[0] == '-' || out[0] == '.') out.insert(0, "_");
  return out;
}

void AppendXmlEscaped(std::string_view text, std::string& out) {
  for (char ch : text) {
    switch (ch) {
      case '"': out.append("&quot;"); break;
      case '&': out.append("&amp;"); break;
      case '<': out.append("&lt;"); break;
      case '>': out.append("&gt;"); break;
      case '\t': out.append("&#9;"); break;
      case '\n': out.append("&#10;"); break;
      case '\r': out.append("&#13;"); break;
      default:
        if (static_cast<unsigned char>(ch) >= 0x20) out.push_back(ch);
    }
  }
}

void TVantrix3XML::NormalString(std::string& text) const {
  std::string escaped;
  escaped.reserve(text.size());
  AppendXmlEscaped(text, escaped);
  text.swap(escaped);
}

std::bitset<256> TVantrix3XML::GetSpecialCharacters() const {
  std::bitset<256> special;
  for (unsigned char c : {'"', '&', '<', '>'}) special.set(c);
  return special;
}

std::unique_ptr<TVantrixWriter> TVantrix3XML::CreateWriter(OutputStream& stream) {
  return std::make_unique<TVantrixXMLWriter>(*this, stream, options_.Encoding);
}

TVantrixXMLWriter& TVantrix3XML::Writer() const { return static_cast<TVantrixXMLWriter&>(*GetWriter()); }

void TVantrix3XML::BeginExport() {
  TVantrix3Text::BeginExport();
  // Attribute names are told apart by case; two columns that give one name get a number.
  names_.clear();
  std::set<std::string> taken;
  for (int i = 0; i < Columns().Count(); ++i) {
    const std::string base = XmlAttributeName(Columns()[i].Name, Writer().Converter());
    std::string name = base;
    for (int n = 2; taken.count(name) != 0; ++n) name = base + "_" + std::to_string(n);
    taken.insert(name);
    names_.push_back(name);
  }
  rowDataOpen_ = false;
  const std::string encoding = options_.Encoding.empty() ? std::string() : "encoding=\"" + options_.Encoding + "\" ";
  Writer().WriteLn("<?xml version=\"" + options_.Version + "\" " + encoding + "standalone=\"" +
                   (options_.StandAlone ? "yes" : "no") + "\"?>");
  Writer().WriteLn("<DATAPACKET Version=\"2.0\">");
  packetOpen_ = true;
}

std::string TVantrix3XML::GetColCaption(int index) {
  std::string name;
  AppendXmlEscaped(names_[static_cast<size_t>(index)], name);
  return "FieldName=\"" + name + "\" DisplayLabel=\"" + name + "\" FieldType=\"" +
         VantrixColTypeAsString(Columns()[index].ColType) + "\" FieldClass=\"TField\"";
}

void TVantrix3XML::WriteCaptionRow() {
  TVantrixXMLWriter& writer = Writer();
  writer.StartTagLn("METADATA", "");
  writer.StartTagLn("FIELDS", "");
  for (int i = 0; i < Columns().Count(); ++i) writer.StartEndTagLn("FIELD", GetColCaption(i));
  writer.EndTagLn("FIELDS");
  writer.EndTagLn("METADATA");
}

void TVantrix3XML::BeforeExport() {
  Writer().StartTagLn("ROWDATA", "");
  rowDataOpen_ = true;
}

std::string TVantrix3XML::GetDataRow(bool formatted) {
  line_.clear();
  for (int i = 0; i < Row().Count(); ++i) {
    const TVantrixCol& cell = Row()[i];
    if (i > 0) line_.push_back(' ');
    line_.append(names_[static_cast<size_t>(cell.ColumnIndex())]).append("=\"");
    cell.GetExportedValue(formatted, cell_);
    // A null cell's text, and a formatted one, were escaped on the way; raw values are not.
    if (formatted || Columns().GetColumnIsNull(cell.ColumnIndex())) line_.append(cell_);
    else AppendXmlEscaped(cell_, line_);
    line_.push_back('"');
  }
  return line_;
}

void TVantrix3XML::WriteDataRow() {
  const std::string row = GetDataRow(false);
  Writer().WriteLn("<ROW " + row + "/>");
}

void TVantrix3XML::EndExport() {
  // Closed whatever ended the run, so an abort leaves a whole document.
  if (rowDataOpen_) Writer().EndTagLn("ROWDATA");
  if (packetOpen_) Writer().WriteLn("</DATAPACKET>");
  rowDataOpen_ = packetOpen_ = false;
  TVantrix3Text::EndExport();
}

}  // namespace vantrix
