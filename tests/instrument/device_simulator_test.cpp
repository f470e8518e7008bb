// DeviceInterface against the simulated instrument over pseudo-terminals: identification,
// the requests on the wire, live values, a configuration round trip that leaves the
// instrument untouched, aborted writes, calibration, the counter reset, the port search and
// streaming mode read the way the window's timer reads it.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using Direction = sim::LogEntry::Direction;
using namespace std::chrono_literals;

constexpr auto kPatience = 10s;  // only ends a test that would otherwise hang
// The instruments allow 70 ms more than the line needs; the simulated one, on a busy machine,
// may take longer than that to answer, and the requests on the wire are counted here.
constexpr uint16_t kExtraMs = 1000;

// With the values and the units of channels 1..3 as the simulator starts.
struct Variant {
  const char* name; sim::Model model; uint16_t firmware; int kind; std::array<float, 5> values;
  std::array<const char*, 3> units;
};
const char* const kCelsius = "\xB0" "C";  // code page 1252
const Variant kVariants[] = {
    {"model 0, firmware 1.09", sim::Model::Model0, 109, 0, {0, 23.5f, 42.5f, 24.1f, 0}, {kCelsius, "%", kCelsius}},
    {"model 0, firmware 1.10", sim::Model::Model0, 110, 0, {0, 23.5f, 42.5f, 24.1f, 1234}, {kCelsius, "%", kCelsius}},
    {"probe, humidity and temperature", sim::Model::Probe, 105, 0, {0, 55.2f, 23.1f, 24.5f, 0}, {"%", kCelsius, ""}},
    {"probe, thermocouple J", sim::Model::Probe, 105, 2, {2, 23.1f, 0, 24.5f, 0}, {kCelsius, "", kCelsius}},
};
void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

// One request as the instrument saw it; the operand is the count or the value.
struct Request {
  uint8_t function; uint16_t reg; uint16_t operand;
  bool operator==(const Request&) const = default;
};

std::vector<Request> Requests(const sim::SimulatedInstrument& instrument) {
  std::vector<Request> requests;
  for (const sim::LogEntry& e : instrument.Log()) {
    if (e.direction != Direction::Request || e.bytes.size() < 8) continue;
    requests.push_back({e.bytes[1], static_cast<uint16_t>(e.bytes[2] << 8 | e.bytes[3]),
                        static_cast<uint16_t>(e.bytes[4] << 8 | e.bytes[5])});
  }
  return requests;
}

// One streamed record as the program keeps it.
struct Row {
  std::array<float, 5> values;
  uint32_t time;
};

class DeviceOnSimulator : public ::testing::Test {
 protected:
  sim::SimulatedInstrument& StartInstrument(const Variant& v, int port = 2, uint32_t serial = 12345678,
                                            const std::string& friendlyName = "") {
    sim::InstrumentOptions options;
    options.model = v.model;
    options.firmware = v.firmware;
    options.probeKind = v.kind;
    options.serialNumber = serial;
    options.friendlyName = friendlyName;
    instruments_.push_back(std::make_unique<sim::SimulatedInstrument>(options));
    std::string error;
    EXPECT_TRUE(instruments_.back()->Start(folder_.path(), port, &error)) << error;
    return *instruments_.back();
  }
  // An instrument of the variant on port 2, the device's configuration read, the log cleared.
  sim::SimulatedInstrument& Ready(const Variant& v) {
    sim::SimulatedInstrument& instrument = StartInstrument(v);
    EXPECT_TRUE(device_.OpenPort()) << device_.GetErrorText();
    EXPECT_TRUE(device_.ReadConfiguration());
    instrument.ClearLog();
    return instrument;
  }

  // One tick of the fast-mode timer: what has arrived, parsed into rows of a two-device
  // buffer (this device is the second), the other device's values left alone.
  void Tick(std::vector<Row>& rows) {
    constexpr int kMaxRows = 30;
    std::vector<float> buffer(kMaxRows * 2 * 5, 7.0f);
    uint32_t times[kMaxRows] = {};
    const int held = std::min<int>(device_.ReceiveStream(), kMaxRows);
    const int n = device_.ParseStreamRecords(held, &buffer[5], times, 2, -999.0f);
    for (size_t r = 0; r < size_t(n); ++r) {
      rows.push_back({{}, times[r]});
      std::copy_n(&buffer[(r * 2 + 1) * 5], 5, rows.back().values.begin());
      EXPECT_EQ(std::vector<float>(&buffer[r * 10], &buffer[r * 10 + 5]), std::vector<float>(5, 7.0f));
    }
  }

