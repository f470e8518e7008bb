#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::Cp1252ToUtf8;
using platform::IsValidUtf8;
using platform::Utf8ToCp1252;

// Every byte, NUL and the five undefined ones included, comes back unchanged.
TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

// Checked both ways against UTF-8 literals, independent of the codec's table.
TEST(Cp1252, WindowsCharactersBothWays) {
  const char* high[32] = {"€", "\u0081", "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š", "‹", "Œ", "\u008D", "Ž", "\u008F",
                          "\u0090", "‘", "’", "“", "”", "•", "–", "—", "˜", "™", "š", "›", "œ", "\u009D", "ž", "Ÿ"};
  for (int b = 0x80; b <= 0x9F; ++b) {
    EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(b))), high[b - 0x80]) << std::hex << b;
    EXPECT_EQ(Utf8ToCp1252(high[b - 0x80]), std::string(1, static_cast<char>(b))) << std::hex << b;
  }
  EXPECT_EQ(Utf8ToCp1252("PROBLEMAS NA COMUNICAÇÃO! 25,4 °C Freqüência ÿ"),
            "PROBLEMAS NA COMUNICA\xC7\xC3O! 25,4 \xB0" "C Freq\xFC\xEAncia \xFF");
}

TEST(Cp1252, UnmappableAndMalformedInputGivesOneQuestionMarkEach) {
  struct Case { std::string utf8, cp1252; bool valid = false; };
  const Case cases[] = {
      {"日本", "??", true},                   // no code page 1252 form
      {"a\U0001F600b", "a?b", true},          // four-byte character
      {"\u0080\u0100", "??", true},           // C1 control without a 1252 byte, Latin Extended-A
      {"\x80", "?"},                          // stray continuation byte
      {"\xE2\x82" "x", "?x"},                 // continuation missing
      {"\xC0\xAF", "??"},                     // overlong lead byte is never valid
      {"\xE0\x80\xAF", "???"},                // overlong three-byte form
      {"\xED\xA0\x80", "???"},                // surrogate
      {"\xF4\x90\x80\x80", "????"},           // above U+10FFFF
      {"\xF0\x9F\x98", "?"},                  // four-byte sequence cut short
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << ::testing::PrintToString(c.utf8);
    EXPECT_EQ(IsValidUtf8(c.utf8), c.valid) << ::testing::PrintToString(c.utf8);
  }
}

}  // namespace
