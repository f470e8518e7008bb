#include "tools/sim/simulated_instrument.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "tools/sim/fault_plan.h"
#include "tools/sim/port_folder_entry.h"
#include "tools/sim/pseudo_terminal.h"
#include "tools/sim/register_map.h"
#include "tools/sim/request_handler.h"
#include "tools/sim/rtu_frame.h"
#include "tools/sim/stream_output.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Bytes that formed no request are dropped after this much quiet on the line, so stale noise
// can never join with a later request into a false frame.
constexpr milliseconds kStaleInput{100};
// Unconsumed input kept at most (noise without end must not grow without end).
constexpr size_t kMaxPendingInput = 1024;
constexpr milliseconds kAnimationStep{100};
// A serving thread held up for longer than this many sampling periods skips ahead instead of
// sending the whole backlog at once.
constexpr int kMaxRecordBacklog = 200;
// A configuration that converts nothing still streams, at this period at the fastest.
constexpr std::chrono::microseconds kShortestStreamPeriod{1000};

uint64_t MonotonicUs(Clock::time_point t) {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count());
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

bool ValidateOptions(const InstrumentOptions& o, std::string* error) {
  if (o.serialNumber > 99999999) return Fail(error, "serial number has more than 8 digits");
  if (o.firmware > 0x1FFF) return Fail(error, "firmware version above 8191 does not fit");
  if (o.model == Model::Probe && (o.probeKind < 0 || o.probeKind > 9))
    return Fail(error, "probe kind must be 0 to 9");
  if (o.tag.size() > 10) return Fail(error, "tag longer than 10 characters");
  if (o.slaveAddress < 1 || o.slaveAddress > 247) return Fail(error, "slave address must be 1 to 247");
  return true;
}

// A piece of output waiting for its time. The first piece of a reply is due a fixed time after
// its request; a later piece (after a gap) is timed from the piece before it.
struct PendingOutput {
  OutgoingChunk chunk;
  std::optional<Clock::time_point> due;
};

}  // namespace

struct SimulatedInstrument::State {
  explicit State(InstrumentOptions o) : options(std::move(o)), map(options) {}

  const InstrumentOptions options;

  mutable std::mutex dataMutex;  // map, faults, streamFaults
  RegisterMap map;
  FaultPlan faults;
  StreamFaultPlan streamFaults;

  mutable std::mutex logMutex;  // log, loggedSinceClear, requestCount, streamRecords, turns
  mutable std::condition_variable requestSeen;
  mutable std::condition_variable recordSent;
  mutable std::condition_variable logGrew;
  mutable std::condition_variable turnEnded;
  std::deque<LogEntry> log;
  size_t loggedSinceClear = 0;
  size_t requestCount = 0;
  size_t streamRecords = 0;
  uint64_t turnsBegun = 0;  // turns of the serving loop begun (woken from its wait)
  uint64_t turns = 0;       // and finished
  std::function<void(const LogEntry&)> listener;

  std::mutex lifeMutex;  // Start and Stop
  mutable std::mutex pathMutex;
  std::string slavePath;
  std::string linkPath;
  std::atomic<bool> running{false};
  std::atomic<bool> stopping{false};
  PseudoTerminal pty;
  PortFolderEntry portEntry;
  std::thread thread;

  // Serving thread only.
  std::vector<uint8_t> received;
  Clock::time_point lastInput;
  std::deque<PendingOutput> outgoing;
  Clock::time_point startTime;
  std::optional<Clock::time_point> nextRecord;
  uint32_t clockJumpMs = 0;
  // Records due before this time are not sent (a paused stream).
  std::optional<Clock::time_point> pausedUntil;

  void Record(LogEntry::Direction direction, std::vector<uint8_t> bytes, Clock::time_point when);
  void Serve();
  size_t ProcessReceived(Clock::time_point now);
  void SendDueOutput(Clock::time_point now);
  void QueueDueRecords(Clock::time_point now);
  uint32_t InstrumentClockMs(Clock::time_point t) const;
  int MillisecondsToNextEvent(Clock::time_point now, Clock::time_point nextAnimation) const;
};

void SimulatedInstrument::State::Record(LogEntry::Direction direction, std::vector<uint8_t> bytes,
                                        Clock::time_point when) {
  LogEntry entry{MonotonicUs(when), direction, std::move(bytes)};
  std::function<void(const LogEntry&)> hear;
  {
    std::lock_guard lock(logMutex);
    hear = listener;
    if (options.logCapacity > 0) {
      if (log.size() >= options.logCapacity) log.pop_front();
      log.push_back(entry);
    }
    ++loggedSinceClear;
  }
  logGrew.notify_all();
  if (hear) hear(entry);  // outside the lock: a listener may well ask for the log
}