  testing_support::TempPortFolder folder_;
  std::vector<std::unique_ptr<sim::SimulatedInstrument>> instruments_;
  DeviceInterface device_{2, kExtraMs};
};

class EveryVariant : public DeviceOnSimulator, public ::testing::WithParamInterface<Variant> {};

TEST_P(EveryVariant, IdentificationChunksValuesAndAByteIdenticalRoundTrip) {
  const Variant& v = GetParam();
  sim::SimulatedInstrument& instrument = StartInstrument(v);
  float values[5] = {-1, -1, -1, -1, -1};
  EXPECT_FALSE(device_.ReadValues(values, -999.0f));  // not before the configuration is read
  ASSERT_TRUE(device_.OpenPort());
  std::string serial, tag;
  ASSERT_TRUE(device_.ReadSerialNumber(serial));
  ASSERT_TRUE(device_.ReadTagName(tag));
  EXPECT_EQ(serial, "12345678");
  EXPECT_EQ(tag, "SIMULADO");
  instrument.ClearLog();
  ASSERT_TRUE(device_.ReadConfiguration());
  const bool probe = v.model == sim::Model::Probe;
  EXPECT_EQ(device_.GetDeviceModel(), probe ? 0x2000 : 0);
  EXPECT_EQ(device_.GetProbeType(), probe ? v.kind : -1);
  EXPECT_EQ(device_.regs.Tag, "SIMULADO");
  std::vector<Request> expected = {{3, 2, 1}, {3, 0, 29}, {3, 29, 29}};
  if (probe) {
    expected.push_back({3, 58, 1});
    for (uint16_t r = 20; r <= 59; ++r) expected.push_back({70, r, 1});
    expected.push_back({70, 18, 1});
    expected.push_back({70, 19, 1});
    EXPECT_EQ(device_.GetProbeSensorName(), v.kind == 0 ? "Umidade Relativa" : "Termopar J");
    EXPECT_EQ(device_.regs.Channel2.Tag, v.kind == 0 ? "Temp" : "");
  } else {
    expected.push_back({3, 58, 3});
    if (v.firmware >= 110) expected.push_back({3, 64, 9});
    EXPECT_EQ(device_.regs.Channel1.Tag, "Forno");
    EXPECT_EQ(device_.GetProbeSensorName(), "????");
  }
  EXPECT_EQ(Requests(instrument), expected);
  // The line was silent for at least 1.75 ms before each request; a reply's time stamp is when
  // it was handed to the line, a lower bound of its end.
  const auto log = instrument.Log();
  for (size_t i = 1; i < log.size(); ++i) {
    if (log[i - 1].direction != Direction::Reply || log[i].direction != Direction::Request) continue;
    EXPECT_GE(log[i].monotonicUs - log[i - 1].monotonicUs, 1750u) << i;
  }

  instrument.ClearLog();
  ASSERT_TRUE(device_.ReadValues(values, -999.0f));
  for (size_t i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(values[i], v.values[i]) << i;
  for (int channel = 1; channel <= 3; ++channel)
    EXPECT_EQ(device_.GetChannelUnit(channel), v.units[static_cast<size_t>(channel - 1)]) << channel;
  EXPECT_EQ(Requests(instrument).size(), v.model == sim::Model::Model0 && v.firmware >= 110 ? 2u : 1u);

  // A read and a write back leave every register as it was, bits and bytes the configuration
  // block does not interpret included. the configuration block does not interpret.
  instrument.SetHoldingRegister(8, static_cast<uint16_t>(instrument.HoldingRegister(8) | 0xF800));
  instrument.SetHoldingRegister(9, static_cast<uint16_t>(instrument.HoldingRegister(9) | 0xFE00));
  instrument.SetHoldingRegister(24, 0x5A00);  // tag "SIMU", zero, then a stray byte
  instrument.SetHoldingRegister(32, 0x7E7E);
  std::vector<uint16_t> before;
  for (uint16_t r = 0; r < 128; ++r) before.push_back(instrument.HoldingRegister(r));
  for (uint16_t r = 0; r < 64; ++r) before.push_back(instrument.CalibrationRegister(r));
  ASSERT_TRUE(device_.ReadConfiguration());
  instrument.ClearLog();
  ASSERT_TRUE(device_.WriteConfiguration());
  for (uint16_t r = 0; r < 128; ++r) EXPECT_EQ(instrument.HoldingRegister(r), before[r]) << r;
  for (uint16_t r = 0; r < 64; ++r) EXPECT_EQ(instrument.CalibrationRegister(r), before[128u + r]) << r;
  // One register at a time: the probe 7..11 and 18..42; model 0 7..59, from 1.10 also 64..72.
  std::vector<Request> writes;
  auto expect = [&](uint16_t first, uint16_t last) {
    for (uint16_t r = first; r <= last; ++r) writes.push_back({6, r, before[r]});
  };
  expect(7, v.model == sim::Model::Probe ? 11 : 59);
  if (v.model == sim::Model::Probe) expect(18, 42);
  if (v.model == sim::Model::Model0 && v.firmware >= 110) expect(64, 72);
  EXPECT_EQ(Requests(instrument), writes);
}

INSTANTIATE_TEST_SUITE_P(Instruments, EveryVariant, ::testing::ValuesIn(kVariants));

TEST_F(DeviceOnSimulator, FailuresChangeNothingAndAreCounted) {
  sim::SimulatedInstrument& instrument = Ready(kVariants[1]);
  const DeviceRegs regs = device_.regs;
  const RegisterImage image = device_.GetRegisterImage();
  instrument.SetHoldingRegister(27, 0x5858);
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(64));  // the last chunk of the read
  EXPECT_FALSE(device_.ReadConfiguration());
  EXPECT_EQ(device_.regs, regs);
  EXPECT_EQ(device_.GetRegisterImage(), image);
  EXPECT_TRUE(device_.IsReady());
  // A reading whose counter cannot be read fails as a whole; but the instrument answered
  // for registers 3 to 6, so each such reading is a failure of its own, never a run long
  // enough to raise the communication alarm.
  instrument.ClearFaults();
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(62));
  float values[5];
  for (int reading = 0; reading < 4; ++reading) {
    EXPECT_FALSE(device_.ReadValues(values, -999.0f));
    EXPECT_EQ(device_.GetFailureCount(), 1) << reading;
  }
  EXPECT_FALSE(device_.ReadValues(nullptr, -999.0f));  // not a failure of the instrument
  EXPECT_EQ(device_.GetFailureCount(), 1);
  // Registers 3 to 6 unanswered: a run of failures, ended by the next reading that succeeds.
  instrument.ClearFaults();
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(4));
  for (int32_t run = 2; run <= 3; ++run) {
    EXPECT_FALSE(device_.ReadValues(values, -999.0f));
    EXPECT_EQ(device_.GetFailureCount(), run);
  }
  instrument.ClearFaults();
  EXPECT_TRUE(device_.ReadValues(values, -999.0f));
  EXPECT_EQ(device_.GetFailureCount(), 0);
}

