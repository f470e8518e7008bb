#pragma once
// Building BIFF8 streams by hand for the reader's tests: bodies field by field, records, and a
// small workbook (globals with XFs, formats, shared strings and sheets, then the sheets).
#include <cstdint>
#include <string>
#include <vector>

namespace xlstest {

class Body {
 public:
  Body& B(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Body& W(uint16_t v) { return B(static_cast<uint8_t>(v)).B(static_cast<uint8_t>(v >> 8)); }
  Body& D(uint32_t v) { return W(static_cast<uint16_t>(v)).W(static_cast<uint16_t>(v >> 16)); }
  Body& F(double v) {
    uint64_t bits;
    static_assert(sizeof bits == sizeof v);
    __builtin_memcpy(&bits, &v, 8);
    return D(static_cast<uint32_t>(bits)).D(static_cast<uint32_t>(bits >> 32));
  }
  // A string with a 2-byte count: 8-bit characters, or UTF-16 when wide.
  Body& Str(const std::u16string& text, bool wide = false) {
    W(static_cast<uint16_t>(text.size())).B(wide ? 1 : 0);
    for (const char16_t c : text) wide ? W(c) : B(static_cast<uint8_t>(c));
    return *this;
  }
  std::vector<uint8_t> bytes;
};

class Stream {
 public:
  Stream& Rec(uint16_t id, const std::vector<uint8_t>& body) {
    Body header;
    header.W(id).W(static_cast<uint16_t>(body.size()));
    bytes.insert(bytes.end(), header.bytes.begin(), header.bytes.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return *this;
  }
  Stream& Rec(uint16_t id, const Body& body) { return Rec(id, body.bytes); }
  Stream& Bof(uint16_t type, uint16_t version = 0x0600) {
    return Rec(0x0809, Body().W(version).W(type).W(0x0DBB).W(1996).D(0).D(0x0206));
  }
  Stream& Eof() { return Rec(0x000A, Body()); }
  // XF with the number format.
  Stream& Xf(uint16_t format) { return Rec(0x00E0, Body().W(0).W(format).W(0).W(0).W(0).W(0).W(0).D(0).W(0)); }
  Stream& Format(uint16_t id, const std::u16string& text) {
    Body b;
    b.W(id).W(static_cast<uint16_t>(text.size())).B(0);
    for (const char16_t c : text) b.B(static_cast<uint8_t>(c));
    return Rec(0x041E, b);
  }
  Stream& BoundSheet(const std::u16string& name, uint32_t offset = 0) {
    Body b;
    b.D(offset).B(0).B(0).B(static_cast<uint8_t>(name.size())).B(0);
    for (const char16_t c : name) b.B(static_cast<uint8_t>(c));
    return Rec(0x0085, b);
  }
  Stream& Sst(const std::vector<std::u16string>& texts) {
    Body b;
    b.D(static_cast<uint32_t>(texts.size())).D(static_cast<uint32_t>(texts.size()));
    for (const auto& t : texts) b.Str(t);
    return Rec(0x00FC, b);
  }
  Stream& Number(uint16_t row, uint16_t col, uint16_t xf, double v) { return Rec(0x0203, Body().W(row).W(col).W(xf).F(v)); }
  Stream& Rk(uint16_t row, uint16_t col, uint16_t xf, uint32_t rk) { return Rec(0x027E, Body().W(row).W(col).W(xf).D(rk)); }
  Stream& Label(uint16_t row, uint16_t col, uint32_t index) { return Rec(0x00FD, Body().W(row).W(col).W(0).D(index)); }
  Stream& Dimensions() { return Rec(0x0200, Body().D(0).D(0).W(0).W(0).W(0)); }
  Stream& Append(const Stream& other) {
    bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
    return *this;
  }
  std::vector<uint8_t> bytes;
};

// Globals of XFs 0 (General), 1 (built-in date 14), 2 (user format 164), 3 (user 165), the
// strings, one BOUNDSHEET per sheet name; the caller appends the sheets.
inline Stream Globals(const std::vector<std::u16string>& strings, const std::vector<std::u16string>& sheets,
                      const std::u16string& format164 = u"[Red]0.00", const std::u16string& format165 = u"dd/mm/yyyy") {
  Stream s;
  s.Bof(0x0005).Format(164, format164).Format(165, format165).Xf(0).Xf(14).Xf(164).Xf(165);
  for (const auto& name : sheets) s.BoundSheet(name);
  s.Sst(strings).Eof();
  return s;
}

}  // namespace xlstest
