#include "platform/ini_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <iterator>
#include <string>
#include <vector>

#include "support/unattended_pipe.h"

namespace {

namespace fs = std::filesystem;
using platform::IniFile;
using Names = std::vector<std::string>;

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tervana_ini_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    path_ = dir_ + "/test.cfg";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteRaw(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string ReadRaw() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::string dir_, path_;
};

// Every write goes through to the file at once, and another object on the same path sees
// it and keeps it when it writes in turn.
TEST_F(IniFileTest, WritesCrlfLinesInWriteOrderAndTheWholeFileAtEveryWrite) {
  IniFile ini(path_), other(path_);
  EXPECT_EQ(ini.ReadString("General", "Tag", "none"), "none");
  EXPECT_TRUE(ini.WriteString("General", "Tag", "Estufa 2 \xB0" "C"));
  EXPECT_EQ(ReadRaw(), "[General]\r\nTag=Estufa 2 \xB0" "C\r\n");
  EXPECT_EQ(other.ReadString("General", "Tag", ""), "Estufa 2 \xB0" "C");
  EXPECT_TRUE(other.WriteInteger("Channel1", "Type", -3));
  EXPECT_TRUE(ini.WriteBool("General", "Enabled", true));  // must not drop Channel1
  EXPECT_TRUE(ini.WriteString("general", "TAG", "x"));  // replaces, keeps the first spelling
  EXPECT_EQ(ReadRaw(), "[General]\r\nTag=x\r\nEnabled=1\r\n[Channel1]\r\nType=-3\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);  // no temporary left behind
}

// What the writers produce, the readers take back exactly: every byte but the line ends,
// and the float texts of extreme, signed-zero and non-finite values.
TEST_F(IniFileTest, ValuesRoundTripThroughANewObject) {
  const double doubles[] = {1.0 / 3, -2.5e-300, -0.0, std::numeric_limits<double>::denorm_min(),
                            -std::numeric_limits<double>::infinity(), NAN};
  std::string bytes = "x";
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes.push_back(static_cast<char>(b));
  bytes += "x";
  for (size_t i = 0; i < std::size(doubles); ++i) ASSERT_TRUE(IniFile(path_).WriteFloat("F", std::to_string(i), doubles[i]));
  ASSERT_TRUE(IniFile(path_).WriteString("S", "bytes", bytes));
  IniFile ini(path_);
  for (size_t i = 0; i < std::size(doubles); ++i) {
    const double back = ini.ReadFloat("F", std::to_string(i), 42.0);
    EXPECT_TRUE(back == doubles[i] || (std::isnan(back) && std::isnan(doubles[i]))) << back;
    EXPECT_EQ(std::signbit(back), std::signbit(doubles[i]));
  }
  EXPECT_EQ(ini.ReadString("S", "bytes", ""), bytes);
}

TEST_F(IniFileTest, IntegerFloatAndBoolParsing) {
  const int d = 777;
  const double f = -1.0;
  const struct { const char* text; int integer; double number; } cases[] = {
      {"-17", -17, -17},  {"  +7  ", 7, 7},    {"0X1f", 31, f},     {"$FFFFFFFF", -1, f},  {"-$10", -16, f},
      {"-2147483648", -2147483647 - 1, -2147483648.0}, {"2147483648", d, 2147483648.0}, {"$100000000", d, f},
      {"12abc", d, f},    {"", d, f},          {"0x", d, f},        {"1.5", d, 1.5},      {"1,5", d, f},
      {".5", d, 0.5},     {"-2.5e3", d, -2500}, {"1e999", d, f},    {"infinity", d, f},
      // A minus before hexadecimal negates a magnitude, within the range decimal has.
      {"-0x80000000", -2147483647 - 1, f}, {"-0x80000001", d, f}, {"-$FFFFFFFF", d, f},
  };
  for (const auto& c : cases) {
    WriteRaw(std::string("[N]\nv=") + c.text + "\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadInteger("N", "v", d), c.integer) << c.text;
    EXPECT_EQ(ini.ReadFloat("N", "v", f), c.number) << c.text;
    EXPECT_EQ(ini.ReadBool("N", "v", false), c.integer != 0 && c.integer != d) << c.text;
  }
}

TEST_F(IniFileTest, ReadsForeignFilesAndKeepsTheirLayout) {
  WriteRaw("; written by hand\n[ General ] trailing\n  Model = 0x2000  \nTag=a=b\r\nmodel=999\n\n; channel one\n"
           "[Channel1]\nName=\njunk line\n[CONFIGURA\xC7\xC3O]\nx=1\n[general]\nLate=1\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadInteger("GENERAL", "MODEL", 0), 0x2000);  // the first duplicate wins
  EXPECT_EQ(ini.ReadString("General", "Tag", ""), "a=b");
  EXPECT_EQ(ini.ReadString("General", "Late", "-"), "-");
  EXPECT_EQ(ini.ReadString("Channel1", "Name", "default"), "");
  EXPECT_FALSE(ini.ValueExists("Channel1", "junk line"));
  EXPECT_EQ(ini.ReadInteger("configura\xE7\xE3o", "X", 0), 1);  // accented letters fold too
  EXPECT_EQ(ini.ReadSections(), (Names{"General", "Channel1", "CONFIGURA\xC7\xC3O"}));
  EXPECT_EQ(ini.ReadSection("General"), (Names{"Model", "Tag"}));
  // A new key goes after the last key of its section, before the blank line and comment.
  ASSERT_TRUE(ini.WriteString("General", "Serial", "1234"));
  ASSERT_TRUE(ini.WriteString("Channel2", "Name", "B"));
  EXPECT_EQ(ReadRaw(),
            "; written by hand\r\n[General]\r\nModel=0x2000\r\nTag=a=b\r\nmodel=999\r\nSerial=1234\r\n\r\n"
            "; channel one\r\n[Channel1]\r\nName=\r\njunk line\r\n[CONFIGURA\xC7\xC3O]\r\nx=1\r\n"
            "[general]\r\nLate=1\r\n[Channel2]\r\nName=B\r\n");
}

// A file saved by an editor as UTF-8 starts with a byte-order mark: its text comes in as code
// page 1252 (a character the code page lacks as '?'), names included, and it is written back
// as UTF-8 behind the mark, a second save equal to the first. Without a whole mark the bytes
// are code page 1252 as they stand.
TEST_F(IniFileTest, AUtf8FileIsReadAsUtf8AndWrittenBackAsUtf8) {
  WriteRaw("\xEF\xBB\xBF[GENERAL]\r\nTitle=T\xC3\xADtulo \xE2\x82\xAC \xCE\xA9\r\n[CONFIGURA\xC3\x87\xC3\x83O]\r\nx=1\r\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.State(), IniFile::ReadState::kRead);
  EXPECT_EQ(ini.ReadSections(), (Names{"GENERAL", "CONFIGURA\xC7\xC3O"}));
  EXPECT_EQ(ini.ReadString("GENERAL", "Title", ""), "T\xEDtulo \x80 ?");
  EXPECT_EQ(ini.ReadInteger("configura\xE7\xE3o", "X", 0), 1);
  ASSERT_TRUE(ini.WriteString("GENERAL", "Unit", "\xB0" "C"));
  const std::string first = ReadRaw();
  EXPECT_EQ(first,
            "\xEF\xBB\xBF[GENERAL]\r\nTitle=T\xC3\xADtulo \xE2\x82\xAC ?\r\nUnit=\xC2\xB0" "C\r\n"
            "[CONFIGURA\xC3\x87\xC3\x83O]\r\nx=1\r\n");
  IniFile again(path_);
  ASSERT_TRUE(again.WriteString("GENERAL", "Title", again.ReadString("GENERAL", "Title", "")));
  EXPECT_EQ(ReadRaw(), first);

  WriteRaw("[GENERAL]\r\nTitle=T\xC3\xADtulo\r\n");  // no mark: code page 1252, kept byte for byte
  IniFile plain(path_);
  EXPECT_EQ(plain.ReadString("GENERAL", "Title", ""), "T\xC3\xADtulo");
  ASSERT_TRUE(plain.WriteInteger("GENERAL", "ExportType", 7));
  EXPECT_EQ(ReadRaw(), "[GENERAL]\r\nTitle=T\xC3\xADtulo\r\nExportType=7\r\n");
  WriteRaw("\xEF\xBB[GENERAL]\r\nExportType=8\r\n");  // not a whole mark: text before a section
  EXPECT_EQ(IniFile(path_).ReadInteger("GENERAL", "ExportType", 0), 0);
}

// A UTF-16 file, in either byte order, with its mark or without one, is not read: nothing of
// it is taken for sections or keys, the reason is told, and no write replaces it. Without the
// mark, every line ended at its first NUL and the file read as empty.
TEST_F(IniFileTest, AUtf16FileIsNotReadNorWrittenOver) {
  using namespace std::string_literals;
  for (const std::string& text :
       {"\xFF\xFE[\0G\0]\0\r\0\n\0k\0=\0\x31\0"s, "\xFE\xFF\0[\0G\0]\0\r\0\n\0k\0=\0\x31"s, "[\0G\0]\0\n\0k\0=\0\x31\0"s,
        "\0[\0G\0]\0\r\0\n\0k\0=\0\x31"s, "\r\0\n\0\r\0\n\0[\0G\0]\0\r\0\n\0"s, "k\0\n\0"s}) {
    SCOPED_TRACE(testing::PrintToString(text));
    WriteRaw(text);
    IniFile ini(path_);
    EXPECT_EQ(ini.State(), IniFile::ReadState::kUtf16);
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_EQ(ini.ReadInteger("G", "k", 5), 5);
    EXPECT_FALSE(ini.WriteString("G", "k", "2"));
    {
      IniFile::UpdateScope scope(ini);
      ini.WriteString("G", "j", "3");
      EXPECT_FALSE(scope.Commit());
    }
    EXPECT_EQ(ini.WriteError(), "it is UTF-16 text, which is not written over");
    EXPECT_EQ(ReadRaw(), text);
  }
  // Without a mark, whatever the characters beyond Latin-1 and wherever they stand (a first
  // character U+010A has a line feed for its low byte), and with any line ends.
  for (const bool bigEndian : {false, true}) {
    for (const std::u16string& text :
         {u"; Preis \u20AC\r\n[GENERAL]\r\nExportType=8\r\n[CSV]\r\nComma=|\r\n"s,
          u"; \u8BBE\u7F6E\u4E0A\u4E00\r\n[GENERAL]\r\nExportType=8\r\n"s,
          u"; \u041D\u0430\u0441\u0442\u0440\u043E\u0439\u043A\u0438\n[GENERAL]\nExportType=8\n"s,
          u"[Pre\u00E7os \u20AC]\r\nk=1\r\n"s, u"[GENERAL]\rExportType=8\r; \u20AC\r"s, u"\u010A[G]\nk=1\n"s,
          u"\n[G]\nk=1\n"s}) {
      const std::string bytes = Utf16Bytes(text, bigEndian);
      SCOPED_TRACE(testing::PrintToString(bytes));
      WriteRaw(bytes + (bigEndian ? "" : std::string(3, '\0')));  // and a tail of NULs behind
      IniFile ini(path_);
      EXPECT_EQ(ini.State(), IniFile::ReadState::kUtf16);
      EXPECT_FALSE(ini.WriteInteger("GENERAL", "ExportType", 1));
      EXPECT_EQ(ReadRaw().substr(0, bytes.size()), bytes);
    }
  }
  IniFile ini(path_);
  WriteRaw("[G]\nk=1\n");  // replaced by a readable file: read again
  EXPECT_EQ(ini.State(), IniFile::ReadState::kRead);
  EXPECT_EQ(ini.ReadInteger("G", "k", 5), 1);
  // A NUL elsewhere is no UTF-16: the line ends there, as it always did. Nor is a tail of NULs,
  // what a crash can leave, after a line of one character or of two.
  for (const std::string& text : {"\r\n\n[G]\nk=1\0x\n"s, "[G]\0\0\nk=1\n"s, "\0\n[G]\nk=1\n"s,
                                  "[G]\nk=1\n[H]\0\n"s, "x\n[G]\nk=1\n"s, "xy\n[G]\nk=1\n"s,
                                  "[G]\r\nk=1\r\n" + std::string(4096, '\0'), "[G]\nk=1\n" + std::string(4097, '\0'),
                                  "x\n[G]\nk=1\n[H]" + std::string(7, '\0')}) {
    WriteRaw(text);
    IniFile read(path_);
    EXPECT_EQ(read.State(), IniFile::ReadState::kRead) << testing::PrintToString(text);
    EXPECT_EQ(read.ReadInteger("G", "k", 5), 1) << testing::PrintToString(text);
  }
}

// UTF-16 without its mark is told by its markup, whatever else it holds: characters whose code
// unit ends in 00 (box drawing, the ideographic space, CJK, a low surrogate) in any number, a
// first line longer than any window, a single line without its end.
TEST_F(IniFileTest, Utf16IsToldByItsMarkupWhateverElseItHolds) {
  using namespace std::string_literals;
  const std::u16string lines60(60, u'\u2500'), spaces70(70, u'\u3000'), spaces16(16, u'\u3000');
  std::u16string emoji60;
  for (int i = 0; i < 60; ++i) emoji60 += u"\U0001F600";  // D83D DE00
  std::u16string cjk;  // 40,000 characters, low bytes of every kind, markup among them
  while (cjk.size() < 40000) cjk += static_cast<char16_t>(0x4E00 + cjk.size() % 0x5200);
  const std::u16string texts[] = {
      u"[GENERAL]\r\nExportType=8\r\n[Notas]\r\nLinha=" + lines60 + u"\r\n",
      u"; " + lines60 + u"\r\n; " + lines60 + u"\r\n[G]\r\nk=1\r\n",
      u"[G]\nk=" + emoji60 + u"\n",
      u"[G]\r\nk=" + spaces70 + u"\r\n",
      u"[Header]\r\nText=\u7B2C\u4E00\u5DE5\u5834" + spaces16 + u"\u6E2C\u5B9A\u8A18\u9332",
      u"; " + std::u16string(80, u'\u2500') + u"\r\n[Style1]\r\nFontName=Arial\r\n",
      u"; " + std::u16string(40000, u'\u2500') + u"\r\n[G]\r\nk=1\r\n",
      u"; " + cjk + u"\r\n[G]\r\nk=1\r\n",
      u"; " + std::u16string(40000, u'x') + u"\n[G]\nk=1\n",
      u"[\u03A9\u03BC\u03AD\u03B3\u03B1]",
      u"\u03BA\u03BB\u03B5\u03B9\u03B4\u03AF=\u03C4\u03B9\u03BC\u03AE",
      u"[G]\rk=\u5B00\u3D00\u0A00\r",
  };
  for (const std::u16string& text : texts) {
    for (const bool bigEndian : {false, true}) {
      const std::string bytes = Utf16Bytes(text, bigEndian);
      SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 64)) + (bigEndian ? " BE" : " LE"));
      WriteRaw(bytes);
      IniFile ini(path_);
      EXPECT_EQ(ini.State(), IniFile::ReadState::kUtf16);
      EXPECT_FALSE(ini.WriteString("G", "k", "2"));
      EXPECT_EQ(ini.WriteError(), "it is UTF-16 text, which is not written over");
      EXPECT_TRUE(ReadRaw() == bytes);
    }
  }
}

// A file whose text holds a NUL is never written over: read as text, its lines end at their
// first NUL, and a save would lose the rest. A damaged text file (stray NULs, beside markup too;
// a lost block; random bytes) is read, not called UTF-16, and the refusal says where the first
// NUL is. A tail of NULs, what a crash leaves, is no text: such a file is still saved.
TEST_F(IniFileTest, AFileHoldingNulBytesIsReadButNeverWrittenOver) {
  using namespace std::string_literals;
  std::string options;  // as the export dialog saves them
  for (const char* line :
       {"[GENERAL]", "ExportType=8", "FileName=/tmp/leituras.csv", "ShowFile=0", "PrintFile=0", "GoToFirstRecord=1",
        "ExportEmpty=1", "CurrentRecordOnly=0", "ExportRecCount=0", "SkipRecCount=0", "AllowCaptions=1",
        "CaptionRow=-1", "[FORMATS]", "Integer=#,###,##0", "Float=#,###,##0.00", "Date=d mmm yyyy", "Time=hh:nn:ss",
        "DateTime=d mmm yyyy hh:nn:ss", "Currency=#,###,##0.00", "BooleanTrue=true", "BooleanFalse=false",
        "NullString=", "[CAPTIONS]", "Id=Id", "Reading=Leitura \xB0" "C", "Amount=Valor", "Day=Data", "Clock=Hora",
        "Stamp=Data e hora", "Ok=Ok", "Label=R\xF3" "tulo", "Note=Nota; \"livre\"", "Counter=Contador", "[CSV]",
        "QuoteStrings=1", "Comma=,", "Quote=\""})
    options += std::string(line) + "\r\n";
  struct Case {
    std::string text, error;
  };
  const Case cases[] = {
      {"[GENERAL]\r\nBooleanTrue=\0i\0\r\nk=1\r\n"s, "it holds 2 NUL bytes, the first at offset 23, and is not written over"},
      {"[G]\nk=1\n" + std::string(4096, '\0') + "\n[H]\nj=2\n", "it holds 4096 NUL bytes, the first at offset 8, and is not written over"},
      {"\n" + std::string(64, '\0') + "[G]\nk=1\n", "it holds 64 NUL bytes, the first at offset 1, and is not written over"},
      {"[G]\nk=1\0\n"s, "it holds a NUL byte, at offset 7, and is not written over"},
      {"a\0b\0"s, "it holds a NUL byte, at offset 1, and is not written over"},  // "ab" in UTF-16, no markup
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text.substr(0, 40)));
    WriteRaw(c.text);
    IniFile ini(path_);
    EXPECT_EQ(ini.State(), IniFile::ReadState::kRead);
    EXPECT_FALSE(ini.WriteString("G", "k", "2"));
    EXPECT_EQ(ini.WriteError(), c.error);
    {
      IniFile::UpdateScope scope(ini);
      EXPECT_FALSE(ini.EraseSection("G"));
      EXPECT_FALSE(scope.Commit());
    }
    EXPECT_TRUE(ReadRaw() == c.text);
  }
  EXPECT_EQ(IniFile(path_).ReadString("G", "k", ""), "");
  WriteRaw(cases[1].text);
  EXPECT_EQ(IniFile(path_).ReadInteger("H", "j", 0), 2);

