// The shared-string table: indexes in order of first appearance, and the SST and CONTINUE
// records read back by a decoder written here from the format's rules (a text split between
// records goes on with an option byte at the start of the next one).
#include <gtest/gtest.h>

#include <random>

#include "export/xls/sst_strings.h"
#include "export/xls/xls_stream.h"

namespace {

using namespace vantrix;
using Bytes = std::vector<uint8_t>;

uint16_t Word(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8)); }
uint32_t Long(const Bytes& b, size_t at) { return Word(b, at) | (static_cast<uint32_t>(Word(b, at + 2)) << 16); }

struct Decoded {
  uint32_t total = 0, unique = 0;
  std::vector<std::u16string> texts;
  std::vector<uint32_t> recordSizes;
};

// Reads the SST and its CONTINUE records the way a spreadsheet program does.
Decoded Decode(const Bytes& saved) {
  std::vector<Bytes> bodies;
  Decoded d;
  for (size_t at = 0; at < saved.size();) {
    const uint16_t id = Word(saved, at), length = Word(saved, at + 2);
    EXPECT_EQ(id, bodies.empty() ? 0x00FC : 0x003C);
    EXPECT_LE(length, 8224);
    bodies.emplace_back(saved.begin() + static_cast<long>(at) + 4, saved.begin() + static_cast<long>(at) + 4 + length);
    d.recordSizes.push_back(length);
    at += 4 + length;
  }
  d.total = Long(bodies.at(0), 0);
  d.unique = Long(bodies.at(0), 4);
  size_t record = 0, pos = 8;
  for (uint32_t i = 0; i < d.unique; ++i) {
    if (pos == bodies[record].size()) {
      ++record;
      pos = 0;
    }
    const Bytes* body = &bodies.at(record);
    const uint16_t count = Word(*body, pos);
    uint8_t option = body->at(pos + 2);
    pos += 3;
    std::u16string text;
    while (text.size() < count) {
      if (pos == body->size()) {
        body = &bodies.at(++record);
        option = body->at(0);
        pos = 1;
      }
      if (option & 1) {
        text.push_back(static_cast<char16_t>(Word(*body, pos)));
        pos += 2;
      } else {
        text.push_back(body->at(pos++));
      }
    }
    d.texts.push_back(text);
  }
  EXPECT_EQ(record + 1, bodies.size()) << "records left over";
  EXPECT_EQ(pos, bodies.back().size()) << "bytes left over";
  return d;
}

Bytes Saved(const TsstStrings& sst) {
  TxlsMemoryStream out;
  sst.Save(out);
  EXPECT_EQ(out.Size(), sst.GetTotalSize());
  return out.Bytes();
}

std::u16string Text(size_t length, char16_t seed) {
  std::u16string text(length, u'\0');
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(seed + i % 50);
  return text;
}