size_t SimulatedInstrument::State::ProcessReceived(Clock::time_point now) {
  size_t ours = 0;
  while (auto found = FindRequest(received)) {
    const auto begin = received.begin() + static_cast<std::ptrdiff_t>(found->offset);
    std::vector<uint8_t> request(begin, begin + static_cast<std::ptrdiff_t>(found->length));
    received.erase(received.begin(), begin + static_cast<std::ptrdiff_t>(found->length));
    Record(LogEntry::Direction::Request, request, now);
    if (request[0] != options.slaveAddress) continue;  // another instrument's business
    ++ours;

    std::vector<OutgoingChunk> chunks;
    {
      std::lock_guard lock(dataMutex);
      const ReplySpoiling spoiling = faults.Take(ScopeOf(request), options.slaveAddress);
      if (spoiling.silence) continue;  // the request went unheard: nothing is carried out
      std::vector<uint8_t> reply = spoiling.exception
                                       ? ExceptionReply(request[0], request[1], *spoiling.exception)
                                       : HandleRequest(map, request);
      chunks = SpoilReply(std::move(reply), spoiling);
    }
    for (size_t i = 0; i < chunks.size(); ++i) {
      std::optional<Clock::time_point> due;
      if (i == 0) due = now + milliseconds(chunks[i].waitMs);
      outgoing.push_back({std::move(chunks[i]), due});
    }
  }
  if (received.size() > kMaxPendingInput)
    received.erase(received.begin(), received.end() - static_cast<std::ptrdiff_t>(kMaxPendingInput / 4));
  return ours;
}

void SimulatedInstrument::State::SendDueOutput(Clock::time_point now) {
  while (!outgoing.empty() && outgoing.front().due && *outgoing.front().due <= now) {
    PendingOutput piece = std::move(outgoing.front());
    outgoing.pop_front();
    const Clock::time_point sent = Clock::now();
    if (piece.chunk.stream) {
      Record(LogEntry::Direction::Stream, piece.chunk.bytes, sent);
      pty.WriteNoWait(piece.chunk.bytes);
      {
        std::lock_guard lock(logMutex);
        ++streamRecords;
      }
      recordSent.notify_all();
    } else {
      if (piece.chunk.logAs) Record(LogEntry::Direction::Reply, std::move(*piece.chunk.logAs), sent);
      pty.Write(piece.chunk.bytes);
    }
    if (!outgoing.empty() && !outgoing.front().due)
      outgoing.front().due = Clock::now() + milliseconds(outgoing.front().chunk.waitMs);
    now = Clock::now();
  }
}

uint32_t SimulatedInstrument::State::InstrumentClockMs(Clock::time_point t) const {
  const auto sinceStart = std::chrono::duration_cast<milliseconds>(t - startTime).count();
  const uint32_t clock = options.streamClockStartMs + static_cast<uint32_t>(sinceStart) + clockJumpMs;
  return clock == 0 ? 1 : clock;  // 0 means "no record" to the program
}

void SimulatedInstrument::State::QueueDueRecords(Clock::time_point now) {
  std::lock_guard lock(dataMutex);
  if (!StreamingOn(map)) {
    nextRecord.reset();
    return;
  }
  const auto period = std::max<Clock::duration>(
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(StreamPeriodMs(map))),
      kShortestStreamPeriod);
  if (!nextRecord) {
    nextRecord = now + period;
    return;
  }
  for (int backlog = 0; *nextRecord <= now; ++backlog) {
    if (backlog == kMaxRecordBacklog) {
      nextRecord = now + period;
      break;
    }
    if (pausedUntil && *nextRecord < *pausedUntil) {
      *nextRecord += period;
      continue;
    }
    const RecordSpoiling spoiling = streamFaults.Take();
    clockJumpMs += spoiling.clockJumpMs;
    if (spoiling.pauseMs > 0) {
      pausedUntil = *nextRecord + milliseconds(spoiling.pauseMs);
      *nextRecord += period;
      continue;
    }
    const std::string text = SpoiledRecordText(StreamFieldTexts(map, options.streamDecimalMark),
                                               InstrumentClockMs(*nextRecord), spoiling);
    OutgoingChunk chunk;
    chunk.bytes.assign(text.begin(), text.end());
    chunk.stream = true;
    outgoing.push_back({std::move(chunk), *nextRecord});
    *nextRecord += period;
  }
}