// A counter factor read from the instrument can make the counter's value too large for the
// float of a reading row: the row gets the error value there, whether polled or streamed.
TEST_F(DeviceOnSimulator, ACounterBeyondAFloatIsTheErrorValuePolledOrStreamed) {
  sim::SimulatedInstrument& instrument = StartInstrument(kVariants[1]);
  const auto bits = std::bit_cast<uint64_t>(-4.7e290);
  for (uint16_t i = 0; i < 4; ++i) instrument.SetHoldingRegister(66 + i, static_cast<uint16_t>(bits >> (48 - 16 * i)));
  ASSERT_TRUE(device_.OpenPort());
  ASSERT_TRUE(device_.ReadConfiguration());
  EXPECT_EQ(device_.regs.Scale, -4.7e290);
  float values[5] = {};
  ASSERT_TRUE(device_.ReadValues(values, -999.0f));
  EXPECT_EQ(std::vector<float>(values, values + 5), (std::vector<float>{0, 23.5f, 42.5f, 24.1f, -999.0f}));

  ASSERT_TRUE(device_.EnableFastMode());
  std::vector<Row> rows;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (rows.size() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
    Tick(rows);
  }
  ASSERT_GE(rows.size(), 3u);
  for (const Row& row : rows) EXPECT_EQ(row.values, (std::array<float, 5>{0, 23.5f, 42.5f, 24.1f, -999.0f}));
  ASSERT_TRUE(device_.DisableFastMode());
}