  // Options files with bytes turned to NUL here and there, and random bytes: read, never UTF-16,
  // never replaced.
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const size_t nuls : {3u, 5u, 10u, 20u, 50u}) {
    for (int copy = 0; copy < 200; ++copy) {
      std::string text = options;
      for (size_t n = 0; n < nuls; ++n) text[(next() >> 8) % (text.size() - 1)] = '\0';
      WriteRaw(text);
      IniFile ini(path_);
      ASSERT_EQ(ini.State(), IniFile::ReadState::kRead) << nuls << " " << testing::PrintToString(text);
      ASSERT_FALSE(ini.WriteInteger("GENERAL", "ExportType", 1));
      ASSERT_TRUE(ReadRaw() == text);
    }
  }
  for (int copy = 0; copy < 200; ++copy) {
    std::string bytes(512, '\0');
    for (char& b : bytes) b = static_cast<char>(next() >> 24);
    bytes[17] = '\0';
    WriteRaw(bytes);
    IniFile ini(path_);
    ASSERT_NE(ini.State(), IniFile::ReadState::kUtf16) << testing::PrintToString(bytes);
    ASSERT_FALSE(ini.WriteInteger("G", "k", 1));
    ASSERT_TRUE(ReadRaw() == bytes);
  }

  // A tail of NULs is no text: the file is saved, and a second save equals the first.
  for (const std::string& tail : {std::string(1, '\0'), std::string(5000, '\0')}) {
    WriteRaw("[G]\r\nk=1\r\nx" + tail);
    ASSERT_TRUE(IniFile(path_).WriteInteger("G", "k", 2));
    const std::string first = ReadRaw();
    EXPECT_EQ(first.find('\0'), first.npos);
    ASSERT_TRUE(IniFile(path_).WriteInteger("G", "k", 2));
    EXPECT_EQ(ReadRaw(), first);
    EXPECT_EQ(IniFile(path_).ReadInteger("G", "k", 0), 2);
  }
}

