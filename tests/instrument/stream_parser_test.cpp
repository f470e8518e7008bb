// The streamed-record reader: numbers without the locale, records split anywhere, and every
// way a line can go wrong without ever freezing the buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "instrument/stream_buffer.h"

namespace stream {
namespace {

constexpr float kError = -999.0f;

void Feed(StreamBuffer& buffer, std::string_view text) {
  buffer.Append(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::vector<StreamRecord> Take(StreamBuffer& buffer, size_t max = 1000, std::optional<double> scale = {}) {
  std::vector<StreamRecord> records;
  buffer.TakeRecords(max, kError, scale, [&](const StreamRecord& r) { records.push_back(r); });
  return records;
}

std::string Record(int i) {
  return "#1;" + std::to_string(i) + ".5;;-" + std::to_string(i) + ",25;" + std::to_string(i * 10) + ";" +
         std::to_string(1000 + i * 8) + "\r\n";
}

TEST(StreamNumber, AcceptsEitherMarkAndNothingElse) {
  struct Case { const char* text; std::optional<double> value; };
  const Case cases[] = {
      {"1.5", 1.5},  {"1,5", 1.5},    {"-12.25", -12.25}, {"+3", 3.0},    {" 22.0 ", 22.0}, {".5", 0.5},
      {"5.", 5.0},   {"2,5E-1", 0.25}, {"inf", {}},       {"-inf", {}},   {"nan", {}},      {"0x1F", {}},
      {"1.2.3", {}}, {"1,2.3", {}},   {"-", {}},          {".", {}},      {"1e", {}},       {"1e400", {}},
      {"12a", {}},   {"1 2", {}},     {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseStreamNumber(c.text), c.value) << c.text;
  EXPECT_EQ(ParseStreamTime("4294967295"), 4294967295u);
  EXPECT_FALSE(ParseStreamTime("4294967296"));
  EXPECT_FALSE(ParseStreamTime("-1"));
  EXPECT_FALSE(ParseStreamTime("12.0"));
}

TEST(StreamBuffer, RecordsAndFaultsTableDriven) {
  using Values = std::array<float, 5>;
  const float e = kError;
  const Values ones = {1, 2, 3, 4, 5};
  struct Case {
    const char* name; std::vector<std::string> reads; std::vector<std::pair<Values, uint32_t>> records;
    uint64_t rejected; std::string left;
  };
  const Case cases[] = {
      {"a line as the instrument sends it", {"#1,5;;22.0;3;7;123\r\n"}, {{{1.5f, e, 22.0f, 3, 7}, 123}}, 0, ""},
      {"split in three reads", {"#1;2;3", ";4;5;6", "78\r\n"}, {{ones, 678}}, 0, ""},
      {"incomplete record stays", {"#1;2;3;4;5;9\r\n#7;8"}, {{ones, 9}}, 0, "#7;8"},
      {"tail of a record before the first #", {"4;5;123\r\n#1;2;3;4;5;6\r\n"}, {{ones, 6}}, 0, ""},
      {"record restarted after a cut", {"xx#1;2;#1;2;3;4;5;6\n"}, {{ones, 6}}, 0, ""},
      {"zero bytes dropped on receipt", {std::string("#1;2\0\0;3;4;5;6\r\n", 16), std::string(1, '\0')},
       {{ones, 6}}, 0, ""},
      {"bad number consumed and counted", {"#1;abc;3;4;5;6\r\n#1;2;3;4;5;7\r\n"}, {{ones, 7}}, 1, ""},
      {"too few fields", {"#1;2;3;4;6\r\n"}, {}, 1, ""},
      {"too many fields", {"#1;2;3;4;5;6;7\r\n"}, {}, 1, ""},
      {"a field beyond a float", {"#1;2;3.5e38;4;5;6\r\n#1;-1e39;3;4;5;7\r\n#3.4e38;2;3;4;5;8\r\n"}, {{{3.4e38f, 2, 3, 4, 5}, 8}}, 2, ""},
      {"time beyond 32 bits", {"#1;2;3;4;5;4294967296\r\n#1;2;3;4;5;x\r\n"}, {}, 2, ""},
      {"largest time", {"#1;2;3;4;5;4294967295\r\n"}, {{ones, 4294967295u}}, 0, ""},
      {"junk line without #", {"garbage\r\n#1;2;3;4;5;6\r\n"}, {{ones, 6}}, 0, ""},
      {"all fields empty", {"#;;;;;6\r\n"}, {{{e, e, e, e, e}, 6}}, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StreamBuffer buffer;
    for (const std::string& read : c.reads) Feed(buffer, read);
    EXPECT_EQ(buffer.CompleteRecords(), c.records.size() + c.rejected);
    const auto records = Take(buffer);
    ASSERT_EQ(records.size(), c.records.size());
    for (size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].values, c.records[i].first);
      EXPECT_EQ(records[i].time, c.records[i].second);
    }
    EXPECT_EQ(buffer.RejectedRecords(), c.rejected);
    EXPECT_EQ(buffer.Text(), c.left);
  }
}

TEST(StreamBuffer, FortyFiveRecordsInOddReadsParseExactlyOnceEach) {
  std::string all;
  for (int i = 1; i <= 45; ++i) all += Record(i);
  for (size_t readSize : {1u, 7u, 64u, 500u}) {
    SCOPED_TRACE(readSize);
    StreamBuffer buffer;
    std::vector<StreamRecord> got;
    // A timer tick takes a few at a time and leaves the rest for the next one.
    for (size_t at = 0; at < all.size() || buffer.CompleteRecords() > 0; at += readSize) {
      if (at < all.size()) Feed(buffer, std::string_view(all).substr(at, readSize));
      const auto some = Take(buffer, 3, 0.5);
      got.insert(got.end(), some.begin(), some.end());
    }
    ASSERT_EQ(got.size(), 45u);
    for (int i = 1; i <= 45; ++i) {
      const StreamRecord& r = got[size_t(i - 1)];
      EXPECT_EQ(r.time, uint32_t(1000 + i * 8));
      EXPECT_EQ(r.values, (std::array<float, 5>{1, i + 0.5f, kError, -(i + 0.25f), i * 5.0f}));  // the counter scaled
    }
    EXPECT_EQ(buffer.Held(), 0u);
  }
}

// A counter factor from the instrument's registers that puts the count beyond a float (or
// is no number) gives the error value for the counter alone; the record's other fields stay.
TEST(StreamBuffer, ACounterScaledBeyondAFloatIsTheErrorValue) {
  const std::string records = "#1;2;3;4;7;100\r\n#1;2;3;4;0;101\r\n#1;2;3;4;1e-300;102\r\n";
  struct Case { double scale; std::array<float, 3> counters; };
  const Case cases[] = {
      {-4.7e290, {kError, -0.0f, -0.0f}},
      {3.4e38, {kError, 0.0f, 0.0f}},
      {std::numeric_limits<double>::quiet_NaN(), {kError, kError, kError}},
      {std::numeric_limits<double>::infinity(), {kError, kError, kError}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    StreamBuffer buffer;
    Feed(buffer, records);
    const auto got = Take(buffer, 1000, c.scale);
    ASSERT_EQ(got.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ((std::array<float, 4>{got[i].values[0], got[i].values[1], got[i].values[2], got[i].values[3]}),
                (std::array<float, 4>{1, 2, 3, 4}));
      EXPECT_EQ(got[i].values[4], c.counters[i]) << i;
      EXPECT_EQ(std::signbit(got[i].values[4]), std::signbit(c.counters[i])) << i;
      EXPECT_EQ(got[i].time, 100 + i);
    }
  }
}

TEST(StreamBuffer, AFullBufferWithoutARecordNeverFreezes) {
  // Junk lines, then the start of a record: cut back to the last line end.
  StreamBuffer partial;
  std::string text = std::string(1000, 'y') + "\n#1;2;";
  Feed(partial, text + std::string(StreamBuffer::kCapacity - text.size(), 'z'));
  EXPECT_EQ(partial.Held(), StreamBuffer::kCapacity - 1001);
  EXPECT_EQ(partial.Text().substr(0, 5), "#1;2;");

  // No line end at all, a record starting late: kept from its "#".
  StreamBuffer late;
  Feed(late, std::string(StreamBuffer::kCapacity - 10, 'q') + "#1;2;3;4;5");
  EXPECT_EQ(late.Text(), "#1;2;3;4;5");
  Feed(late, ";6\r\n");
  EXPECT_EQ(Take(late).size(), 1u);

  // A full buffer of complete records is left for the parse to make room.
  StreamBuffer records;
  std::string many;
  while (many.size() < StreamBuffer::kCapacity) many += Record(1);
  Feed(records, many);
  EXPECT_EQ(records.Room(), 0u);
  EXPECT_EQ(Take(records, 30).size(), 30u);
  EXPECT_GT(records.Room(), 0u);
}

}  // namespace
}  // namespace stream
