#include "platform/rtf_text.h"

namespace platform {

void AppendRtfText(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '{' || c == '}') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\t') {
      out.append("\\tab ");
    } else if (byte > 127 || (byte < 32 && c != '\r' && c != '\n')) {
      out.append("\\'");
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c);
    }
  }
}

std::string RtfText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  AppendRtfText(out, text);
  return out;
}

}  // namespace platform
