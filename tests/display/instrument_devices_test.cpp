// A display window against a simulated instrument on a pseudo-terminal: finding its port by
// serial number, reading its configuration, and naming the window and its counter reset.
#include <gtest/gtest.h>

#include <QAction>

#include "display/display_form.h"
#include "display/instrument_devices.h"
#include "display/readings_state.h"
#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

constexpr int kPort = 7;

TEST(InstrumentDevices, WindowFromARecordNamesItselfAfterTheInstrument) {
  SetReadingsStopped(true);
  testing_support::TempPortFolder folder;
  sim::InstrumentOptions options;
  options.serialNumber = 12345;
  options.firmware = 110;
  options.tag = "Estufa";
  sim::SimulatedInstrument instrument(options);
  std::string error;
  ASSERT_TRUE(instrument.Start(folder.path(), kPort, &error)) << error;
  instrument.SetHoldingRegister(64, 0x20);  // digital input timing

  InstrumentDeviceDirectory directory;
  EXPECT_EQ(directory.FindPortBySerial(99), 0);
  EXPECT_FALSE(directory.ReadDevice(kPort + 1).has_value());
  DisplayFormServices services;
  services.devices = &directory;
  TDisplayForm form(services);
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = DisplayKind::LedDigits;
  c.SetLed({});
  c.deviceSerial = 12345;
  c.valueIndex = 4;
  form.Configure(c);
  EXPECT_EQ(form.Port(), kPort);
  EXPECT_EQ(form.Config().deviceTag, "Estufa");
  EXPECT_EQ(form.Config().channelName, "Temporiza\xE7");
  ASSERT_EQ(form.ResetItems().size(), 1);
  EXPECT_EQ(form.ResetItems().front()->text(),
            QString::fromUtf8("Zerar temporização: Estufa (SN=00012345)"));
  EXPECT_EQ(form.GetDevicePorts(), std::vector<uint16_t>{kPort});

  // The reading run's own devices name it the same way.
  DeviceInterface device(kPort);
  ASSERT_TRUE(device.OpenPort());
  ASSERT_TRUE(device.ReadConfiguration());
  const std::vector<DisplayDeviceInfo> run = DescribeDevices({&device});
  form.UpdateTitles(&run);
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Temporiza\xC3\xA7"));
  ASSERT_EQ(form.ResetItems().size(), 1);
  EXPECT_EQ(form.ResetItems().front()->data().toUInt(), unsigned(kPort));
}

}  // namespace
