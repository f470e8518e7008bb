#include "export/writer.h"

#include "export/output_stream.h"

namespace vantrix {
namespace {

size_t Length(int len) { return len < 0 ? 0 : static_cast<size_t>(len); }

}  // namespace

void TVantrixWriter::Write(std::string_view text) { stream_.Write(text); }

void TVantrixWriter::WriteLn(std::string_view text) {
  stream_.Write(text);
  stream_.Write("\r\n", 2);
}

void TVantrixWriter::CharLine(char c, int count) { WriteLn(std::string(Length(count), c)); }

std::string TVantrixWriter::PadL(std::string_view text, char ch, int len) {
  const size_t n = Length(len);
  if (text.size() >= n) return std::string(text.substr(0, n));
  return std::string(n - text.size(), ch) + std::string(text);
}

std::string TVantrixWriter::PadR(std::string_view text, char ch, int len) {
  const size_t n = Length(len);
  if (text.size() >= n) return std::string(text.substr(0, n));
  return std::string(text) + std::string(n - text.size(), ch);
}

std::string TVantrixWriter::PadC(std::string_view text, char ch, int len) {
  const size_t n = Length(len);
  if (text.size() >= n) return std::string(text.substr(0, n));
  const size_t before = (n - text.size()) / 2;
  return std::string(before, ch) + std::string(text) + std::string(n - text.size() - before, ch);
}

std::string TVantrixWriter::AlignToStr(TVantrixColAlign align) const {
  switch (align) {
    case ecaLeft: return "Left alignment";
    case ecaCenter: return "Center alignment";
    case ecaRight: return "Right alignment";
    default: return "Unknown alignment";
  }
}

}  // namespace vantrix