int SimulatedInstrument::State::MillisecondsToNextEvent(Clock::time_point now,
                                                        Clock::time_point nextAnimation) const {
  std::optional<Clock::time_point> next;
  auto consider = [&](Clock::time_point t) {
    if (!next || t < *next) next = t;
  };
  if (!outgoing.empty() && outgoing.front().due) consider(*outgoing.front().due);
  if (options.animate) consider(nextAnimation);
  if (nextRecord) consider(*nextRecord);
  if (!received.empty()) consider(lastInput + kStaleInput);
  if (!next) return -1;
  if (*next <= now) return 0;
  // Rounded up: waking a little late is harmless, waking early only spins.
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(*next - now).count();
  return static_cast<int>((us + 999) / 1000);
}

void SimulatedInstrument::State::Serve() {
  Clock::time_point nextAnimation = startTime + kAnimationStep;
  QueueDueRecords(Clock::now());  // an instrument switched on in streaming mode streams at once
  while (!stopping) {
    const PseudoTerminal::WaitResult woke = pty.Wait(MillisecondsToNextEvent(Clock::now(), nextAnimation));
    if (stopping) break;
    {
      std::lock_guard lock(logMutex);
      ++turnsBegun;
    }
    Clock::time_point now = Clock::now();
    // Records due before a request go out before its reply; a request that switches the
    // stream off is then carried out before any further record is made.
    QueueDueRecords(now);
    size_t ours = 0;
    if (woke == PseudoTerminal::WaitResult::Readable) {
      if (!pty.ReadAvailable(received)) std::this_thread::sleep_for(milliseconds(10));
      lastInput = now;
      ours = ProcessReceived(now);
    }
    QueueDueRecords(now);
    SendDueOutput(now);
    if (ours > 0) {
      // Counted once the replies are out, so a waiting test sees request and reply together.
      {
        std::lock_guard lock(logMutex);
        requestCount += ours;
      }
      requestSeen.notify_all();
    }
    // Work the instrument does on its own clock goes here: it is due at a deadline that
    // MillisecondsToNextEvent wakes the loop for, and its output joins `outgoing` behind any
    // reply under way, so it can never split one.
    now = Clock::now();
    if (options.animate && now >= nextAnimation) {
      std::lock_guard lock(dataMutex);
      map.Animate(std::chrono::duration<double>(now - startTime).count());
      nextAnimation = std::max(nextAnimation + kAnimationStep, now);
    }
    // Stale only when the line was seen to stay silent: a wait that ended with nothing to
    // read. A serving thread held up by a busy machine must not drop half a request whose
    // other half is already waiting to be read.
    if (!received.empty() && woke == PseudoTerminal::WaitResult::TimedOut && now - lastInput >= kStaleInput)
      received.clear();
    {
      std::lock_guard lock(logMutex);
      ++turns;
    }
    turnEnded.notify_all();
  }
}

SimulatedInstrument::SimulatedInstrument(InstrumentOptions options)
    : state_(std::make_unique<State>(std::move(options))) {}

SimulatedInstrument::~SimulatedInstrument() { Stop(); }

bool SimulatedInstrument::Start(const std::string& portFolder, int comNumber, std::string* error) {
  State& s = *state_;
  std::lock_guard life(s.lifeMutex);
  if (s.running) return Fail(error, "the simulated instrument is already running");
  if (!ValidateOptions(s.options, error)) return false;
  if (comNumber < 1 || comNumber > 255)
    return Fail(error, "port number " + std::to_string(comNumber) + " is outside 1..255");
  if (!s.pty.Open(error)) return false;
  std::string base = s.options.friendlyName;
  if (base.empty()) base = s.options.model == Model::Probe ? "Kestravon Simulado" : "Tervana Simulado";
  if (!s.portEntry.Create(portFolder, comNumber, s.pty.SlavePath(), FriendlyPortName(base, comNumber),
                          error)) {
    s.pty.Close();
    return false;
  }
  {
    std::lock_guard lock(s.pathMutex);
    s.slavePath = s.pty.SlavePath();
    s.linkPath = s.portEntry.LinkPath();
  }
  {
    std::lock_guard lock(s.logMutex);
    s.requestCount = 0;
  }
  s.received.clear();
  s.outgoing.clear();
  s.nextRecord.reset();
  s.clockJumpMs = 0;
  s.pausedUntil.reset();
  {
    std::lock_guard lock(s.logMutex);
    s.streamRecords = 0;
  }
  s.startTime = Clock::now();
  s.stopping = false;
  s.thread = std::thread([&s] { s.Serve(); });
  s.running = true;
  return true;
}