// Sections found and erased by the beginning of their names: in file order, without regard to
// case, each name once; erasing leaves the others and their lookups right.
TEST_F(IniFileTest, SectionsByPrefix) {
  WriteRaw("[XLS_CHART_1_SERIES_1]\nk=1\n[xls_chart_1]\nk=2\n[XLS_CHART_10_SERIES_0]\nk=3\n"
           "[Xls_Chart_1_series_0]\nk=4\n[XLS_CHART_1_SERIES_1]\nk=dup\n[Other]\nk=5\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadSectionsStartingWith("XLS_CHART_1_SERIES_"),
            (Names{"XLS_CHART_1_SERIES_1", "Xls_Chart_1_series_0"}));
  EXPECT_EQ(ini.ReadSectionsStartingWith("xls_chart_1").size(), 4u);
  EXPECT_TRUE(ini.ReadSectionsStartingWith("XLS_CHART_2").empty());
  ASSERT_TRUE(ini.EraseSectionsStartingWith("XLS_CHART_1_SERIES_"));
  EXPECT_EQ(ini.ReadSections(), (Names{"xls_chart_1", "XLS_CHART_10_SERIES_0", "Other"}));
  EXPECT_EQ(ini.ReadInteger("other", "k", 0), 5);
  EXPECT_TRUE(ini.EraseSectionsStartingWith("nothing"));
  ASSERT_TRUE(ini.WriteString("XLS_CHART_1_SERIES_0", "k", "6"));
  EXPECT_EQ(ini.ReadSectionsStartingWith("XLS_CHART_1_").back(), "XLS_CHART_1_SERIES_0");
  ASSERT_TRUE(ini.EraseAllSections());
  EXPECT_TRUE(ini.ReadSections().empty());
}

