#pragma once
// Faults the simulated instrument can be told to commit, so the master's error handling and
// retries can be exercised on a real serial line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class FaultKind {
  Silence,         // no reply at all
  Delay,           // the whole reply starts `milliseconds` late
  Gap,             // the reply stops for `milliseconds` after `gapAfterBytes` bytes
  BadCrc,          // the reply's CRC is wrong
  WrongAddress,    // the reply carries `address` instead of the instrument's own (CRC valid)
  Exception,       // an exception reply with `exceptionCode` instead of the normal reply
  Noise,           // `noise` bytes go out just before the reply
  RefuseRegister,  // any request touching `reg` gets exception `exceptionCode`
};

struct FaultSpec {
  static constexpr int kForever = -1;

  FaultKind kind = FaultKind::Silence;
  // How many requests the fault spoils, then it is gone; kForever keeps it until ClearFaults.
  // Only requests addressed to the instrument count; a refused register counts only the
  // requests that touch it.
  int count = kForever;
  uint32_t milliseconds = 0;        // Delay, Gap
  size_t gapAfterBytes = 3;         // Gap: bytes sent before the pause (clamped to the reply)
  uint8_t exceptionCode = 4;        // Exception (default: slave device failure), RefuseRegister
  uint8_t address = 0;              // WrongAddress: 0 means the instrument's address + 1
  std::vector<uint8_t> noise = {0x00, 0xFF, 0x55, 0xAA};  // Noise
  uint16_t reg = 0;                 // RefuseRegister
  bool calibrationSpace = false;    // RefuseRegister: `reg` is a calibration register (70/71)

  static FaultSpec Silence(int count = kForever);
  static FaultSpec Delay(uint32_t ms, int count = kForever);
  static FaultSpec Gap(uint32_t ms, size_t afterBytes = 3, int count = kForever);
  static FaultSpec BadCrc(int count = kForever);
  static FaultSpec WrongAddress(uint8_t address = 0, int count = kForever);
  static FaultSpec Exception(uint8_t code = 4, int count = kForever);
  static FaultSpec Noise(std::vector<uint8_t> bytes, int count = kForever);
  static FaultSpec RefuseRegister(uint16_t reg, int count = kForever, uint8_t code = 2);
  static FaultSpec RefuseCalibrationRegister(uint16_t reg, int count = kForever,
                                             uint8_t code = 2);
};

// Reads a fault from its command-line form "KIND[=VALUE][:COUNT]":
//   silence, delay=MS, gap=MS[@BYTES], badcrc, wrongaddr[=ADDR], exception[=CODE],
//   noise[=N] (N bytes of noise, default 4), refuse=REG, refusecal=REG.
// COUNT is the number of requests (omitted: forever). Gives nothing and an error text on
// anything it cannot read.
std::optional<FaultSpec> ParseFaultSpec(const std::string& text, std::string* error = nullptr);

}  // namespace sim
