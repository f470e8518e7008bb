#include "acquisition/hist_file.h"

#include <algorithm>

#include "platform/append_file.h"

namespace acquisition {

HistFile::HistFile(std::string fileName, const platform::MonotonicClock& clock)
    : fileName_(std::move(fileName)), clock_(clock) {}

HistFile::~HistFile() { Close(); }

bool HistFile::Open(bool overwrite) {
  if (!platform::FileExists(fileName_)) overwrite = true;
  // A recording killed in the middle of a line left a half line that readers skip: what is
  // appended must not be joined to it, or the new start's marker is lost in it.
  const bool ready = overwrite ? platform::CreateEmptyFile(fileName_, &lastError_)
                               : platform::EndAtLineEnd(fileName_, &lastError_);
  if (!ready) return false;
  buffer_.reserve(kBufferSize);
  open_ = true;
  RestartTimer();
  return true;
}

void HistFile::RestartTimer() {
  timerOn_ = true;
  nextFlushMs_ = clock_.NowMs() + flushIntervalMs_;
}

void HistFile::SetFlushInterval(uint32_t ms) {
  flushIntervalMs_ = std::max(ms, kMinimumFlushIntervalMs);
  if (timerOn_) RestartTimer();
}

bool HistFile::Write(std::string_view text) {
  if (!open_) return false;
  if (text.size() > kBufferSize - std::min(buffer_.size(), kBufferSize) && !Flush()) return false;
  buffer_.append(text);
  // Only a text longer than the whole buffer gets here with more than it holds.
  if (buffer_.size() > kBufferSize) Flush();
  return true;
}

bool HistFile::NewLine() { return Write("\n"); }

bool HistFile::Flush() {
  if (buffer_.empty()) return true;
  const size_t written = platform::AppendToFile(fileName_, buffer_, &lastError_);
  buffer_.erase(0, written);
  flushFailed_ = !buffer_.empty();
  return !flushFailed_;
}

void HistFile::Close() {
  timerOn_ = false;
  if (open_) Flush();
  open_ = false;
}

void HistFile::Poll() {
  if (!timerOn_) return;
  const uint64_t now = clock_.NowMs();
  if (now < nextFlushMs_) return;
  nextFlushMs_ = now + flushIntervalMs_;
  Flush();
}

}  // namespace acquisition
