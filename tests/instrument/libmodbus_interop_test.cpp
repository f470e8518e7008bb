// Our master against an independent implementation of the protocol, and that implementation
// as master against our simulated instrument.
#include <modbus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "instrument/serial_modbus_driver.h"
#include "tests/instrument/libmodbus_slave.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using testing_support::LibmodbusSlave;
using testing_support::PtyPair;
using testing_support::TempPortFolder;
using Clock = std::chrono::steady_clock;

TEST(LibmodbusSlaveInterop, OurMasterReadsAndWritesRegisters) {
  PtyPair pty;
  TempPortFolder folder;
  folder.Link(9, pty.slavePath());
  LibmodbusSlave slave(pty.master(), 10, 128);
  for (int i = 0; i < 128; ++i) slave.registers()[i] = static_cast<uint16_t>(0x0101 * i + 0x8000);

  TSerialModBusDriver d(9, 115200, 70);
  ASSERT_TRUE(d.OpenPort()) << d.GetErrorText();

  // Every size the instrument model reads, at several places.
  for (const auto& [start, count] : {std::pair{0u, 1u}, {3u, 4u}, {99u, 29u}, {60u, 3u}}) {
    std::vector<uint16_t> got(count + 1, 0xDEAD);
    ASSERT_TRUE(d.ReadRequest(10, 3, start, count, got.data())) << start << " code " << int(d.GetResultCode());
    EXPECT_TRUE(std::equal(got.begin(), got.end() - 1, slave.registers() + start)) << start;
    EXPECT_EQ(got.back(), 0xDEAD);
  }

  for (uint16_t value : {uint16_t{0}, uint16_t{0xBEEF}, uint16_t{0xFFFF}}) {
    ASSERT_TRUE(d.WriteRequest(10, 6, 7, value)) << int(d.GetResultCode());
    uint16_t back = 0;
    ASSERT_TRUE(d.ReadRequest(10, 3, 7, 1, &back));
    EXPECT_EQ(back, value);
  }

  // Its exception for an address beyond the map ends the transaction at once.
  uint16_t beyond[20];
  const auto start = Clock::now();
  EXPECT_FALSE(d.ReadRequest(10, 3, 120, 20, beyond));
  EXPECT_EQ(d.GetResultCode(), modbus::kUnexpectedReply);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(60));  // the time-out would be 72 + 90

  // Another slave address goes unanswered.
  EXPECT_FALSE(d.ReadRequest(11, 3, 0, 1, beyond));
  EXPECT_EQ(d.GetResultCode(), modbus::kNoReply);
}

TEST(LibmodbusMasterInterop, ReadsAndWritesTheSimulator) {
  TempPortFolder folder;
  sim::InstrumentOptions options;
  options.serialNumber = 20241031;
  options.firmware = 112;
  sim::SimulatedInstrument instrument(options);
  std::string error;
  ASSERT_TRUE(instrument.Start(folder.path(), 4, &error)) << error;

  modbus_t* ctx = modbus_new_rtu(instrument.SlavePath().c_str(), 115200, 'N', 8, 1);
  ASSERT_NE(ctx, nullptr);
  modbus_set_slave(ctx, 10);
  ASSERT_EQ(modbus_connect(ctx), 0) << modbus_strerror(errno);
  uint16_t regs[3] = {};
  ASSERT_EQ(modbus_read_registers(ctx, 0, 3, regs), 3) << modbus_strerror(errno);
  EXPECT_EQ(regs[0], 0x2024);
  EXPECT_EQ(regs[1], 0x1031);
  EXPECT_EQ(regs[2], 112);  // model 0, firmware 1.12
  ASSERT_EQ(modbus_write_register(ctx, 7, 0x0041), 1) << modbus_strerror(errno);
  EXPECT_EQ(instrument.HoldingRegister(7), 0x0041);
  // A register the instrument refuses comes back as an exception libmodbus understands.
  EXPECT_EQ(modbus_write_register(ctx, 2, 0), -1);
  EXPECT_EQ(errno, EMBXILADD);
  modbus_close(ctx);
  modbus_free(ctx);
}

}  // namespace
