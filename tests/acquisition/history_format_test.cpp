// The history file's header and data lines: the columns of each device, the names and units
// in the header, field counts that always match, and numbers and dates in their fixed form.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "acquisition/history_format.h"
#include "instrument/device_regs.h"

namespace {

using namespace acquisition;

const DefaultValueNames kDefaults = {"Canal 1", "Canal 2", "Ambiente", "Canal 3",
                                     "Contagens", "Temporiza\xE7\xE3o", "Freq\xFC\xEAncia"};

size_t Fields(const std::string& line) { return static_cast<size_t>(std::count(line.begin(), line.end(), ',')) + 1; }

TDateTime At(int y, int mo, int d, int h, int mi, int s, int ms) {
  TDateTime t = 0;
  EXPECT_TRUE(platform::TryEncodeDateTime(y, mo, d, h, mi, s, ms, t));
  return t;
}

// Model 0, firmware 1.10: channel 1 a Pt100, channel 2 a linear input with two decimals.
DeviceRegs Logger() {
  DeviceRegs r;
  r.Tag = "Forno 1";
  r.FirmwareVersionNumber = 110;
  r.Channel1.Config = 0x80;               // Pt100
  r.Channel1.Tag = "  ";                  // blank: the default name
  r.Channel2.Config = 10 | 0x80 | 2 << 9;  // 4-20 mA, two decimals
  r.Channel2.Tag = "Nivel";
  r.Channel2.Unit = "%";
  r.Channel3Tag = "";
  r.DigInputTag = "";
  r.DigiTalInputConfig = 0x20;  // timing
  return r;
}

TEST(HistoryFormat, ColumnsNamesAndUnitsOfEachDevice) {
  const DeviceRegs logger = Logger();
  HistoryDevice d = DescribeHistoryDevice(logger, device::kModelLogger, 0x1F, kDefaults);
  EXPECT_EQ(d.name, "Forno 1");
  ASSERT_EQ(d.columns.size(), 5u);
  const char* names[] = {"Canal 3", "Canal 1", "Nivel", "Ambiente", "Temporiza\xE7\xE3o"};
  const char* units[] = {"", "\xB0" "C", "%", "\xB0" "C", ""};
  const int decimals[] = {0, 1, 2, 1, 1};
  for (int j = 0; j < 5; ++j) {
    EXPECT_EQ(d.columns[j].valueIndex, j);
    EXPECT_EQ(d.columns[j].name, names[j]) << j;
    EXPECT_EQ(d.columns[j].unit, units[j]) << j;
    EXPECT_EQ(d.columns[j].decimals, decimals[j]) << j;
  }
  DeviceRegs counting = logger;
  counting.DigiTalInputConfig = 0x30;
  EXPECT_EQ(HistoryValueName(counting, device::kModelLogger, 4, kDefaults), "Contagens");
  counting.DigiTalInputConfig = 0x40;
  EXPECT_EQ(HistoryValueName(counting, device::kModelLogger, 4, kDefaults), "Freq\xFC\xEAncia");
  counting.FirmwareVersionNumber = 109;  // no counter
  EXPECT_EQ(HistoryValueName(counting, device::kModelLogger, 4, kDefaults), "");

  // A blank tag names the device "Tervana". The probe's values all have one decimal, whatever
  // its configuration word holds (here what model 0 would read as linear inputs with no
  // decimals and with three: printing none would drop a measured digit), and no counter.
  DeviceRegs probe;
  probe.Tag = " \t";
  probe.Channel1.Config = 0x0FF;
  probe.Channel2.Config = 0x6FF;
  d = DescribeHistoryDevice(probe, device::kModelProbe, 0x16, kDefaults);
  EXPECT_EQ(d.name, "Tervana");
  ASSERT_EQ(d.columns.size(), 3u);
  EXPECT_EQ(d.columns[0].decimals, 1);
  EXPECT_EQ(d.columns[1].decimals, 1);
  EXPECT_EQ(d.columns[2].name, "");
  EXPECT_EQ(DescribeHistoryDevice(logger, device::kModelLogger, 0, kDefaults).columns.size(), 0u);
}

TEST(HistoryFormat, HeaderFieldsLineUpWithTheDataLines) {
  DeviceRegs other = Logger();
  other.Tag = "Tanque, sul";   // a comma would open a field of its own
  other.Channel1.Tag = "T\x01" "1";
  other.Channel1.Unit = "m\n3";
  other.Channel1.Config = 9 | 0x80 | 3 << 9;  // linear, three decimals
  const std::vector<HistoryDevice> devices = {
      DescribeHistoryDevice(Logger(), device::kModelLogger, 0x06, kDefaults),
      DescribeHistoryDevice(Logger(), device::kModelLogger, 0x00, kDefaults),  // records nothing
      DescribeHistoryDevice(other, device::kModelLogger, 0x03, kDefaults)};
  const HistoryHeader h = BuildHistoryHeader(devices, false);
  EXPECT_EQ(h.deviceNames, " , , Forno 1, , Tanque; sul, ");
  EXPECT_EQ(h.valueNames, " , , Canal 1, Nivel, Canal 3, T 1");
  EXPECT_EQ(h.units, " , , \xB0" "C, %, , m 3");

  std::vector<float> values(15, 0.0f);
  values[1] = 23.5f;
  values[2] = 41.27f;
  values[10] = -1.0f;
  values[11] = 1.2345f;
  const std::string line = FormatHistoryLine(At(2026, 12, 5, 14, 34, 51, 123), values, devices);
  EXPECT_EQ(line, "05/12/2026, 14:34:51.123, 23.5, 41.27, -1, 1.235");
  for (const std::string* header : {&h.deviceNames, &h.valueNames, &h.units}) {
    EXPECT_EQ(Fields(*header), Fields(line)) << *header;
  }

  // An appended recording has placeholders only; no device at all, empty lines.
  const HistoryHeader appended = BuildHistoryHeader(devices, true);
  EXPECT_EQ(appended.deviceNames, " , ");
  EXPECT_EQ(appended.units, " , ");
  const HistoryHeader none = BuildHistoryHeader({}, false);
  EXPECT_EQ(none.deviceNames + none.valueNames + none.units, "");
  EXPECT_EQ(FormatHistoryLine(At(2026, 1, 2, 3, 4, 5, 6), {}, {}), "02/01/2026, 03:04:05.006");
}

TEST(HistoryFormat, TimesRoundToTheMillisecondAndNumbersIgnoreTheLocale) {
  const std::vector<HistoryDevice> one = {DescribeHistoryDevice(Logger(), device::kModelLogger, 0x1F, kDefaults)};
  const std::vector<float> values = {1, 1234.56f, 0.005f, -0.04f, 98765.4f};
  // Half a millisecond before midnight is the next day.
  const TDateTime lastMoment = At(2026, 12, 31, 23, 59, 59, 999) + 0.6 / platform::kMsPerDay;
  // The float 0.005f lies just below 0.005: printed from its exact value, as printf does.
  const std::string expected = "01/01/2027, 00:00:00.000, 1, 1234.6, 0.00, -0.0, 98765.4";
  EXPECT_EQ(FormatHistoryLine(lastMoment, values, one), expected);
  // Under a locale whose decimal mark is a comma, where one is installed.
  for (const char* name : {"pt_BR.UTF-8", "de_DE.UTF-8", "C.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) == nullptr) continue;
    EXPECT_EQ(FormatHistoryLine(lastMoment, values, one), expected) << name;
  }
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(FormatFixed(2.5, 0), "2");  // ties to even, as printf
  EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
}

// A file holds a whole header once three lines that are not blank have ended, however the
// text comes in pieces; blank lines and a line still without its line feed don't count.
TEST(HistoryFormat, HeaderLinesCountOnlyOnceWhole) {
  const auto whole = [](std::vector<std::string> pieces) {
    HeaderLineCounter header;
    bool said = false;
    for (const std::string& piece : pieces) said = header.Take(piece);
    EXPECT_EQ(said, header.HeaderWhole());
    return header.HeaderWhole();
  };
  EXPECT_FALSE(whole({}));
  EXPECT_FALSE(whole({""}));
  EXPECT_FALSE(whole({" , , SN10\n , , Forno\n , , \xB0" "C"}));  // the third line cut
  EXPECT_TRUE(whole({" , , SN10\n , , Forno\n , , \xB0" "C\n"}));
  EXPECT_TRUE(whole({" , , SN", "10\n , , Forno", "\n", " , , \xB0" "C\r", "\n01/01/2026"}));
  EXPECT_FALSE(whole({"\n\n \t\r\n , , SN10\n\n , , Forno\n  \n"}));
  EXPECT_TRUE(whole({"\n\n , , SN10\n\n , , Forno\n  \n,\n"}));
  EXPECT_TRUE(whole({"##_New_Start_##\n , \n , \n"}));  // lines all the same: an earlier writer's data follows
}

}  // namespace
