// DeviceInterface against the simulated instrument over pseudo-terminals: identification,
// the requests on the wire, live values, a configuration round trip that leaves the
// instrument untouched, aborted writes, calibration, the counter reset and the port search.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using testing_support::TempPortFolder;
using Direction = sim::LogEntry::Direction;
using namespace std::chrono_literals;

struct Variant {
  const char* name;
  sim::Model model;
  uint16_t firmware;
  int kind;
};
const Variant kVariants[] = {
    {"model 0, firmware 1.09", sim::Model::Model0, 109, 0},
    {"model 0, firmware 1.10", sim::Model::Model0, 110, 0},
    {"probe, humidity and temperature", sim::Model::Probe, 105, 0},
    {"probe, thermocouple J", sim::Model::Probe, 105, 2},
};

// One request as the instrument saw it.
struct Request {
  uint8_t function;
  uint16_t reg;
  uint16_t operand;  // count or value
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

struct Snapshot {
  std::array<uint16_t, 128> holding{};
  std::array<uint16_t, 64> calibration{};
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const sim::SimulatedInstrument& instrument) {
  Snapshot s;
  for (uint16_t r = 0; r < s.holding.size(); ++r) s.holding[r] = instrument.HoldingRegister(r);
  for (uint16_t r = 0; r < s.calibration.size(); ++r) s.calibration[r] = instrument.CalibrationRegister(r);
  return s;
}

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
  // An instrument of the variant on port 2 and a device with its configuration read.
  sim::SimulatedInstrument& Ready(const Variant& v, DeviceInterface& device) {
    sim::SimulatedInstrument& instrument = StartInstrument(v);
    EXPECT_TRUE(device.OpenPort()) << device.GetErrorText();
    EXPECT_TRUE(device.ReadConfiguration());
    instrument.ClearLog();
    return instrument;
  }

  TempPortFolder folder_;
  std::vector<std::unique_ptr<sim::SimulatedInstrument>> instruments_;
};

TEST_F(DeviceOnSimulator, IdentificationAndTheRequestsOfAConfigurationRead) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.name);
    instruments_.clear();
    sim::SimulatedInstrument& instrument = StartInstrument(v);
    DeviceInterface device(2);
    EXPECT_EQ(device.GetDeviceModel(), -1);
    float values[5];
    EXPECT_FALSE(device.ReadValues(values));  // not before the configuration is read
    ASSERT_TRUE(device.OpenPort());
    std::string serial, tag;
    ASSERT_TRUE(device.ReadSerialNumber(serial));
    ASSERT_TRUE(device.ReadTagName(tag));
    EXPECT_EQ(serial, "12345678");
    EXPECT_EQ(tag, "SIMULADO");
    instrument.ClearLog();
    ASSERT_TRUE(device.ReadConfiguration());
    EXPECT_TRUE(device.IsReady());

    const bool probe = v.model == sim::Model::Probe;
    EXPECT_EQ(device.GetDeviceModel(), probe ? 0x2000 : 0);
    EXPECT_EQ(device.GetProbeType(), probe ? v.kind : -1);
    EXPECT_EQ(device.regs.SerialNumber, 12345678);
    EXPECT_EQ(device.regs.VersionText, v.firmware == 109 ? "1.09" : v.firmware == 110 ? "1.10" : "1.05");
    EXPECT_EQ(device.regs.Tag, "SIMULADO");

    std::vector<Request> expected = {{3, 2, 1}, {3, 0, 29}, {3, 29, 29}};
    if (probe) {
      expected.push_back({3, 58, 1});
      for (uint16_t r = 20; r <= 59; ++r) expected.push_back({70, r, 1});
      expected.push_back({70, 18, 1});
      expected.push_back({70, 19, 1});
      EXPECT_EQ(device.GetProbeSensorName(), v.kind == 0 ? "Umidade Relativa" : "Termopar J");
      EXPECT_EQ(device.regs.LastCustomCalDay, 15);
      EXPECT_EQ(device.regs.Channel2.Tag, v.kind == 0 ? "Temp" : "");
    } else {
      expected.push_back({3, 58, 3});
      if (v.firmware >= 110) expected.push_back({3, 64, 9});
      EXPECT_EQ(device.regs.Channel1.Tag, "Forno");
      EXPECT_EQ(device.GetProbeSensorName(), "????");
    }
    EXPECT_EQ(Requests(instrument), expected);
  }
}