TEST_F(DeviceOnSimulator, AWriteStopsAtTheFirstRegisterThatFailsThreeTimes) {
  sim::SimulatedInstrument& instrument = Ready(kVariants[1]);
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(20));
  device_.regs.DeviceConfig = 0x0023;
  EXPECT_FALSE(device_.WriteConfiguration());
  const auto requests = Requests(instrument);
  ASSERT_EQ(requests.size(), 13u + 3u);  // 7..19, then 20 three times
  EXPECT_EQ(requests[0], (Request{6, 7, 0x0023}));
  for (size_t i = 13; i < 16; ++i) EXPECT_EQ(requests[i].reg, 20);
  EXPECT_EQ(instrument.HoldingRegister(7), 0x0023);  // written before the failure, and kept
}

TEST_F(DeviceOnSimulator, AnUnknownModelIsReadButNeverWritten) {
  sim::SimulatedInstrument& instrument = StartInstrument(kVariants[2]);
  instrument.SetHoldingRegister(2, 0x4069);
  ASSERT_TRUE(device_.OpenPort());
  ASSERT_TRUE(device_.ReadConfiguration());
  EXPECT_EQ(device_.GetDeviceModel(), 0x4000);
  instrument.ClearLog();
  EXPECT_FALSE(device_.WriteConfiguration());
  EXPECT_FALSE(device_.WriteCalRegister(20, 1));
  const int16_t table[40] = {};
  EXPECT_FALSE(device_.WriteCustomCalibration(table, 45356.0));
  EXPECT_TRUE(Requests(instrument).empty());
}

TEST_F(DeviceOnSimulator, Model0CalibrationClampsAndCounterReset) {
  sim::SimulatedInstrument& instrument = Ready(kVariants[1]);
  ASSERT_TRUE(device_.WriteCalOffset(1, 10, DeviceInterface::ClampCalOffset(10, -600)));
  ASSERT_TRUE(device_.WriteCalGain(1, 10, DeviceInterface::ClampCalGain(10, 11000)));
  ASSERT_TRUE(device_.WriteAmbientCal(DeviceInterface::ClampAmbientCal(-1500)));
  int32_t offset = 0;
  ASSERT_TRUE(device_.ReadCalOffset(1, 10, offset));
  EXPECT_EQ(offset, -500);  // signed
  EXPECT_EQ(Requests(instrument),
            (std::vector<Request>{{71, 14, 0xFE0C}, {71, 15, 10500}, {71, 20, 0xFC18}, {70, 14, 1}}));
  instrument.ClearLog();
  ASSERT_TRUE(device_.ResetCounter());
  EXPECT_EQ(Requests(instrument), (std::vector<Request>{{6, 73, 1}}));
}

TEST_F(DeviceOnSimulator, ProbeCustomCalibrationAndItsDate) {
  sim::SimulatedInstrument& instrument = Ready(kVariants[2]);
  EXPECT_FALSE(device_.WriteCalOffset(0, 0, 5));  // model 0 only
  EXPECT_TRUE(Requests(instrument).empty());
  std::array<int16_t, 40> table;
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int16_t>(i < 20 ? 100 * int(i) - 500 : -32768);
  TDateTime fifthOfMarch = 0;
  ASSERT_TRUE(platform::TryEncodeDateTime(2024, 3, 5, 14, 30, 0, 0, fifthOfMarch));
  ASSERT_TRUE(device_.WriteCustomCalibration(table, fifthOfMarch));
  std::vector<Request> expected;
  for (uint16_t r = 20; r <= 59; ++r) expected.push_back({71, r, static_cast<uint16_t>(table[r - 20u])});
  expected.push_back({71, 18, 0x0503});  // day x 256 + month
  expected.push_back({71, 19, 2024});
  EXPECT_EQ(Requests(instrument), expected);
  // A failure in the table leaves the date alone; a failure of the date is a failure too.
  instrument.SetCalibrationRegister(18, 0x0101);
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(35));
  table[0] = 7;
  EXPECT_FALSE(device_.WriteCustomCalibration(table, fifthOfMarch));
  EXPECT_EQ(instrument.CalibrationRegister(20), 7);
  EXPECT_EQ(instrument.CalibrationRegister(18), 0x0101);
  for (uint16_t dateRegister : {18, 19}) {
    instrument.ClearFaults();
    instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(dateRegister));
    EXPECT_FALSE(device_.WriteCustomCalibration(table, fifthOfMarch)) << dateRegister;
  }
}