void SimulatedInstrument::Stop() {
  State& s = *state_;
  std::lock_guard life(s.lifeMutex);
  if (!s.running) return;
  s.stopping = true;
  s.pty.Wake();
  s.thread.join();
  s.portEntry.Remove();
  s.pty.Close();
  {
    std::lock_guard lock(s.pathMutex);
    s.slavePath.clear();
    s.linkPath.clear();
  }
  s.running = false;
}

bool SimulatedInstrument::Running() const { return state_->running; }

std::string SimulatedInstrument::SlavePath() const {
  std::lock_guard lock(state_->pathMutex);
  return state_->slavePath;
}

std::string SimulatedInstrument::PortLinkPath() const {
  std::lock_guard lock(state_->pathMutex);
  return state_->linkPath;
}

const InstrumentOptions& SimulatedInstrument::Options() const { return state_->options; }

uint16_t SimulatedInstrument::HoldingRegister(uint16_t reg) const {
  std::lock_guard lock(state_->dataMutex);
  return state_->map.Holding(reg);
}

void SimulatedInstrument::SetHoldingRegister(uint16_t reg, uint16_t value) {
  {
    std::lock_guard lock(state_->dataMutex);
    state_->map.SetHolding(reg, value);
  }
  // The serving thread looks at the stream bit again (it may have started or stopped).
  if (state_->running) state_->pty.Wake();
}

uint16_t SimulatedInstrument::CalibrationRegister(uint16_t reg) const {
  std::lock_guard lock(state_->dataMutex);
  return state_->map.Calibration(reg);
}

void SimulatedInstrument::SetCalibrationRegister(uint16_t reg, uint16_t value) {
  std::lock_guard lock(state_->dataMutex);
  state_->map.SetCalibration(reg, value);
}

void SimulatedInstrument::InjectFault(FaultSpec fault) {
  std::lock_guard lock(state_->dataMutex);
  state_->faults.Add(std::move(fault));
}

void SimulatedInstrument::ClearFaults() {
  std::lock_guard lock(state_->dataMutex);
  state_->faults.Clear();
}

void SimulatedInstrument::InjectStreamFault(StreamFault fault) {
  std::lock_guard lock(state_->dataMutex);
  state_->streamFaults.Add(std::move(fault));
}

void SimulatedInstrument::ClearStreamFaults() {
  std::lock_guard lock(state_->dataMutex);
  state_->streamFaults.Clear();
}

bool SimulatedInstrument::WaitForStreamFaultsSpent(std::chrono::milliseconds timeout) const {
  State& s = *state_;
  std::unique_lock lock(s.logMutex);
  // The faults are taken while a turn makes its records; every turn ends with a notice.
  return s.turnEnded.wait_for(lock, timeout, [&] {
    std::lock_guard data(s.dataMutex);
    return s.streamFaults.Empty();
  });
}

size_t SimulatedInstrument::StreamRecordCount() const {
  std::lock_guard lock(state_->logMutex);
  return state_->streamRecords;
}

bool SimulatedInstrument::WaitForStreamRecordCount(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(state_->logMutex);
  return state_->recordSent.wait_for(lock, timeout, [&] { return state_->streamRecords >= count; });
}

std::vector<LogEntry> SimulatedInstrument::Log() const {
  std::lock_guard lock(state_->logMutex);
  return {state_->log.begin(), state_->log.end()};
}

void SimulatedInstrument::ClearLog() {
  std::lock_guard lock(state_->logMutex);
  state_->log.clear();
  state_->loggedSinceClear = 0;
}

bool SimulatedInstrument::WaitForLogSize(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(state_->logMutex);
  return state_->logGrew.wait_for(lock, timeout, [&] { return state_->loggedSinceClear >= count; });
}

bool SimulatedInstrument::CatchUp(std::chrono::milliseconds timeout) const {
  State& s = *state_;
  if (!s.running) return false;
  uint64_t target = 0;
  {
    std::lock_guard lock(s.logMutex);
    // A turn under way began before this call; the next one (the wake below makes sure there
    // is one) begins after it.
    target = s.turnsBegun + 1;
  }
  s.pty.Wake();
  std::unique_lock lock(s.logMutex);
  return s.turnEnded.wait_for(lock, timeout, [&] { return s.turns >= target || !s.running; }) && s.turns >= target;
}

size_t SimulatedInstrument::RequestCount() const {
  std::lock_guard lock(state_->logMutex);
  return state_->requestCount;
}

bool SimulatedInstrument::WaitForRequestCount(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(state_->logMutex);
  return state_->requestSeen.wait_for(lock, timeout, [&] { return state_->requestCount >= count; });
}

void SimulatedInstrument::SetLogListener(std::function<void(const LogEntry&)> listener) {
  std::lock_guard lock(state_->logMutex);
  state_->listener = std::move(listener);
}

}  // namespace sim