TEST_F(DeviceOnSimulator, LiveValuesScaledWithTheirUnits) {
  struct Case {
    const Variant& variant;
    std::array<float, 5> values;
    std::array<const char*, 3> units;
    size_t requests;
  };
  const Case cases[] = {
      {kVariants[0], {0, 23.5f, 42.5f, 24.1f, 0}, {"\xB0" "C", "%", "\xB0" "C"}, 1},
      {kVariants[1], {0, 23.5f, 42.5f, 24.1f, 1234}, {"\xB0" "C", "%", "\xB0" "C"}, 2},
      {kVariants[2], {0, 55.2f, 23.1f, 24.5f, 0}, {"%", "\xB0" "C", ""}, 1},
      {kVariants[3], {2, 23.1f, 0, 24.5f, 0}, {"\xB0" "C", "", "\xB0" "C"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant.name);
    instruments_.clear();
    DeviceInterface device(2);
    sim::SimulatedInstrument& instrument = Ready(c.variant, device);
    float values[5] = {-1, -1, -1, -1, -1};
    ASSERT_TRUE(device.ReadValues(values));
    for (size_t i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(values[i], c.values[i]) << i;
    for (int channel = 1; channel <= 3; ++channel)
      EXPECT_EQ(device.GetChannelUnit(channel), c.units[static_cast<size_t>(channel - 1)]) << channel;
    EXPECT_EQ(Requests(instrument).size(), c.requests);
  }
}

TEST_F(DeviceOnSimulator, FailedReadingsAreCountedUntilOneSucceeds) {
  DeviceInterface device(2);
  sim::SimulatedInstrument& instrument = Ready(kVariants[1], device);
  float values[5];
  // The counter's read fails: the whole reading fails, with value 4 at 0.
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(62));
  EXPECT_FALSE(device.ReadValues(values));
  EXPECT_EQ(values[4], 0.0f);
  instrument.ClearFaults();
  instrument.InjectFault(sim::FaultSpec::Exception(4, 3));
  EXPECT_FALSE(device.ReadValues(values));
  EXPECT_EQ(device.GetFailureCount(), 2);
  EXPECT_FALSE(device.ReadValues(nullptr));
  EXPECT_EQ(device.GetFailureCount(), 2);
  EXPECT_TRUE(device.ReadValues(values));
  EXPECT_EQ(device.GetFailureCount(), 0);
}

TEST_F(DeviceOnSimulator, ReadThenWriteLeavesTheInstrumentByteIdentical) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.name);
    instruments_.clear();
    sim::SimulatedInstrument& instrument = StartInstrument(v);
    // Bits and bytes the configuration block does not interpret.
    instrument.SetHoldingRegister(8, static_cast<uint16_t>(instrument.HoldingRegister(8) | 0xF800));
    instrument.SetHoldingRegister(9, static_cast<uint16_t>(instrument.HoldingRegister(9) | 0xFE00));
    instrument.SetHoldingRegister(24, 0x5A00);  // tag "SIMU", zero, then a stray byte
    instrument.SetHoldingRegister(32, 0x7E7E);
    const Snapshot before = Take(instrument);
    DeviceInterface device(2);
    ASSERT_TRUE(device.OpenPort());
    ASSERT_TRUE(device.ReadConfiguration());
    instrument.ClearLog();
    ASSERT_TRUE(device.WriteConfiguration());
    EXPECT_EQ(Take(instrument), before);

    // Written one register at a time, in the order the model asks for.
    const int32_t model = v.model == sim::Model::Probe ? 0x2000 : 0;
    std::vector<Request> expected;
    for (uint16_t r : device::ConfigurationWriteOrder(model, v.firmware)) expected.push_back({6, r, before.holding[r]});
    EXPECT_EQ(Requests(instrument), expected);

    // A changed field reaches its registers and nothing else.
    device.regs.Channel1.Tag = "Estufa";
    ASSERT_TRUE(device.WriteConfiguration());
    Snapshot after = Take(instrument);
    for (uint16_t r = 27; r <= 31; ++r) after.holding[r] = before.holding[r];
    EXPECT_EQ(after, before);
    ASSERT_TRUE(device.ReadConfiguration());
    EXPECT_EQ(device.regs.Channel1.Tag, "Estufa");
  }
}

