#pragma once
// The float pictures of the original framework, which every column format of the export
// library is written in:
//   0  a digit, always written      #  a digit, written when significant
//   .  the decimal separator (the first one; later ones are ignored)
//   ,  thousands grouping of the integer digits (where it stands doesn't matter)
//   E+ E- e+ e-  scientific notation; the zeros after it give the exponent's least digits
//   "text" 'text'  literal text       any other character: itself
// Up to three sections separated by ";": positive; negative; zero. An empty or missing
// negative section writes the first with a minus sign; a value that rounds to zero takes the
// zero section when there is one. Rounding is half away from zero. An empty picture writes
// the general form (15 significant digits). Separators come from the settings, never from the
// C library's locale.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/decimal_number.h"

namespace vantrix {

struct FormatSettings;

// A picture parsed once, for formatting many values.
class FloatPicture {
 public:
  explicit FloatPicture(std::string_view picture);
  void Format(const DecimalNumber& number, const FormatSettings& settings, std::string& out) const;

 private:
  enum class Kind : uint8_t { Literal, Digit, Point, Exponent };
  struct Token {
    Kind kind;
    char mark;  // Digit: '0' or '#'; Exponent: 'E' or 'e'
    bool alwaysSign = false;  // Exponent: "E+" writes the sign of a positive exponent too
    int minDigits = 0;        // Exponent: least digits
    std::string text;         // Literal
  };
  struct Section {
    std::vector<Token> tokens;
    int integerPlaces = 0, fractionPlaces = 0;
    int minInteger = 0, minFraction = 0;
    bool grouping = false, scientific = false;
    bool empty = true;
    size_t literalChars = 0;  // the literal text and exponent marks, for the output's bound
  };
  static Section Parse(std::string_view text);
  static void Lay(const Section& section, const DecimalNumber& rounded, bool minus, const FormatSettings& settings,
                  std::string& out);
  static int KeptDigits(const Section& section, const DecimalNumber& number);

  std::vector<Section> sections_;
  bool general_ = false;
};

// Formats with the picture, kept parsed between calls for the few pictures in use.
void FormatFloatTo(std::string& out, std::string_view picture, double value, const FormatSettings& settings);
void FormatDecimalTo(std::string& out, std::string_view picture, const DecimalNumber& value,
                     const FormatSettings& settings);
std::string FormatFloat(std::string_view picture, double value, const FormatSettings& settings);

// The general form: up to 15 significant digits, plain notation for values from 0.00001 up to
// 15 integer digits, else d.dddE±x ("1.5E20", "1E-7"); "NAN", "INF", "-INF".
void FloatToStrTo(std::string& out, double value, const FormatSettings& settings);
std::string FloatToStr(double value, const FormatSettings& settings);

}  // namespace vantrix
