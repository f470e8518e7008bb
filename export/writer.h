#pragma once
// The base of every format's writer: text to the exporter's output, and the padding helpers
// the fixed-width layouts use. Widths count characters (one byte each in code page 1252).
#include <string>
#include <string_view>

#include "export/col_types.h"

namespace vantrix {

class OutputStream;
class TVantrix3;

class TVantrixWriter {
 public:
  TVantrixWriter(TVantrix3& exporter, OutputStream& stream) : exporter_(exporter), stream_(stream) {}
  virtual ~TVantrixWriter() = default;

  void Write(std::string_view text);
  void WriteLn(std::string_view text);  // the text and CR LF
  void EmptyLine() { WriteLn(std::string_view()); }
  void CharLine(char c, int count);

  // Shorter texts are padded with ch to len (before, after, or around with the odd one
  // after); longer ones are cut to their first len characters.
  static std::string PadL(std::string_view text, char ch, int len);
  static std::string PadR(std::string_view text, char ch, int len);
  static std::string PadC(std::string_view text, char ch, int len);
  virtual std::string AlignToStr(TVantrixColAlign align) const;

  TVantrix3& Exporter() const { return exporter_; }
  OutputStream& Stream() const { return stream_; }

 private:
  TVantrix3& exporter_;
  OutputStream& stream_;
};

}  // namespace vantrix