// Keys added one after another go after the last key, before the blank lines and comments that
// end the section, also once the last key was deleted or when the section has no key.
TEST_F(IniFileTest, NewKeysGoAfterTheLastKey) {
  WriteRaw("[A]\n; about a\nk=1\nj=2\n\n; about b\n[B]\n; only a comment\n\n[C]\n");
  IniFile ini(path_);
  ASSERT_TRUE(ini.DeleteKey("A", "j"));
  for (const char* key : {"x", "y"}) ASSERT_TRUE(ini.WriteString("A", key, key));
  for (const char* key : {"p", "q"}) ASSERT_TRUE(ini.WriteString("B", key, key));
  ASSERT_TRUE(ini.WriteString("C", "z", "1"));
  EXPECT_EQ(ReadRaw(),
            "[A]\r\n; about a\r\nk=1\r\nx=x\r\ny=y\r\n\r\n; about b\r\n[B]\r\n; only a comment\r\np=p\r\nq=q\r\n\r\n"
            "[C]\r\nz=1\r\n");
  EXPECT_EQ(ini.ReadSection("a"), (Names{"k", "x", "y"}));
  EXPECT_EQ(ini.ReadString("B", "Q", ""), "q");
}

TEST_F(IniFileTest, EraseAndDelete) {
  WriteRaw("[A]\nk=1\nK=2\nj=3\n[B]\n[a]\nz=9\n");
  IniFile ini(path_);
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_FALSE(ini.SectionExists("B"));  // a bare header holds no key
  ASSERT_TRUE(ini.DeleteKey("A", "k"));  // every duplicate goes
  EXPECT_EQ(ini.ReadSection("A"), Names{"j"});
  EXPECT_TRUE(ini.DeleteKey("Missing", "k"));
  ASSERT_TRUE(ini.EraseSection("A"));  // both [A] and [a]
  EXPECT_EQ(ReadRaw(), "[B]\r\n");
}