TEST_F(DeviceOnSimulator, FindPortBySerialOpensOnlyOurProductsPorts) {
  // A foreign device on the lowest port, holding the very serial searched for.
  sim::SimulatedInstrument& foreign = StartInstrument(kVariants[1], 3, 22222222, "USB Serial Port");
  sim::SimulatedInstrument& first = StartInstrument(kVariants[1], 4, 11111111);
  sim::SimulatedInstrument& second = StartInstrument(kVariants[2], 6, 22222222);
  DeviceInterface device(1, kExtraMs);
  EXPECT_EQ(device.FindPortBySerial(22222222), 6);
  EXPECT_EQ(device.FindPortBySerial(11111111), 4);
  EXPECT_EQ(device.FindPortBySerial(33333333), 0);
  EXPECT_EQ(device.GetPortNumber(), 6);  // the last port tried
  EXPECT_FALSE(device.IsPortOpen());
  // An instrument counts a request once its reply is out, which the device may hear first.
  EXPECT_TRUE(first.WaitForRequestCount(3, kPatience));
  EXPECT_TRUE(second.WaitForRequestCount(2, kPatience));
  EXPECT_TRUE(foreign.CatchUp(kPatience));
  EXPECT_EQ(foreign.RequestCount(), 0u);
  EXPECT_EQ(first.RequestCount(), 3u);
  EXPECT_EQ(second.RequestCount(), 2u);
}

TEST_F(DeviceOnSimulator, StreamingTakesEveryRecordOnceWhateverTheLineDelivers) {
  // Model 0, firmware 1.10: channel 1 a Pt100, channel 2 linear, ambient on, rate code 0:
  // four conversions of 7.8125 ms.
  sim::SimulatedInstrument& instrument = StartInstrument(kVariants[1]);
  instrument.SetHoldingRegister(7, 0x0020);
  ASSERT_TRUE(device_.OpenPort());
  ASSERT_TRUE(device_.ReadConfiguration());
  EXPECT_FLOAT_EQ(device_.GetFastModePeriod(), 31.25f);
  EXPECT_EQ(device_.ReceiveStream(), 0);  // not streaming yet
  ASSERT_TRUE(device_.EnableFastMode());
  EXPECT_EQ(instrument.HoldingRegister(7), 0x0060);
  std::vector<Row> rows;
  const sim::StreamFault faults[] = {
      sim::StreamFault::ZeroBytes(6),   sim::StreamFault::Junk(40),      sim::StreamFault::BadNumber("inf"),
      sim::StreamFault::MissingField(), sim::StreamFault::ExtraField(),  sim::StreamFault::BadNumber("0x1F"),
      sim::StreamFault::TimeJump(5000), sim::StreamFault::BadNumber("nan", 3), sim::StreamFault::Junk(2500),
  };
  for (const sim::StreamFault& fault : faults) {
    instrument.InjectStreamFault(fault);
    ASSERT_TRUE(instrument.WaitForStreamFaultsSpent(kPatience));  // each spoils a record of its own
    Tick(rows);
  }
  // The stream stopped behind the program's back; every record sent is taken in, however
  // late the line hands the last of them over.
  instrument.SetHoldingRegister(7, 0x0020);
  ASSERT_TRUE(instrument.CatchUp(kPatience));
  const size_t sent = instrument.StreamRecordCount();
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (rows.size() + device_.GetRejectedRecordCount() < sent && std::chrono::steady_clock::now() < deadline) {
    Tick(rows);
    std::this_thread::sleep_for(10ms);
  }
  // inf, a field short, a field too many, 0x1F and nan; the junk of 2500 bytes without a line
  // end overflows the buffer, which keeps the record behind it.
  EXPECT_EQ(device_.GetRejectedRecordCount(), 5u);
  EXPECT_EQ(rows.size() + device_.GetRejectedRecordCount(), sent);
  EXPECT_EQ(device_.GetStreamBytesHeld(), 0u);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].values, (std::array<float, 5>{0, 23.5f, 42.5f, 24.1f, 1234}));
  int jumps = 0;
  for (size_t r = 1; r < rows.size(); ++r) {
    const uint32_t step = rows[r].time - rows[r - 1].time;
    jumps += step >= 5000;
    // Never a record twice; at most the rejected records and the jump between two rows.
    EXPECT_TRUE(step >= 31 && step < 5000 + 10 * 32) << r << ": " << step;
    EXPECT_FLOAT_EQ(rows[r].values[1], 23.5f);
  }
  EXPECT_EQ(jumps, 1);
  // Receiving takes what has arrived and never waits for more: on a silent line a read under
  // the port's time-outs would wait 72 ms + 2 ms for each of the 2000 bytes asked for.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(device_.ReceiveStream(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms);
  ASSERT_TRUE(device_.DisableFastMode());
  EXPECT_EQ(instrument.HoldingRegister(7), 0x0020);
}

}  // namespace
