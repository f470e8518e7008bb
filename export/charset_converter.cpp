#include "export/charset_converter.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "export/library_strings.h"
#include "platform/cp1252.h"

namespace vantrix {
namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  return out;
}

// The Unicode code point of a code page 1252 byte.
unsigned CodePoint(unsigned char byte) {
  const std::string utf8 = platform::Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(&byte), 1));
  const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
  if (utf8.size() == 1) return u[0];
  if (utf8.size() == 2) return ((u[0] & 0x1Fu) << 6) | (u[1] & 0x3Fu);
  return ((u[0] & 0x0Fu) << 12) | ((u[1] & 0x3Fu) << 6) | (u[2] & 0x3Fu);
}

// The five bytes code page 1252 leaves undefined are no characters at all.
bool Undefined(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

class Iconv {
 public:
  Iconv(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Iconv() {
    if (Ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // One character, converted whole or not at all.
  bool Convert(const std::string& in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[32];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0) return false;
    // A stateful encoding would need a shift back here; none of the accepted ones does.
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out.assign(buffer, static_cast<size_t>(dst - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

[[noreturn]] void Unsupported(std::string_view encoding, const char* why) {
  throw EVantrixError("The character encoding \"" + std::string(encoding) + "\" " + why);
}

}  // namespace

bool IsUtf8EncodingName(std::string_view encoding) {
  const std::string name = Upper(encoding);
  return name.empty() || name == "UTF-8" || name == "UTF8";
}

CharsetConverter::CharsetConverter(std::string_view encoding, Missing missing) {
  const std::string name = Upper(encoding);
  if (name == "WINDOWS-1252" || name == "CP1252") identity_ = true;
  std::string system = name;
  // Without a byte order in the name, big-endian behind a byte-order mark, as readers expect.
  if (name == "UTF-16" || name == "UTF16") {
    system = "UTF-16BE";
    preamble_ = std::string("\xFE\xFF", 2);
  } else if (name == "UTF-32" || name == "UTF32") {
    system = "UTF-32BE";
    preamble_ = std::string("\x00\x00\xFE\xFF", 4);
  }
  const bool wide = system.rfind("UTF-16", 0) == 0 || system.rfind("UTF16", 0) == 0 ||
                    system.rfind("UTF-32", 0) == 0 || system.rfind("UTF32", 0) == 0 ||
                    system.rfind("UCS-", 0) == 0;
  const bool utf8 = IsUtf8EncodingName(name);
  Iconv iconv(utf8 || identity_ ? std::string("UTF-8") : system, "UTF-8");
  if (!iconv.Ok()) Unsupported(encoding, "is not known to this system");

  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    std::string& out = table_[byte];
    if (Undefined(byte)) continue;
    const char c = static_cast<char>(byte);
    if (identity_) {
      out.assign(1, c);
      encodable_[byte] = true;
      continue;
    }
    const std::string utf8Char = platform::Cp1252ToUtf8(std::string_view(&c, 1));
    if (utf8) {
      out = utf8Char;
      encodable_[byte] = true;
    } else if (iconv.Convert(utf8Char, out)) {
      encodable_[byte] = true;
    }
    if (!wide && byte < 0x80 && (!encodable_[byte] || out != std::string(1, c)))
      Unsupported(encoding, "does not write ASCII as ASCII and cannot be used here");
  }

  asciiAsIs_ = !wide;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    if (encodable_[byte] || Undefined(byte)) continue;
    std::string replacement;
    if (missing == Missing::Question) {
      replacement = "?";
    } else if (missing == Missing::XmlReference) {
      char ref[16];
      std::snprintf(ref, sizeof ref, "&#%u;", CodePoint(byte));
      replacement = ref;
    }
    // The replacement is ASCII: in a wide encoding it needs converting too.
    std::string converted;
    for (char r : replacement) {
      std::string one;
      if (wide) iconv.Convert(std::string(1, r), one);
      else one.assign(1, r);
      converted += one;
    }
    table_[byte] = converted;
  }
}

void CharsetConverter::Append(std::string_view cp1252, std::string& out) const {
  if (identity_) {
    out.append(cp1252);
    return;
  }
  size_t i = 0;
  while (i < cp1252.size()) {
    if (asciiAsIs_) {
      // Runs of ASCII in one piece: most of any text.
      size_t end = i;
      while (end < cp1252.size() && static_cast<unsigned char>(cp1252[end]) < 0x80) ++end;
      out.append(cp1252.data() + i, end - i);
      i = end;
      if (i == cp1252.size()) break;
    }
    out.append(table_[static_cast<unsigned char>(cp1252[i])]);
    ++i;
  }
}

std::string CharsetConverter::Convert(std::string_view cp1252) const {
  std::string out;
  out.reserve(cp1252.size());
  Append(cp1252, out);
  return out;
}

void ConvertingOutputStream::Write(const char* data, size_t size) {
  if (converter_.IsIdentity()) {
    target_.Write(data, size);
    return;
  }
  buffer_.clear();
  converter_.Append(std::string_view(data, size), buffer_);
  target_.Write(buffer_.data(), buffer_.size());
}

}  // namespace vantrix
