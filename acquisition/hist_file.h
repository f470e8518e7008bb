#pragma once
// HistFile: appends text to one file through a 2048-byte buffer. The file is not held open:
// it is opened to be created or tested, and again for each flush, so other programs can read
// it meanwhile. A flush timer, driven by Poll() from the owner's tick, writes the buffer out
// every flush interval; a full buffer is written out at once.
//
// Nothing buffered is lost by the writer: a flush that fails keeps the bytes that did not
// reach the file for the next try, a text longer than the buffer is still written whole, and
// the writer's end flushes what it holds. Main thread only.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace acquisition {

class HistFile {
 public:
  static constexpr size_t kBufferSize = 2048;
  static constexpr uint32_t kDefaultFlushIntervalMs = 2000;
  static constexpr uint32_t kMinimumFlushIntervalMs = 100;

  explicit HistFile(std::string fileName,
                    const platform::MonotonicClock& clock = platform::MonotonicClock::System());
  ~HistFile();  // Close()
  HistFile(const HistFile&) = delete;
  HistFile& operator=(const HistFile&) = delete;

  // Creates or empties the file when `overwrite` (or when it does not exist), else makes it
  // end at a line end (a half last line is taken off) so that it can be appended to; then
  // starts the flush timer. False when the file can't be
  // created or written.
  bool Open(bool overwrite);
  // Appends text to the buffer, flushing first when it does not fit. False when not open, or
  // when that flush failed (the text is dropped, the buffer keeps what it held). A text
  // longer than the whole buffer goes to the file right after the flush.
  bool Write(std::string_view text);
  // One line feed (the only line end the file has).
  bool NewLine();
  // Writes the buffer at the file's end. True when the buffer is empty afterwards; on failure
  // the bytes not written stay buffered for the next try.
  bool Flush();
  // The flush timer's period: at least 100 ms; restarts the timer.
  void SetFlushInterval(uint32_t ms);
  // Stops the timer and flushes what is buffered.
  void Close();
  // The flush timer: flushes when a period has passed since the timer started or last fired.
  void Poll();

  const std::string& FileName() const { return fileName_; }
  bool IsOpen() const { return open_; }
  size_t Used() const { return buffer_.size(); }
  uint32_t FlushInterval() const { return flushIntervalMs_; }
  const std::string& LastError() const { return lastError_; }
  // The last flush left bytes in the buffer (cleared by one that empties it).
  bool FlushFailed() const { return flushFailed_; }

 private:
  void RestartTimer();

  std::string fileName_;
  const platform::MonotonicClock& clock_;
  std::string buffer_;
  uint32_t flushIntervalMs_ = kDefaultFlushIntervalMs;
  bool open_ = false;
  bool timerOn_ = false;
  bool flushFailed_ = false;
  uint64_t nextFlushMs_ = 0;
  std::string lastError_;
};

}  // namespace acquisition
