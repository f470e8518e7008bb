#include "export/float_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "export/common_text.h"
#include "export/format_settings.h"

namespace vantrix {
namespace {

constexpr int kMaxFixedIntegerDigits = 19;  // beyond it (past any 64-bit integer) the general form

void AppendExponent(std::string& out, int exponent, bool alwaysSign, int minDigits) {
  if (exponent >= 0 && alwaysSign) out.push_back('+');
  AppendZeroPadded(out, exponent, minDigits);
}

bool AppendSpecial(std::string& out, double value) {
  if (std::isnan(value)) out += "NAN";
  else if (std::isinf(value)) out += value < 0 ? "-INF" : "INF";
  else return false;
  return true;
}

void AppendGeneral(std::string& out, const DecimalNumber& exact, const FormatSettings& settings) {
  DecimalNumber n = exact;
  RoundDecimal(n, 15);
  if (n.IsZero()) {
    out.push_back('0');
    return;
  }
  if (n.negative) out.push_back('-');
  if (n.exponent > 15 || n.exponent < -3) {
    out.push_back(n.digits[0]);
    if (n.count > 1) {
      out.push_back(settings.decimalSeparator);
      out.append(n.digits + 1, static_cast<size_t>(n.count - 1));
    }
    out.push_back('E');
    AppendExponent(out, n.exponent - 1, false, 0);
    return;
  }
  if (n.exponent <= 0) {
    out.push_back('0');
    out.push_back(settings.decimalSeparator);
    out.append(static_cast<size_t>(-n.exponent), '0');
    out.append(n.digits, static_cast<size_t>(n.count));
    return;
  }
  for (int i = 0; i < n.exponent; ++i) out.push_back(i < n.count ? n.digits[i] : '0');
  if (n.count > n.exponent) {
    out.push_back(settings.decimalSeparator);
    out.append(n.digits + n.exponent, static_cast<size_t>(n.count - n.exponent));
  }
}

// The pictures in use are few (one per column type): keep the last ones parsed.
struct PictureCache {
  static constexpr size_t kSlots = 8;
  struct Slot {
    std::string text;
    std::unique_ptr<FloatPicture> picture;
  };
  std::array<Slot, kSlots> slots;
  size_t next = 0;

  const FloatPicture& Get(std::string_view text) {
    for (Slot& slot : slots)
      if (slot.picture && slot.text == text) return *slot.picture;
    Slot& slot = slots[next];
    next = (next + 1) % kSlots;
    slot.text.assign(text);
    slot.picture = std::make_unique<FloatPicture>(text);
    return *slot.picture;
  }
};

PictureCache& Cache() {
  thread_local PictureCache cache;
  return cache;
}

}  // namespace

FloatPicture::FloatPicture(std::string_view picture) {
  if (picture.empty()) {
    general_ = true;
    return;
  }
  // Up to three sections; ';' inside quotes doesn't split.
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i <= picture.size() && sections_.size() < 3; ++i) {
    if (i < picture.size()) {
      const char c = picture[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
        continue;
      }
      if (c != ';') continue;
    }
    sections_.push_back(Parse(picture.substr(start, i - start)));
    start = i + 1;
  }
}

FloatPicture::Section FloatPicture::Parse(std::string_view text) {
  Section s;
  s.empty = text.empty();
  bool afterPoint = false;
  int firstIntegerZero = -1, lastFractionZero = -1;
  auto literal = [&](std::string_view piece) {
    s.literalChars += piece.size();
    if (!s.tokens.empty() && s.tokens.back().kind == Kind::Literal) s.tokens.back().text.append(piece);
    else s.tokens.push_back(Token{Kind::Literal, 0, false, 0, std::string(piece)});
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      const size_t close = text.find(c, i + 1);
      literal(text.substr(i + 1, close == text.npos ? text.npos : close - i - 1));
      if (close == text.npos) break;
      i = close;
    } else if (c == '0' || c == '#') {
      s.tokens.push_back(Token{Kind::Digit, c, false, 0, {}});
      if (afterPoint) {
        if (c == '0') lastFractionZero = s.fractionPlaces;
        ++s.fractionPlaces;
      } else {
        if (c == '0' && firstIntegerZero < 0) firstIntegerZero = s.integerPlaces;
        ++s.integerPlaces;
      }
    } else if (c == '.') {
      if (!afterPoint) s.tokens.push_back(Token{Kind::Point, c, false, 0, {}});
      afterPoint = true;
    } else if (c == ',') {
      s.grouping = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
      Token t{Kind::Exponent, c, text[i + 1] == '+', 0, {}};
      i += 2;
      while (i < text.size() && text[i] == '0') {
        ++t.minDigits;
        ++i;
      }
      --i;
      if (t.minDigits > 4) t.minDigits = 4;
      s.literalChars += 16;
      s.tokens.push_back(std::move(t));
      s.scientific = true;
      afterPoint = true;  // digits after the exponent are not the mantissa's
    } else {
      literal(text.substr(i, 1));
    }
  }
  s.minInteger = firstIntegerZero < 0 ? 0 : s.integerPlaces - firstIntegerZero;
  s.minFraction = lastFractionZero + 1;
  return s;
}

int FloatPicture::KeptDigits(const Section& section, const DecimalNumber& number) {
  return section.scientific ? section.integerPlaces + section.fractionPlaces
                            : number.exponent + section.fractionPlaces;
}