// Sections erased by name, by prefix, or not there at all, after the names were looked up:
// every look-up after it is right, in file order, also once enough are gone for their empty
// places to be closed up; a section written again goes to the end; an erase that finds
// nothing does not write the file.
TEST_F(IniFileTest, ErasingSectionsKeepsEveryLookupRight) {
  std::string text;
  for (int i = 0; i < 10; ++i) {
    const std::string n = std::to_string(i);
    text += "[NOTE_" + n + "]\nCol=" + n + "\n[NOTE_" + n + "_LINES]\nline0=n" + n + "\n";
  }
  text += "[note_3]\nCol=dup\n[Other]\nk=1\n";
  WriteRaw(text);
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadInteger("NOTE_3", "Col", -1), 3);
  const auto inode = [this] {
    struct stat st {};
    stat(path_.c_str(), &st);
    return st.st_ino;
  };
  const ino_t before = inode();
  EXPECT_TRUE(ini.EraseSection("NOTE_99"));
  EXPECT_TRUE(ini.EraseSectionsStartingWith("NOTE_3_LINES_"));
  EXPECT_TRUE(ini.DeleteKey("NOTE_1", "Row"));
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(ReadRaw(), text);

  ASSERT_TRUE(ini.EraseSection(" note_3 "));  // both [NOTE_3] and [note_3]
  EXPECT_FALSE(ini.SectionExists("NOTE_3"));
  EXPECT_EQ(ini.ReadString("NOTE_3_LINES", "line0", ""), "n3");
  EXPECT_EQ(ini.ReadInteger("NOTE_4", "Col", -1), 4);
  ASSERT_TRUE(ini.EraseSectionsStartingWith("note_1"));  // NOTE_1 and NOTE_1_LINES
  EXPECT_EQ(ini.ReadSectionsStartingWith("NOTE_1"), Names{});
  EXPECT_EQ(ini.ReadSectionsStartingWith("NOTE_2"), (Names{"NOTE_2", "NOTE_2_LINES"}));
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(ini.EraseSection("NOTE_" + std::to_string(i) + "_LINES"));
  EXPECT_EQ(ini.ReadSections(), (Names{"NOTE_0", "NOTE_2", "NOTE_4", "NOTE_5", "NOTE_6", "NOTE_7", "NOTE_8", "NOTE_9",
                                       "Other"}));
  for (int i : {0, 2, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(ini.ReadInteger("note_" + std::to_string(i), "COL", -1), i);
  EXPECT_EQ(ini.ReadString("NOTE_1", "Col", "-"), "-");
  ASSERT_TRUE(ini.WriteString("NOTE_3", "Col", "33"));
  ASSERT_TRUE(ini.WriteString("NOTE_5", "Row", "2"));
  EXPECT_EQ(ini.ReadSections().back(), "NOTE_3");
  EXPECT_EQ(ReadRaw(),
            "[NOTE_0]\r\nCol=0\r\n[NOTE_2]\r\nCol=2\r\n[NOTE_4]\r\nCol=4\r\n[NOTE_5]\r\nCol=5\r\nRow=2\r\n"
            "[NOTE_6]\r\nCol=6\r\n[NOTE_7]\r\nCol=7\r\n[NOTE_8]\r\nCol=8\r\n[NOTE_9]\r\nCol=9\r\n[Other]\r\nk=1\r\n"
            "[NOTE_3]\r\nCol=33\r\n");
  EXPECT_EQ(IniFile(path_).ReadSections(), ini.ReadSections());
}

// Lists keep the first spelling in file order, lookups fold case, and every change that
// moves, adds or removes names leaves the lookups right for the names after it.
TEST_F(IniFileTest, ListsAndLookupsStayRightThroughChanges) {
  WriteRaw("[Zeta]\nb=1\nA=2\nB=3\n\n[alpha]\nx=1\n[ZETA]\nc=4\n[\xC9mbolo]\nk=5\n[Alpha]\ny=2\n[Last]\nz=6\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadSections(), (Names{"Zeta", "alpha", "\xC9mbolo", "Last"}));
  EXPECT_EQ(ini.ReadSection("zeta"), (Names{"b", "A"}));
  EXPECT_EQ(ini.ReadString("ZeTa", "a", "-"), "2");
  EXPECT_EQ(ini.ReadString("zeta", "c", "-"), "-");  // only the first [Zeta] is looked in
  EXPECT_EQ(ini.ReadString("\xE9MBOLO", "K", "-"), "5");
  EXPECT_TRUE(ini.ReadSection("Missing").empty());

  ASSERT_TRUE(ini.WriteString("zeta", "New", "7"));  // goes after A and B, before the blank line
  EXPECT_EQ(ini.ReadSection("Zeta"), (Names{"b", "A", "New"}));
  EXPECT_EQ(ini.ReadString("Zeta", "b", "-"), "1");
  ASSERT_TRUE(ini.DeleteKey("Zeta", "b"));  // both b and B
  EXPECT_EQ(ini.ReadSection("Zeta"), (Names{"A", "New"}));
  EXPECT_EQ(ini.ReadString("Zeta", "new", "-"), "7");
  ASSERT_TRUE(ini.EraseSection("ALPHA"));  // the sections after it move up
  EXPECT_EQ(ini.ReadSections(), (Names{"Zeta", "\xC9mbolo", "Last"}));
  EXPECT_EQ(ini.ReadString("last", "Z", "-"), "6");
  EXPECT_EQ(ini.ReadString("alpha", "x", "-"), "-");
  ASSERT_TRUE(ini.WriteString("Novo", "k", "8"));
  EXPECT_EQ(ini.ReadSections(), (Names{"Zeta", "\xC9mbolo", "Last", "Novo"}));
  EXPECT_EQ(ini.ReadString("NOVO", "K", "-"), "8");

  // Another writer's change is seen, with its names in their new places.
  WriteRaw("[Last]\nz=9\n[Zeta]\nq=1\n");
  EXPECT_EQ(ini.ReadSections(), (Names{"Last", "Zeta"}));
  EXPECT_EQ(ini.ReadString("zeta", "Q", "-"), "1");
  EXPECT_EQ(ini.ReadString("zeta", "A", "-"), "-");
}

// Tens of thousands of sections and keys, half of them repeated in another case: every name
// is listed once, in order, and found.
TEST_F(IniFileTest, ManySectionsAndKeysKeepTheirOrderAndDuplicates) {
  constexpr int kCount = 20000;
  std::string text;
  for (int i = 0; i < kCount; ++i) text += "[Sec" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
  for (int i = 0; i < kCount; i += 2) text += "[SEC" + std::to_string(i) + "]\nk=dup\n";
  text += "[Keys]\n";
  for (int i = 0; i < kCount; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\nKEY" + std::to_string(i) + "=dup\n";
  WriteRaw(text);
  IniFile ini(path_);
  const Names sections = ini.ReadSections();
  ASSERT_EQ(sections.size(), size_t{kCount} + 1);
  const Names keys = ini.ReadSection("keys");
  ASSERT_EQ(keys.size(), size_t{kCount});
  for (int i = 0; i < kCount; i += 997) {
    EXPECT_EQ(sections[i], "Sec" + std::to_string(i));
    EXPECT_EQ(keys[i], "Key" + std::to_string(i));
    EXPECT_EQ(ini.ReadInteger("sEc" + std::to_string(i), "K", -1), i);
    EXPECT_EQ(ini.ReadInteger("Keys", "kEY" + std::to_string(i), -1), i);
  }
  EXPECT_EQ(sections.back(), "Keys");
}

TEST_F(IniFileTest, WritesThatWouldNotReadBackAreRefused) {
  IniFile ini(path_);
  const struct { std::string section, key, value; } cases[] = {
      {"S", "k=v", "1"}, {"S", "  ", "1"},    {"", "k", "1"},     {"S]", "k", "1"},   {"S", "k", "a\nb"},
      {"S", "k", "a\rb"}, {"S", "k\n", "1"}, {"S", "[k", "1"},   {"S", ";k", "1"},   {"S", "k", std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.section << "/" << c.key;
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_FALSE(fs::exists(path_));
}

// A NUL in a file ends its line there and a CR alone is a line end, so that every name and
// value read can be written back: one kept whole would be refused by the writer and lost by
// whoever saves what was read.
TEST_F(IniFileTest, ANulOrALoneCarriageReturnEndsItsLine) {
  using namespace std::string_literals;
  WriteRaw("[S\0x]\nk=a\0b\r\nk2\0=2\n[T]\n\0z=1\nk3=3\rk4=C\rD\r\r\nk5=5"s);
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadSections(), (Names{"S", "T"}));
  EXPECT_EQ(ini.ReadSection("S"), Names{"k"});
  EXPECT_EQ(ini.ReadSection("T"), (Names{"k3", "k4", "k5"}));
  EXPECT_EQ(ini.ReadString("S", "k", ""), "a");
  EXPECT_EQ(ini.ReadString("T", "k4", ""), "C");
  // What was read can be written, though not over this file: the rest of its lines would go.
  IniFile copy(dir_ + "/copy.cfg");
  EXPECT_TRUE(copy.WriteString("S", "k", ini.ReadString("S", "k", "")));
  EXPECT_TRUE(copy.WriteString("T", "k4", ini.ReadString("T", "k4", "")));
  EXPECT_FALSE(ini.WriteString("T", "k5", "6"));
  EXPECT_EQ(IniFile(path_).ReadString("T", "k5", ""), "5");
}

// A rewrite keeps the file's permissions and a symbolic link in place. A write that fails
// says so and keeps the value in memory; a file that exists but cannot be read is never
// replaced by one holding only the new key.
TEST_F(IniFileTest, RewritesKeepWhatIsThereAndFailuresAreReported) {
  WriteRaw("[S]\nk=1\n");
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  fs::create_symlink("test.cfg", dir_ + "/link.cfg");
  ASSERT_TRUE(IniFile(dir_ + "/link.cfg").WriteInteger("S", "k", 2));
  EXPECT_TRUE(fs::is_symlink(dir_ + "/link.cfg"));
  EXPECT_EQ(fs::status(path_).permissions(), fs::perms(0640));
  EXPECT_EQ(ReadRaw(), "[S]\r\nk=2\r\n");

  IniFile nowhere(dir_ + "/missing/folder.cfg");
  EXPECT_FALSE(nowhere.WriteString("S", "k", "kept"));
  EXPECT_EQ(nowhere.ReadString("S", "k", ""), "kept");
  // What is no regular file is not read, without waiting for a writer or for the end of a
  // device, and a save names what it is.
  const testsupport::UnattendedPipe pipe(dir_ + "/pipe.cfg");
  fs::create_symlink("/dev/zero", dir_ + "/zero.cfg");
  for (const auto& [path, kind] : {std::pair{dir_, "a folder"}, {pipe.Path(), "a named pipe"},
                                   {dir_ + "/zero.cfg", "a device"}}) {
    IniFile other(path);
    EXPECT_EQ(other.State(), IniFile::ReadState::kCannotRead) << path;
    EXPECT_EQ(other.ReadError(), std::string("it is ") + kind);
    EXPECT_FALSE(other.WriteString("S", "k", "v"));
    EXPECT_EQ(other.WriteError(), std::string("it is ") + kind + ", and only a regular file is replaced");
  }
  ASSERT_EQ(chmod(path_.c_str(), 0), 0);
  if (access(path_.c_str(), R_OK) == 0) return;  // root reads anything: nothing more to see
  EXPECT_EQ(IniFile(path_).State(), IniFile::ReadState::kCannotRead);
  EXPECT_FALSE(IniFile(path_).WriteString("S", "k", "v"));
  ASSERT_EQ(chmod(path_.c_str(), 0600), 0);
  EXPECT_EQ(ReadRaw(), "[S]\r\nk=2\r\n");
}

}  // namespace
