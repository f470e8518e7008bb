#pragma once
// A simulated instrument on a pseudo-terminal: plays one Modbus RTU slave of either model so
// the program can be run and tested end to end without hardware.
//
// Start() creates the pseudo-terminal and announces it in a port folder as "comN" (a symlink
// to the slave side, e.g. /dev/pts/5) and "comN.name" (the friendly name). A thread then
// answers functions 3, 6, 70 and 71 addressed to the instrument over its register map and
// calibration space, commits the injected faults and logs every request and reply. While
// register 7 bit 6 is set it streams a text record every sampling period (stream_output.h);
// the stream stops before the echo of the write that clears the bit, and a program that does
// not read never holds it up (records that find no room are dropped).
//
// Every member may be called from any thread while the instrument runs.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/sim/injected_fault.h"
#include "tools/sim/stream_fault.h"

namespace sim {

enum class Model {
  Model0,  // two analog inputs, ambient channel, digital input (model bits 0)
  Probe,   // temperature / relative humidity probe (model bits 0x2000)
};

struct InstrumentOptions {
  Model model = Model::Model0;
  uint32_t serialNumber = 12345678;  // 8 decimal digits, served as BCD in registers 0 and 1
  uint16_t firmware = 110;           // version x 100 (register 2, bits 0..12)
  int probeKind = 0;                 // probe: 0 humidity + temperature, 1 Pt100, 2..9 couples
  std::string tag = "SIMULADO";      // device tag (registers 22..26), code page 1252, 10 max
  uint8_t slaveAddress = 10;
  // First line of comN.name. Empty: "Tervana Simulado" (model 0) or "Kestravon Simulado"
  // (probe). " (COMN)" is appended unless the text already holds "(COM".
  std::string friendlyName;
  // Live values and the counter wander over time; off, they hold what was set.
  bool animate = false;
  // Log entries kept for Log(); the oldest go first. 0 keeps none (the listener still hears).
  size_t logCapacity = 100000;
  // Streaming: the instrument's clock (milliseconds, wrapping at 32 bits, never sent as 0)
  // reads this at Start, and the decimal mark of the values.
  uint32_t streamClockStartMs = 1000;
  char streamDecimalMark = '.';
};

struct LogEntry {
  // Stream: one record of streaming mode as it went out.
  enum class Direction { Request, Reply, Stream };
  uint64_t monotonicUs = 0;  // steady clock, microseconds
  Direction direction = Direction::Request;
  std::vector<uint8_t> bytes;  // a request frame as received; a reply as sent (faults included)
};

class SimulatedInstrument {
 public:
  explicit SimulatedInstrument(InstrumentOptions options = {});
  ~SimulatedInstrument();  // stops
  SimulatedInstrument(const SimulatedInstrument&) = delete;
  SimulatedInstrument& operator=(const SimulatedInstrument&) = delete;

  // Creates the pseudo-terminal, writes comN.name and comN into portFolder (created when
  // missing) and starts serving. Fails when comNumber is outside 1..255, when comN already
  // exists and points to something present, or on any system failure.
  bool Start(const std::string& portFolder, int comNumber, std::string* error = nullptr);
  // Stops serving, removes comN and comN.name (if still ours) and closes the pseudo-terminal.
  void Stop();
  bool Running() const;

  std::string SlavePath() const;   // e.g. "/dev/pts/5"; empty when not running
  std::string PortLinkPath() const;  // portFolder/comN; empty when not running
  const InstrumentOptions& Options() const;

  // Holding registers (functions 3 and 6) and the calibration space (functions 70 and 71).
  // These bypass write protection: tests and the command line may set any register.
  uint16_t HoldingRegister(uint16_t reg) const;
  void SetHoldingRegister(uint16_t reg, uint16_t value);
  uint16_t CalibrationRegister(uint16_t reg) const;
  void SetCalibrationRegister(uint16_t reg, uint16_t value);

  void InjectFault(FaultSpec fault);
  void ClearFaults();
  void InjectStreamFault(StreamFault fault);
  void ClearStreamFaults();

  // Waits until every stream fault injected so far has spoiled its records (each record
  // takes all faults pending when it is made: wait here before injecting the next fault
  // that must spoil a record of its own). False on time-out.
  bool WaitForStreamFaultsSpent(std::chrono::milliseconds timeout) const;
  // Records streamed since Start.
  size_t StreamRecordCount() const;
  // Waits until StreamRecordCount() reaches `count`; false on time-out.
  bool WaitForStreamRecordCount(size_t count, std::chrono::milliseconds timeout) const;

  // Returns once the serving thread has finished a turn begun after this call: whatever it
  // had decided to send by then (the last records of a stream just switched off, a reply
  // under way) is on the line. False on time-out or when not running.
  bool CatchUp(std::chrono::milliseconds timeout) const;

  // Every complete request frame seen on the line (any slave address) and every reply sent.
  std::vector<LogEntry> Log() const;
  // Waits until the log has held `count` entries since it was last cleared; false on time-out.
  bool WaitForLogSize(size_t count, std::chrono::milliseconds timeout) const;
  void ClearLog();
  // Requests addressed to this instrument since Start (not reset by ClearLog).
  size_t RequestCount() const;
  // Waits until RequestCount() reaches `count`; false on time-out.
  bool WaitForRequestCount(size_t count, std::chrono::milliseconds timeout) const;

  // Hears every log entry as it happens, on the serving thread.
  void SetLogListener(std::function<void(const LogEntry&)> listener);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace sim
