#pragma once
// A text field of a fixed-width record: code page 1252 bytes, at most Width - 1 of them, so
// that the stored field always ends with a zero byte. Longer texts are cut when assigned; a
// text read from a record never runs past its field, whether or not the field holds a zero.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

template <size_t Width>
class FixedText {
  static_assert(Width >= 2, "a text field needs room for one character and its terminator");

 public:
  static constexpr size_t kWidth = Width;
  static constexpr size_t kMaxLength = Width - 1;

  FixedText() = default;
  FixedText(std::string_view text) { Assign(text); }  // NOLINT: texts convert implicitly
  FixedText(const char* text) { Assign(text ? std::string_view(text) : std::string_view()); }  // NOLINT
  FixedText(const std::string& text) { Assign(text); }  // NOLINT

  FixedText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }
  FixedText& operator=(const char* text) {
    Assign(text ? std::string_view(text) : std::string_view());
    return *this;
  }
  FixedText& operator=(const std::string& text) {
    Assign(text);
    return *this;
  }

  const std::string& str() const { return text_; }
  bool empty() const { return text_.empty(); }
  size_t size() const { return text_.size(); }

  // Writes exactly Width bytes: the text, then zero bytes.
  void EncodeInto(uint8_t* field) const {
    std::memset(field, 0, Width);
    std::memcpy(field, text_.data(), text_.size());
  }

  // Reads up to the first zero byte, and never more than Width - 1 bytes.
  static FixedText Decode(const uint8_t* field) {
    FixedText t;
    size_t n = 0;
    while (n < kMaxLength && field[n] != 0) ++n;
    t.text_.assign(reinterpret_cast<const char*>(field), n);
    return t;
  }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.text_ == b.text_; }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.text_ == b; }
  friend bool operator==(const FixedText& a, const std::string& b) { return a.text_ == b; }
  friend bool operator==(const FixedText& a, const char* b) { return b && a.text_ == b; }

 private:
  void Assign(std::string_view text) {
    // A zero byte would end the stored field, so nothing after it could survive a round trip.
    size_t end = std::min(text.find('\0'), text.size());
    text_.assign(text.substr(0, std::min(end, kMaxLength)));
  }

  std::string text_;
};