TEST_F(DeviceOnSimulator, AWriteStopsAtTheFirstRegisterThatFailsThreeTimes) {
  DeviceInterface device(2);
  sim::SimulatedInstrument& instrument = Ready(kVariants[1], device);
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(20));
  device.regs.DeviceConfig = 0x0023;
  EXPECT_FALSE(device.WriteConfiguration());
  const auto requests = Requests(instrument);
  ASSERT_EQ(requests.size(), 13u + 3u);
  EXPECT_EQ(requests[0], (Request{6, 7, 0x0023}));
  EXPECT_EQ(requests[12].reg, 19);
  for (size_t i = 13; i < 16; ++i) EXPECT_EQ(requests[i].reg, 20);
  EXPECT_EQ(instrument.HoldingRegister(7), 0x0023);  // written before the failure, and kept
}

TEST_F(DeviceOnSimulator, AnUnknownModelIsReadButNeverWritten) {
  DeviceInterface device(2);
  sim::SimulatedInstrument& instrument = StartInstrument(kVariants[2]);
  instrument.SetHoldingRegister(2, 0x4069);
  ASSERT_TRUE(device.OpenPort());
  ASSERT_TRUE(device.ReadConfiguration());
  EXPECT_EQ(device.GetDeviceModel(), 0x4000);
  EXPECT_EQ(device.regs.VersionText, "1.05");
  instrument.ClearLog();
  EXPECT_FALSE(device.WriteConfiguration());
  EXPECT_FALSE(device.WriteCalRegister(20, 1));
  const int16_t table[40] = {};
  EXPECT_FALSE(device.WriteCustomCalibration(table, 45356.0));
  EXPECT_TRUE(Requests(instrument).empty());
}

TEST_F(DeviceOnSimulator, FailedConfigurationReadChangesNothing) {
  DeviceInterface device(2);
  sim::SimulatedInstrument& instrument = Ready(kVariants[2], device);
  const DeviceRegs regs = device.regs;
  const RegisterImage image = device.GetRegisterImage();
  instrument.SetHoldingRegister(27, 0x5858);
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(30));
  EXPECT_FALSE(device.ReadConfiguration());
  EXPECT_EQ(device.regs, regs);
  EXPECT_EQ(device.GetRegisterImage(), image);
  EXPECT_TRUE(device.IsReady());
}

TEST_F(DeviceOnSimulator, Model0CalibrationRegisters) {
  DeviceInterface device(2);
  sim::SimulatedInstrument& instrument = Ready(kVariants[1], device);
  ASSERT_TRUE(device.WriteCalOffset(1, 10, DeviceInterface::ClampCalOffset(10, -600)));
  ASSERT_TRUE(device.WriteCalGain(1, 10, DeviceInterface::ClampCalGain(10, 11000)));
  ASSERT_TRUE(device.WriteAmbientCal(DeviceInterface::ClampAmbientCal(-1500)));
  EXPECT_EQ(instrument.CalibrationRegister(14), static_cast<uint16_t>(-500));
  EXPECT_EQ(instrument.CalibrationRegister(15), 10500);
  EXPECT_EQ(instrument.CalibrationRegister(20), static_cast<uint16_t>(-1000));
  int32_t offset = 0, gain = 0, ambient = 0;
  ASSERT_TRUE(device.ReadCalOffset(1, 10, offset));
  ASSERT_TRUE(device.ReadCalGain(1, 10, gain));
  ASSERT_TRUE(device.ReadAmbientCal(ambient));
  EXPECT_EQ(offset, -500);
  EXPECT_EQ(gain, 10500);
  EXPECT_EQ(ambient, -1000);
  EXPECT_EQ(Requests(instrument),
            (std::vector<Request>{{71, 14, 0xFE0C}, {71, 15, 10500}, {71, 20, 0xFC18}, {70, 14, 1}, {70, 15, 1}, {70, 20, 1}}));

  instrument.ClearLog();
  ASSERT_TRUE(device.ResetCounter());
  EXPECT_EQ(instrument.HoldingRegister(62), 0);
  EXPECT_EQ(instrument.HoldingRegister(63), 0);
  EXPECT_EQ(Requests(instrument), (std::vector<Request>{{6, 73, 1}}));
}