void FloatPicture::Format(const DecimalNumber& number, const FormatSettings& settings, std::string& out) const {
  if (general_) {
    AppendGeneral(out, number, settings);
    return;
  }
  // The section by sign, rounded by its places; a value that rounds to zero takes the zero
  // section, or writes the first without a sign.
  size_t index = 0;
  bool minus = number.negative;
  if (number.negative && sections_.size() > 1 && !sections_[1].empty) {
    index = 1;
    minus = false;
  }
  DecimalNumber rounded = number;
  RoundDecimal(rounded, KeptDigits(sections_[index], rounded));
  if (rounded.IsZero()) {
    minus = false;
    if (sections_.size() > 2 && !sections_[2].empty) index = 2;
    else if (index == 1) index = 0;
    rounded = DecimalNumber{};
  }
  const Section& section = sections_[index];
  if (!section.scientific && rounded.exponent > kMaxFixedIntegerDigits) {
    AppendGeneral(out, number, settings);
    return;
  }
  Lay(section, rounded, minus, settings, out);
}

void FloatPicture::Lay(const Section& s, const DecimalNumber& n, bool minus, const FormatSettings& settings,
                       std::string& out) {
  // Integer digits (padded to the least the picture asks for) and fraction digits. A picture
  // of more places than any number has digits writes the ones beyond kMaxPlaces as blanks
  // would: not at all.
  constexpr int kMaxPlaces = 100;
  char integer[kMaxPlaces + DecimalNumber::kMaxDigits];
  int integerLength = 0;
  char fraction[kMaxPlaces];
  int fractionLength = 0;
  int exponent = 0;
  const int integerTake = s.scientific ? std::min(s.integerPlaces, kMaxPlaces) : n.exponent;
  if (s.scientific && !n.IsZero()) exponent = n.exponent - s.integerPlaces;
  if (!(s.scientific && n.IsZero()))
    for (int i = 0; i < integerTake; ++i) integer[integerLength++] = i < n.count ? n.digits[i] : '0';
  fractionLength = std::min(s.fractionPlaces, kMaxPlaces);
  for (int j = 0; j < fractionLength; ++j) {
    const int d = integerTake + j;  // index into the digits
    fraction[j] = d >= 0 && d < n.count ? n.digits[d] : '0';
  }
  while (fractionLength > s.minFraction && fraction[fractionLength - 1] == '0') --fractionLength;
  // Without leading zeros, then padded to the least integer digits.
  int skip = 0;
  while (skip < integerLength && integer[skip] == '0') ++skip;
  const int significant = integerLength - skip;
  const int shown = std::max(significant, std::min(s.minInteger, kMaxPlaces));
  char digits[kMaxPlaces + DecimalNumber::kMaxDigits];
  for (int i = 0; i < shown; ++i) {
    const int from = integerLength - shown + i;
    digits[i] = from >= 0 ? integer[from] : '0';
  }
  const bool grouping = s.grouping && settings.thousandSeparator != '\0';

  // Laid out in a buffer of the largest size this section can write, appended at once.
  thread_local std::string scratch;
  const size_t bound = s.literalChars + 2 * static_cast<size_t>(shown) + static_cast<size_t>(fractionLength) + 8;
  if (scratch.size() < bound) scratch.resize(bound);
  char* const begin = scratch.data();
  char* p = begin;
  if (minus) *p++ = '-';
  int placeholder = 0;
  int fractionIndex = 0;
  bool integerWritten = s.integerPlaces > 0;
  auto putIntegerDigit = [&](int q) {
    *p++ = digits[q];
    if (grouping && q < shown - 1 && (shown - 1 - q) % 3 == 0) *p++ = settings.thousandSeparator;
  };
  bool afterPoint = false;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case Kind::Literal:
        p = std::copy(t.text.begin(), t.text.end(), p);
        break;
      case Kind::Digit:
        if (!afterPoint) {
          const int at = shown - (s.integerPlaces - placeholder);
          if (placeholder == 0) {
            for (int q = 0; q <= at; ++q) putIntegerDigit(q);
          } else if (at >= 0) {
            putIntegerDigit(at);
          }
          ++placeholder;
        } else {
          if (fractionIndex < fractionLength) *p++ = fraction[fractionIndex];
          ++fractionIndex;
        }
        break;
      case Kind::Point:
        if (!integerWritten) {  // no integer places: the integer digits stand before the point
          for (int q = 0; q < shown; ++q) putIntegerDigit(q);
          integerWritten = true;
        }
        if (fractionLength > 0) *p++ = settings.decimalSeparator;
        afterPoint = true;
        break;
      case Kind::Exponent: {
        afterPoint = true;
        *p++ = t.mark;
        std::string text;
        AppendExponent(text, exponent, t.alwaysSign, t.minDigits);
        p = std::copy(text.begin(), text.end(), p);
        break;
      }
    }
  }
  out.append(begin, static_cast<size_t>(p - begin));
}

void FormatDecimalTo(std::string& out, std::string_view picture, const DecimalNumber& value,
                     const FormatSettings& settings) {
  if (picture.empty()) {
    AppendGeneral(out, value, settings);
    return;
  }
  Cache().Get(picture).Format(value, settings, out);
}

void FormatFloatTo(std::string& out, std::string_view picture, double value, const FormatSettings& settings) {
  if (AppendSpecial(out, value)) return;
  FormatDecimalTo(out, picture, DecimalFromDouble(value), settings);
}

std::string FormatFloat(std::string_view picture, double value, const FormatSettings& settings) {
  std::string out;
  FormatFloatTo(out, picture, value, settings);
  return out;
}

void FloatToStrTo(std::string& out, double value, const FormatSettings& settings) {
  if (AppendSpecial(out, value)) return;
  AppendGeneral(out, DecimalFromDouble(value), settings);
}

std::string FloatToStr(double value, const FormatSettings& settings) {
  std::string out;
  FloatToStrTo(out, value, settings);
  return out;
}

}  // namespace vantrix
