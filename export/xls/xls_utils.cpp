#include "export/xls/xls_utils.h"

#include <QString>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "export/xls/xls_stream.h"

namespace vantrix {
namespace {

// Code page 1252's 0x80..0x9F; the five bytes it leaves undefined keep their own value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char WideToCp1252Char(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < kCp1252High.size(); ++i)
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

struct ErrorCode {
  int code;
  const char* text;
};
constexpr ErrorCode kErrorCodes[] = {{0, "#NULL!"}, {7, "#DIV/0!"}, {15, "#VALUE!"}, {23, "#REF!"},
                                     {29, "#NAME?"}, {36, "#NUM!"},  {42, "#N/A"}};

}  // namespace

WideString StringToWideStringNoCodePage(std::string_view text) {
  WideString out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<unsigned char>(text[i]);
  return out;
}

std::string WideStringToStringNoCodePage(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
  return out;
}

void Cp1252ToWideTo(std::string_view text, WideString& out) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    out[i] = c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : static_cast<char16_t>(c);
  }
}

WideString Cp1252ToWide(std::string_view text) {
  WideString out;
  Cp1252ToWideTo(text, out);
  return out;
}

std::string WideToCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      out.push_back('?');
      ++i;
    } else {
      out.push_back(WideToCp1252Char(c));
    }
  }
  return out;
}

bool IsWide(std::u16string_view text) {
  for (char16_t c : text)
    if (c >= 256) return true;
  return false;
}

int CompareWideStr(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

bool SameWideText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;
  return QString::fromRawData(reinterpret_cast<const QChar*>(a.data()), static_cast<qsizetype>(a.size()))
             .compare(QString::fromRawData(reinterpret_cast<const QChar*>(b.data()), static_cast<qsizetype>(b.size())),
                      Qt::CaseInsensitive) == 0;
}

WideString ByteArrayToStr(TxlsConstBytes data, size_t index, size_t count) {
  const uint8_t option = GetByte(data, index);
  CheckByteRange(data.size(), index + 1, option == 0 ? count : count > data.size() ? data.size() + 1 : 2 * count);
  WideString out(count, u'\0');
  for (size_t i = 0; i < count; ++i) out[i] = option == 0 ? data[index + 1 + i] : GetWord(data, index + 1 + 2 * i);
  return out;
}

// For the multiplier 1, then 100: the value times it either is a double whose low 34 bits are
// zero (stored as its high 30 bits) or a whole number of 30 bits (stored shifted, bit 1 set).
// Bit 0 says the stored number is a hundred times the value.
bool EncodeRK(double value, uint32_t& rk) {
  for (const int multiplier : {1, 100}) {
    const double d = value * multiplier;
    const uint64_t bits = std::bit_cast<uint64_t>(d);
    const auto high = static_cast<uint32_t>(bits >> 32);
    const uint32_t flag = multiplier == 100 ? 1u : 0u;
    if (static_cast<uint32_t>(bits) == 0 && (high & 3u) == 0) {
      rk = high | flag;
      return true;
    }
    if (std::isfinite(d) && d == std::floor(d) && d >= -536870912.0 && d <= 536870911.0) {
      rk = (static_cast<uint32_t>(static_cast<int32_t>(d)) << 2) | 2u | flag;
      return true;
    }
  }
  return false;
}

std::string ErrCodeToString(int code) {
  for (const ErrorCode& e : kErrorCodes)
    if (e.code == code) return e.text;
  return "#NULL!";
}

int StringToErrCode(std::string_view text) {
  for (const ErrorCode& e : kErrorCodes)
    if (text == e.text) return e.code;
  throw ExlsFileError("Invalid cell error code: '" + std::string(text) + "'");
}

std::string Col2Letter(int col) {
  if (col < 1 || col > 702) return {};
  const int n = col - 1;
  std::string out;
  if (n / 26 > 0) out.push_back(static_cast<char>('A' + n / 26 - 1));
  out.push_back(static_cast<char>('A' + n % 26));
  return out;
}

int Letter2Col(std::string_view text) {
  if (text.empty() || text.size() > 3) return 0;
  int col = 0;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return 0;
    col = col * 26 + (c - 'A' + 1);
  }
  return col;
}

std::string Row2Number(int row) { return std::to_string(row); }

int Number2Row(std::string_view text) {
  if (text.empty() || text.size() > 9) return 0;
  int row = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    row = row * 10 + (c - '0');
  }
  return row;
}

void WriteMSOHeader(uint16_t recType, uint16_t version, uint16_t instance, uint32_t length, TxlsStream& stream) {
  stream.WriteWord(static_cast<uint16_t>(instance * 16 + version));
  stream.WriteWord(recType);
  stream.WriteInteger(length);
}

}  // namespace vantrix
