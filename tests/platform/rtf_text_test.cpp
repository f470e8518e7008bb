// Rich-text escaping: what would end a group, start a control word or be read in the wrong
// code page never reaches a document bare.
#include <gtest/gtest.h>

#include "platform/rtf_text.h"

namespace {

TEST(RtfText, EscapesWhatReadersWouldTakeAsSyntax) {
  EXPECT_EQ(platform::RtfText("{a}\\b"), "\\{a\\}\\\\b");
  EXPECT_EQ(platform::RtfText("12.5"), "12.5");
  EXPECT_EQ(platform::RtfText(""), "");
  EXPECT_EQ(platform::RtfText("a\tb"), "a\\tab b");
}

TEST(RtfText, BytesAbove127AndControlBytesGoOutAsHex) {
  EXPECT_EQ(platform::RtfText("25 \xB0" "C"), "25 \\'b0C");
  EXPECT_EQ(platform::RtfText("a\xE7\xE3o"), "a\\'e7\\'e3o");
  EXPECT_EQ(platform::RtfText(std::string_view("\x01\x00\xFF", 3)), "\\'01\\'00\\'ff");
  // Line breaks are the caller's to turn into paragraphs.
  EXPECT_EQ(platform::RtfText("a\r\nb"), "a\r\nb");
}

TEST(RtfText, AppendsToWhatIsThere) {
  std::string out = "{\\b ";
  platform::AppendRtfText(out, "}");
  EXPECT_EQ(out, "{\\b \\}");
}

}  // namespace
