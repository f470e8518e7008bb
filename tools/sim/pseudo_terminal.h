#pragma once
// The instrument's end of a serial line: a raw pseudo-terminal whose slave side the program
// opens like any serial port. The slave is also held open here, so the program closing and
// reopening its port never hangs the line up.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sim {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool Open(std::string* error);
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  const std::string& SlavePath() const { return slavePath_; }

  enum class WaitResult { Readable, Woken, TimedOut };
  // Waits for bytes from the program, for Wake(), or for timeoutMs (negative: no limit).
  WaitResult Wait(int timeoutMs);
  // Makes a Wait in another thread return (sticky until the next Wait sees it).
  void Wake();

  // Appends everything that has arrived to `into`; false when the line failed.
  bool ReadAvailable(std::vector<uint8_t>& into);
  // Writes all of `bytes`, waiting a little when the program is slow to read; bytes nobody
  // takes within that time are dropped (an instrument cannot hold its output either).
  void Write(std::span<const uint8_t> bytes);
  // Writes what fits now and drops the rest; never waits. Returns the bytes written.
  size_t WriteNoWait(std::span<const uint8_t> bytes);

 private:
  int master_ = -1;
  int slave_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::string slavePath_;
};

}  // namespace sim
