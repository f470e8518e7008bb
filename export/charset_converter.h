#pragma once
// Code page 1252 text, as the engine keeps it, into the character encoding a document
// declares (an XML encoding, a LaTeX input code page). Each of the 256 bytes is converted
// once, when the converter is made, so converting a text is a table lookup per byte.
//
// Encodings whose ASCII characters are the ASCII bytes (UTF-8, the ISO-8859 and Windows
// code pages, Shift-JIS, ...) are supported, and UTF-16 and UTF-32 (with a byte-order mark
// when the name gives no byte order); others (EBCDIC, UTF-7, stateful ones) are refused.
#include <array>
#include <string>
#include <string_view>

#include "export/output_stream.h"

namespace vantrix {

class CharsetConverter {
 public:
  // What to write for a character the encoding has no form for: nothing, or the character's
  // Unicode code point in a notation (e.g. "&#%u;").
  enum class Missing { Drop, Question, XmlReference };

  // Raises EVantrixError for an encoding the system doesn't know or this class can't use.
  // An empty name, "UTF-8" and "UTF8" (any case) convert without asking the system.
  CharsetConverter(std::string_view encoding, Missing missing);

  // Whether the byte's character has a form in the encoding.
  bool CanEncode(unsigned char byte) const { return encodable_[byte]; }
  // The byte-order mark the output starts with (empty for most encodings).
  const std::string& Preamble() const { return preamble_; }
  void Append(std::string_view cp1252, std::string& out) const;
  std::string Convert(std::string_view cp1252) const;
  // Code page 1252 itself: nothing to convert.
  bool IsIdentity() const { return identity_; }

 private:
  std::array<std::string, 256> table_;
  std::array<bool, 256> encodable_{};
  std::string preamble_;
  bool identity_ = false;
  bool asciiAsIs_ = false;  // ASCII bytes stand for themselves (not in UTF-16 or UTF-32)
};

// An output that converts everything written to it before handing it on.
class ConvertingOutputStream : public OutputStream {
 public:
  ConvertingOutputStream(OutputStream& target, const CharsetConverter& converter)
      : target_(target), converter_(converter) {}
  using OutputStream::Write;
  void Write(const char* data, size_t size) override;
  OutputStream& Target() const { return target_; }

 private:
  OutputStream& target_;
  const CharsetConverter& converter_;
  std::string buffer_;
};

// Whether the name is UTF-8 (an empty name counts as UTF-8).
bool IsUtf8EncodingName(std::string_view encoding);

}  // namespace vantrix
