// The picture language and the reading of values, under the C and Brazilian Portuguese
// locales: one table per direction.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "export/datetime_picture.h"
#include "export/float_picture.h"
#include "export/format_settings.h"
#include "export/formats.h"
#include "export/text_to_value.h"
#include "export_fixtures.h"

namespace {

using exporttest::BrSettings;
using exporttest::CSettings;
using vantrix::FormatSettings;

struct FloatCase {
  bool brazil;
  const char* picture;
  double value;
  const char* expected;
};

TEST(FloatPicture, FormatsLikeTheFramework) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const FloatCase cases[] = {
      {false, "#,###,##0.00", 1234567.891, "1,234,567.89"},
      {true, "#,###,##0.00", 1234567.891, "1.234.567,89"},
      {false, "#,###,##0.00", -1234.5, "-1,234.50"},
      {false, "#,###,##0.00", -0.004, "0.00"},  // rounds to zero: no sign
      {false, "#,###,##0.00", 2.675, "2.68"},   // the text's value, not the double's 2.67499..
      {false, "#,###,##0.00", 1.005, "1.01"},
      {false, "#,###,##0", 999.5, "1,000"},     // half away from zero, carry into a new group
      {false, "#,###,##0", -999.5, "-1,000"},
      {false, "#,###,##0", 0, "0"},
      {false, "0.###", 1.5, "1.5"},
      {false, "#.##", 0.5, ".5"},
      {false, "#.##", 5, "5"},                  // no point without decimals
      {false, "000", 7, "007"},
      {false, "000,000", 5, "000,005"},         // padding zeros are grouped too
      {false, "0", 123456, "123456"},           // more digits than places: all at the first
      {false, "0.00E+00", 12345, "1.23E+04"},
      {false, "0.00e-00", 0.000123, "1.23e-04"},
      {false, "0.0E-0", 12345, "1.2E4"},
      {false, "00.0E+0", 12345, "12.3E+3"},
      {false, "0.00E+00", 0, "0.00E+00"},
      {false, "0.00E+00", 9.999, "1.00E+01"},
      {false, "0.00;(0.00)", -5, "(5.00)"},
      {false, "0.00;(0.00);zero", 0, "zero"},
      {false, "0.00;;zero", -5, "-5.00"},       // empty negative section: the first, signed
      {false, "0.0;(0.0);nil", -0.04, "nil"},   // rounds to zero under the negative section
      {false, "0.0;(0.0)", -0.04, "0.0"},
      {true, "\"R$\" #,##0.00", 1234.5, "R$ 1.234,50"},
      {false, "0 'kg;g'", 3, "3 kg;g"},         // ';' inside quotes does not split
      {false, "0.00 \"%\"", 12.345, "12.35 %"},
      {false, "#,##0", 1e20, "1E20"},           // too long for a fixed layout
      {false, "", 1234.5, "1234.5"},
      {true, "", 1234.5, "1234,5"},
      {false, "", 1e20, "1E20"},
      {false, "", 1.5e-7, "1.5E-7"},
      {false, "", 0.0001, "0.0001"},
      {false, "", 1.0 / 3, "0.333333333333333"},
      {false, "", -2, "-2"},
      {false, "0.00", nan, "NAN"},
      {false, "0.00", -std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const FloatCase& c : cases) {
    const FormatSettings& s = c.brazil ? BrSettings() : CSettings();
    EXPECT_EQ(vantrix::FormatFloat(c.picture, c.value, s), c.expected) << c.picture << " of " << c.value;
  }
}

TEST(FloatPicture, IntegersFormatExactlyBeyondADoublesDigits) {
  std::string out;
  vantrix::FormatDecimalTo(out, "#,##0", vantrix::DecimalFromInt64(INT64_MIN), CSettings());
  EXPECT_EQ(out, "-9,223,372,036,854,775,808");
  out.clear();
  vantrix::FormatDecimalTo(out, "", vantrix::DecimalFromInt64(123456789012345678), CSettings());
  EXPECT_EQ(out, "1.23456789012346E17");  // the general form keeps 15 digits
}

// The quick conversion through the shortest text agrees with an exact one to 15 digits, the
// near-midpoint cases included.
TEST(FloatPicture, DoublesBecomeTheirFifteenDigitsExactly) {
  uint64_t state = 88172645463325252ull;
  auto next = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  std::vector<double> values = {0.1 + 0.2, 1.0 / 3, 2.675, 1e22, 5e-324, 1.7976931348623157e308, 123456789012345.675};
  for (int i = 0; i < 200000; ++i) {
    double v = 0;
    const uint64_t bits = next();
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(static_cast<double>(static_cast<int64_t>(next() % 2000000001) - 1000000000) / 7.0);
  }
  for (double v : values) {
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.14e", std::fabs(v));
    std::string digits = std::string(1, exact[0]) + std::string(exact + 2, 14);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    const vantrix::DecimalNumber n = vantrix::DecimalFromDouble(v);
    ASSERT_EQ(std::string(n.digits, n.count), digits) << v;
    ASSERT_EQ(n.exponent, std::atoi(exact + 17) + 1) << v;
  }
}

TEST(FloatPicture, AbsurdPlaceCountsStayBounded) {
  const std::string zeros(300, '0');
  const std::string out = vantrix::FormatFloat(zeros + "." + zeros, 1.5, CSettings());
  EXPECT_EQ(out.size(), 201u);  // at most 100 places each side
  EXPECT_EQ(out.substr(98, 5), "01.50");
}

TEST(DateTimePicture, FormatsLikeTheFramework) {
  TDateTime when = 0;
  ASSERT_TRUE(platform::TryEncodeDateTime(2024, 3, 5, 14, 7, 9, 45, when));
  TDateTime midnightAfterNoon = 0;
  ASSERT_TRUE(platform::TryEncodeDateTime(2024, 3, 5, 0, 30, 0, 0, midnightAfterNoon));
  FormatSettings dots = CSettings();
  dots.dateSeparator = '.';
  const struct {
    const FormatSettings* settings;
    const char* picture;
    TDateTime value;
    const char* expected;
  } cases[] = {
      {&CSettings(), "dd/mm/yyyy hh:nn:ss.zzz", when, "05/03/2024 14:07:09.045"},
      {&CSettings(), "d/m/yy h:n:s.z", when, "5/3/24 14:7:9.45"},
      {&CSettings(), "ddd dddd mmm mmmm", when, "Tue Tuesday Mar March"},
      {&CSettings(), "hh:mm", when, "14:07"},          // m after an hour is minutes
      {&CSettings(), "HH:MM DD", when, "14:07 05"},    // letters in either case
      {&CSettings(), "h:nn am/pm", when, "2:07 pm"},
      {&CSettings(), "h:nn AM/PM", when, "2:07 PM"},
      {&CSettings(), "h a/p", when, "2 p"},
      {&CSettings(), "h ampm", when, "2 PM"},
      {&CSettings(), "h am/pm", midnightAfterNoon, "12 am"},
      {&CSettings(), "c", when, "5 Mar 2024 14:07:09"},
      {&CSettings(), "c", std::trunc(when), "5 Mar 2024"},  // midnight: no time
      {&CSettings(), "'Day' d, \"at\" hh", when, "Day 5, at 14"},
      {&dots, "dd/mm/yyyy", when, "05.03.2024"},
      {&BrSettings(), "c", when, "05/03/2024 14:07:09"},
      {&BrSettings(), "dddd, d 'de' mmmm", when, "ter\xE7" "a-feira, 5 de mar\xE7o"},
      {&BrSettings(), "ddddd t", when, "05/03/2024 14:07"},
      {&CSettings(), "yyyy-mm-dd", -1.25, "1899-12-29"},  // before day zero
  };
  for (const auto& c : cases)
    EXPECT_EQ(vantrix::FormatDateTime(c.picture, c.value, *c.settings), c.expected) << c.picture;
}

TEST(TextToValue, ReadsNumbersInTheLocalesForm) {
  const struct {
    bool brazil;
    const char* text;
    bool ok;
    double value;
  } floats[] = {
      {false, "  -1.5  ", true, -1.5}, {false, "1e3", true, 1000},    {false, ".5", true, 0.5},
      {false, "+2", true, 2},          {false, "1.5x", false, 0},     {false, "1,5", false, 0},
      {false, "inf", false, 0},        {false, "nan", false, 0},      {false, "1e400", false, 0},
      {false, "", false, 0},           {false, "-", false, 0},        {false, "1e", false, 0},
      {true, "1234,5", true, 1234.5},  {true, "1,5e3", true, 1500},   {true, "1.234,5", false, 0},
      {true, "1234.5", false, 0},      {false, "1e-400", true, 0},
  };
  for (const auto& c : floats) {
    double value = -42;
    EXPECT_EQ(vantrix::TryStrToFloat(c.text, c.brazil ? BrSettings() : CSettings(), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
  int32_t i = 0;
  EXPECT_TRUE(vantrix::TryStrToInt(" 12 ", i));
  EXPECT_EQ(i, 12);
  EXPECT_TRUE(vantrix::TryStrToInt("+7", i));
  EXPECT_EQ(i, 7);
  EXPECT_TRUE(vantrix::TryStrToInt("-2147483648", i));
  EXPECT_FALSE(vantrix::TryStrToInt("2147483648", i));
  EXPECT_FALSE(vantrix::TryStrToInt("1.0", i));
  EXPECT_FALSE(vantrix::TryStrToInt("+-1", i));
  int64_t big = 0;
  EXPECT_TRUE(vantrix::TryStrToInt64("9223372036854775807", big));
}

// The exact decimal reading agrees with the double's 15 digits wherever it is taken.
TEST(TextToValue, ExactDecimalsMatchTheDoublePath) {
  const char* texts[] = {"0.05", "1234.5678", "-0.000123", "100", "9.99999999999999", "1e5", "12.5e-3", "007.50"};
  for (const char* text : texts) {
    vantrix::DecimalNumber exact;
    ASSERT_TRUE(vantrix::TryDecimalFromText(text, '.', exact)) << text;
    double value = 0;
    ASSERT_TRUE(vantrix::TryStrToFloat(text, CSettings(), value));
    const vantrix::DecimalNumber viaDouble = vantrix::DecimalFromDouble(value);
    EXPECT_EQ(std::string(exact.digits, exact.count), std::string(viaDouble.digits, viaDouble.count)) << text;
    EXPECT_EQ(exact.exponent, viaDouble.exponent) << text;
    EXPECT_EQ(exact.negative, viaDouble.negative) << text;
  }
  vantrix::DecimalNumber n;
  EXPECT_FALSE(vantrix::TryDecimalFromText("1.0000000000000001", '.', n));  // more than 15 digits
}

TEST(TextToValue, ReadsDatesAndTimesInTheLocalesForm) {
  auto at = [](int y, int mo, int d, int h, int mi, int s, int ms) {
    TDateTime t = 0;
    EXPECT_TRUE(platform::TryEncodeDateTime(y, mo, d, h, mi, s, ms, t));
    return t;
  };
  const struct {
    bool brazil;
    const char* text;
    bool ok;
    TDateTime value;
  } cases[] = {
      {false, "5 Mar 2024 14:07:09", true, at(2024, 3, 5, 14, 7, 9, 0)},
      {false, "5 march 2024", true, at(2024, 3, 5, 0, 0, 0, 0)},
      {false, "14:07", true, at(1899, 12, 30, 14, 7, 0, 0)},
      {false, "2:07 pm", true, at(1899, 12, 30, 14, 7, 0, 0)},
      {false, "12:00 AM", true, 0},
      {false, "13:00 pm", false, 0},
      {true, "05/03/2024 14:07:09,045", true, at(2024, 3, 5, 14, 7, 9, 45)},
      {true, "5/3/24", true, at(2024, 3, 5, 0, 0, 0, 0)},
      {true, "5/3/99", true, at(1999, 3, 5, 0, 0, 0, 0)},
      {true, "31/02/2024", false, 0},
      {true, "05/03/2024 25:00", false, 0},
      {true, "05/03/2024 x", false, 0},
      {true, "05-03-2024", false, 0},
      {true, "abc", false, 0},
      {true, "", false, 0},
  };
  for (const auto& c : cases) {
    TDateTime value = -1;
    EXPECT_EQ(vantrix::TryStrToDateTime(c.text, c.brazil ? BrSettings() : CSettings(), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_NEAR(value, c.value, 1e-9) << c.text;
    }
  }
}

TEST(FormatSettings, QtFormatsBecomePictures) {
  EXPECT_EQ(vantrix::QtFormatToPicture("dd/MM/yyyy", '/', ':'), "dd/mm/yyyy");
  EXPECT_EQ(vantrix::QtFormatToPicture("HH:mm:ss t", '/', ':'), "hh:nn:ss");
  EXPECT_EQ(vantrix::QtFormatToPicture("h:mm AP", '/', ':'), "h:nn ampm");
  EXPECT_EQ(vantrix::QtFormatToPicture("dd.MM.yy", '.', ':'), "dd/mm/yy");
  EXPECT_EQ(vantrix::QtFormatToPicture("d 'de' MMMM, yyyy", '/', ':'), "d\" de \"mmmm, yyyy");
  EXPECT_EQ(vantrix::QtFormatToPicture("yyyy-MM-dd 'at' h:mm", '/', ':'), "yyyy-mm-dd\" at \"h:nn");

  const vantrix::TVantrixFormats br(BrSettings());
  EXPECT_EQ(br.DateFormat(), "dd/mm/yyyy");
  EXPECT_EQ(br.TimeFormat(), "hh:nn");
  EXPECT_EQ(br.DateTimeFormat(), "dd/mm/yyyy hh:nn");
  EXPECT_EQ(br.CurrencyFormat(), "R$ #,###,##0.00");
  EXPECT_EQ(BrSettings().decimalSeparator, ',');
  EXPECT_EQ(BrSettings().thousandSeparator, '.');
  EXPECT_EQ(BrSettings().listSeparator, ';');
  EXPECT_EQ(CSettings().listSeparator, ',');
  const vantrix::TVantrixFormats c(CSettings());
  EXPECT_EQ(c.DateFormat(), "d mmm yyyy");
  EXPECT_EQ(c.TimeFormat(), "hh:nn:ss");
  EXPECT_EQ(c.CurrencyFormat(), "#,###,##0.00");
}

}  // namespace