TEST(SharedStrings, EmptyTableIsOneRecordOfEightBytes) {
  TsstStrings sst;
  EXPECT_EQ(Saved(sst), (Bytes{0xFC, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(SharedStrings, TextsAreNumberedByFirstAppearanceAndCounted) {
  TsstStrings sst;
  EXPECT_EQ(sst.AddString(u"b"), 0u);
  EXPECT_EQ(sst.AddString(u"a"), 1u);
  EXPECT_EQ(sst.AddString(u"b"), 0u);
  EXPECT_EQ(sst.AddString(u"b"), 0u);
  EXPECT_EQ(sst.AddString(u""), 2u);
  EXPECT_EQ(sst.AddString(u"B"), 3u);
  EXPECT_EQ(sst.TotalCount(), 6u);
  EXPECT_EQ(sst.UniqueCount(), 4u);
  EXPECT_EQ(sst.Count(0), 3u);
  EXPECT_EQ(sst.Value(3), u"B");
  const Decoded d = Decode(Saved(sst));
  EXPECT_EQ(d.total, 6u);
  EXPECT_EQ(d.unique, 4u);
  EXPECT_EQ(d.texts, (std::vector<std::u16string>{u"b", u"a", u"", u"B"}));
  // 8 + three one-character texts of 5 bytes + the empty text of 3.
  EXPECT_EQ(d.recordSizes, (std::vector<uint32_t>{26}));
}

TEST(SharedStrings, ThreeHundredFiftyEighthTextOfTenCharactersStartsAContinue) {
  TsstStrings sst;
  std::vector<std::u16string> texts;
  for (int i = 0; i < 1000; ++i) {
    std::u16string text = u"text";
    const std::string digits = std::to_string(100000 + i);
    text.append(digits.begin(), digits.end());
    texts.push_back(text);
    ASSERT_EQ(text.size(), 10u);
    EXPECT_EQ(sst.AddString(text), static_cast<uint32_t>(i));
  }
  EXPECT_EQ(sst.ChunkSizes(), (std::vector<uint32_t>{8 + 357 * 23, 357 * 23, 286 * 23}));
  const Decoded d = Decode(Saved(sst));
  EXPECT_EQ(d.recordSizes, sst.ChunkSizes());
  EXPECT_EQ(d.texts, texts);
}

TEST(SharedStrings, LongTextsSplitOnWholeCharactersWithAnOptionByteEachContinuation) {
  struct Case {
    size_t length;
    std::vector<uint32_t> sizes;
  };
  for (const Case& c : {Case{4110, {8, 8223}}, Case{4111, {8, 8223, 3}},
                        Case{12000, {8, 8223, 8223, 1 + 2 * (12000 - 4110 - 4111)}}}) {
    TsstStrings sst;
    const std::u16string text = Text(c.length, u'\u4E00');
    sst.AddString(text);
    sst.AddString(u"after");
    std::vector<uint32_t> sizes = c.sizes;
    if (sizes.back() + 13 <= 8224) sizes.back() += 13;
    else sizes.push_back(13);
    EXPECT_EQ(sst.ChunkSizes(), sizes) << c.length;
    const Decoded d = Decode(Saved(sst));
    EXPECT_EQ(d.recordSizes, sizes) << c.length;
    EXPECT_EQ(d.texts, (std::vector<std::u16string>{text, u"after"})) << c.length;
  }
}

TEST(SharedStrings, TextsBeyondACellsLimitAreCut) {
  TsstStrings sst;
  const std::u16string huge = Text(70000, u'a');
  EXPECT_EQ(sst.AddString(huge), 0u);
  EXPECT_EQ(sst.AddString(huge.substr(0, TsstStrings::kMaxTextLength)), 0u);
  const Decoded d = Decode(Saved(sst));
  EXPECT_EQ(d.texts.at(0), huge.substr(0, TsstStrings::kMaxTextLength));
}

// Texts whose stored size (six code units of bookkeeping and the characters) is a power of
// two fill the table's storage exactly, so a new text starts right at a boundary.
TEST(SharedStrings, TextsThatFillTheStorageExactlyStayApart) {
  TsstStrings sst;
  std::vector<std::u16string> texts;
  for (int i = 0; i < 40; ++i) {
    const size_t length = i < 32 ? 32762 : 4090 * static_cast<size_t>(i % 3);
    std::u16string text = Text(length, static_cast<char16_t>(u'a' + i));
    text += static_cast<char16_t>(0x100 + i);
    text.resize(std::max<size_t>(length, 1));
    text.back() = static_cast<char16_t>(0x100 + i);
    texts.push_back(text);
    EXPECT_EQ(sst.AddString(text), texts.size() - 1);
  }
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(sst.AddString(texts[i]), i);
  EXPECT_EQ(Decode(Saved(sst)).texts, texts);
}

TEST(SharedStrings, AnyMixOfLengthsReadsBackAsPlanned) {
  std::mt19937 random(21);
  TsstStrings sst;
  std::vector<std::u16string> texts;
  for (int i = 0; i < 3000; ++i) {
    const size_t length = random() % 10 == 0 ? random() % 20000 : random() % 40;
    std::u16string text = Text(length, random() % 2 ? u'a' : u'\u00E0');
    text += static_cast<char16_t>(u'A' + i % 26);
    text += static_cast<char16_t>(u'A' + i / 26 % 26);
    text += static_cast<char16_t>(u'A' + i / 676);
    texts.push_back(text);
    sst.AddString(text);
    if (i % 7 == 0) sst.AddString(texts[static_cast<size_t>(random()) % texts.size()]);
  }
  const Decoded d = Decode(Saved(sst));
  EXPECT_EQ(d.recordSizes, sst.ChunkSizes());
  EXPECT_EQ(d.texts, texts);
  EXPECT_EQ(d.total, sst.TotalCount());
}

}  // namespace
