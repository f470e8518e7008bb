#pragma once
// An XML data packet: a metadata block that describes the fields, then one empty ROW element
// per record whose attributes hold the values. Written in UTF-8 when no encoding is named
// (which is what a declaration without one means), else in the encoding named, characters it
// has no form for written as character references.
#include <memory>
#include <string>

#include "export/charset_converter.h"
#include "export/vantrix3_text.h"

namespace vantrix {

class TXMLOptions {
 public:
  std::string Version = "1.0";
  std::string Encoding;  // empty: UTF-8, and no encoding in the declaration
  bool StandAlone = true;
  void Assign(const TXMLOptions& other) { *this = other; }
};

// The converter and the converted output come before the writer that writes into them.
struct TVantrixXMLOutput {
  TVantrixXMLOutput(OutputStream& target, const std::string& encoding);
  CharsetConverter converter;
  ConvertingOutputStream converted;
};

class TVantrixXMLWriter : private TVantrixXMLOutput, public TVantrixWriter {
 public:
  // Raises EVantrixError for an encoding that can't be written (before anything is).
  TVantrixXMLWriter(TVantrix3& exporter, OutputStream& stream, const std::string& encoding);

  void StartTag(const std::string& name, const std::string& attributes);
  void StartTagLn(const std::string& name, const std::string& attributes);
  void EndTag(const std::string& name);
  void EndTagLn(const std::string& name);
  void StartEndTag(const std::string& name, const std::string& attributes);
  void StartEndTagLn(const std::string& name, const std::string& attributes);
  const CharsetConverter& Converter() const { return converter; }
};

// A valid XML name for a column name: blanks and characters a name can't hold (or the
// encoding can't write) become "_", a name starting with a digit, "-" or "." gets "_" before
// it. "Canal 1" gives "Canal_1".
std::string XmlAttributeName(const std::string& name, const CharsetConverter& converter);
// Text for an attribute value: the quote, "&", "<" and ">" as entities, TAB, CR and LF as
// character references (so they survive attribute normalisation), other control characters
// left out.
void AppendXmlEscaped(std::string_view text, std::string& out);

class TVantrix3XML : public TVantrix3Text {
 public:
  TXMLOptions& Options() { return options_; }
  const TXMLOptions& Options() const { return options_; }
  void SetOptions(const TXMLOptions& options) { options_.Assign(options); }
  // Inherited and published here: Captions, Formats, UserFormats.

  const TVantrixFormats* OwnerFormats() const override { return &Formats(); }
  const TStrings* OwnerCaptions() const override { return &Captions; }
  const TStrings* OwnerUserFormats() const override { return &UserFormats; }
  void NormalString(std::string& text) const override;

 protected:
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void BeginExport() override;
  void BeforeExport() override;
  std::string GetColCaption(int index) override;
  void WriteCaptionRow() override;
  std::string GetDataRow(bool formatted) override;
  void WriteDataRow() override;
  void EndExport() override;
  std::bitset<256> GetSpecialCharacters() const override;

 private:
  TVantrixXMLWriter& Writer() const;

  TXMLOptions options_;
  std::vector<std::string> names_;  // the attribute name of each column, unique
  bool rowDataOpen_ = false, packetOpen_ = false;
  std::string line_, cell_;
};

}  // namespace vantrix