TEST_F(DeviceOnSimulator, ProbeCustomCalibrationAndItsDate) {
  DeviceInterface device(2);
  sim::SimulatedInstrument& instrument = Ready(kVariants[2], device);
  int32_t offset = 0;
  EXPECT_FALSE(device.WriteCalOffset(0, 0, 5));
  EXPECT_FALSE(device.ReadCalOffset(0, 0, offset));
  EXPECT_FALSE(device.WriteAmbientCal(5));
  EXPECT_TRUE(Requests(instrument).empty());

  std::array<int16_t, 40> table;
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int16_t>(i < 20 ? 100 * static_cast<int>(i) - 500 : -32768);
  TDateTime fifthOfMarch = 0;
  ASSERT_TRUE(platform::TryEncodeDateTime(2024, 3, 5, 14, 30, 0, 0, fifthOfMarch));
  ASSERT_TRUE(device.WriteCustomCalibration(table, fifthOfMarch));
  for (uint16_t r = 20; r <= 59; ++r) EXPECT_EQ(instrument.CalibrationRegister(r), static_cast<uint16_t>(table[r - 20u]));
  EXPECT_EQ(instrument.CalibrationRegister(18), 0x0503);
  EXPECT_EQ(instrument.CalibrationRegister(19), 2024);
  const auto requests = Requests(instrument);
  ASSERT_EQ(requests.size(), 42u);
  EXPECT_EQ(requests[0].reg, 20);
  EXPECT_EQ(requests[39].reg, 59);
  EXPECT_EQ(requests[40], (Request{71, 18, 0x0503}));
  EXPECT_EQ(requests[41], (Request{71, 19, 2024}));

  // A failure in the table leaves the date alone; a failure of the date is a failure too.
  instrument.SetCalibrationRegister(18, 0x0101);
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(35));
  table[0] = 7;
  EXPECT_FALSE(device.WriteCustomCalibration(table, fifthOfMarch));
  EXPECT_EQ(instrument.CalibrationRegister(20), 7);
  EXPECT_EQ(instrument.CalibrationRegister(18), 0x0101);
  instrument.ClearFaults();
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(18));
  EXPECT_FALSE(device.WriteCustomCalibration(table, fifthOfMarch));
  instrument.ClearFaults();
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(19));
  EXPECT_FALSE(device.WriteCustomCalibration(table, fifthOfMarch));
}

TEST_F(DeviceOnSimulator, FindPortBySerialOpensOnlyOurProductsPorts) {
  // A foreign device on the lowest port, holding the very serial searched for.
  sim::SimulatedInstrument& foreign = StartInstrument(kVariants[1], 3, 22222222, "USB Serial Port");
  sim::SimulatedInstrument& first = StartInstrument(kVariants[1], 4, 11111111);
  sim::SimulatedInstrument& second = StartInstrument(kVariants[2], 6, 22222222);
  DeviceInterface device;
  EXPECT_EQ(device.FindPortBySerial(22222222), 6);
  EXPECT_EQ(device.FindPortBySerial(11111111), 4);
  EXPECT_EQ(device.FindPortBySerial(33333333), 0);
  EXPECT_EQ(device.GetPortNumber(), 6);  // the last port tried
  EXPECT_FALSE(device.IsPortOpen());
  EXPECT_EQ(foreign.RequestCount(), 0u);
  EXPECT_EQ(first.RequestCount(), 3u);
  EXPECT_EQ(second.RequestCount(), 2u);

  foreign.Stop();
  first.Stop();
  second.Stop();
  EXPECT_EQ(device.FindPortBySerial(22222222), 0);
}

}  // namespace
