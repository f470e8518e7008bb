#include "tools/sim/stream_fault.h"

#include <algorithm>
#include <charconv>

namespace sim {
namespace {

bool ReadCount(const std::string& text, long long low, long long high, long long& out) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc{} && end == text.data() + text.size() && out >= low && out <= high;
}

// Printable junk that holds neither a record start nor a line end.
std::string JunkBytes(size_t n) {
  static const char pattern[] = "xq@7!%zk";
  std::string junk;
  for (size_t i = 0; i < n; ++i) junk.push_back(pattern[i % (sizeof pattern - 1)]);
  return junk;
}

}  // namespace

StreamFault StreamFault::ZeroBytes(size_t bytes, int count) {
  StreamFault f;
  f.kind = StreamFaultKind::ZeroBytes;
  f.bytes = bytes;
  f.count = count;
  return f;
}

StreamFault StreamFault::Junk(size_t bytes, int count) {
  StreamFault f;
  f.kind = StreamFaultKind::Junk;
  f.bytes = bytes;
  f.count = count;
  return f;
}

StreamFault StreamFault::BadNumber(std::string text, size_t field, int count) {
  StreamFault f;
  f.kind = StreamFaultKind::BadNumber;
  f.text = std::move(text);
  f.field = field;
  f.count = count;
  return f;
}

StreamFault StreamFault::MissingField(int count) {
  StreamFault f;
  f.kind = StreamFaultKind::MissingField;
  f.count = count;
  return f;
}

StreamFault StreamFault::ExtraField(int count) {
  StreamFault f;
  f.kind = StreamFaultKind::ExtraField;
  f.count = count;
  return f;
}

StreamFault StreamFault::TimeJump(uint32_t milliseconds, int count) {
  StreamFault f;
  f.kind = StreamFaultKind::TimeJump;
  f.milliseconds = milliseconds;
  f.count = count;
  return f;
}

StreamFault StreamFault::ClockBack(uint32_t milliseconds, int count) {
  StreamFault f = TimeJump(milliseconds, count);
  f.kind = StreamFaultKind::ClockBack;
  return f;
}

StreamFault StreamFault::Pause(uint32_t milliseconds) {
  StreamFault f = TimeJump(milliseconds, 1);
  f.kind = StreamFaultKind::Pause;
  return f;
}

std::optional<StreamFault> ParseStreamFault(const std::string& text, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<StreamFault> {
    if (error) *error = why;
    return std::nullopt;
  };
  std::string body = text;
  int count = 1;
  if (const auto colon = body.rfind(':'); colon != std::string::npos) {
    long long n = 0;
    if (!ReadCount(body.substr(colon + 1), 1, 1000000000, n)) return fail("the count must be a number of records, 1 or more");
    count = static_cast<int>(n);
    body.resize(colon);
  }
  const auto eq = body.find('=');
  const std::string kind = body.substr(0, eq);
  const std::optional<std::string> value =
      eq == std::string::npos ? std::nullopt : std::optional<std::string>(body.substr(eq + 1));
  long long n = 0;
  if (kind == "zero" || kind == "junk") {
    size_t bytes = kind == "zero" ? 4 : 8;
    if (value) {
      if (!ReadCount(*value, 1, 4000, n)) return fail(kind + " takes a byte count from 1 to 4000");
      bytes = static_cast<size_t>(n);
    }
    return kind == "zero" ? StreamFault::ZeroBytes(bytes, count) : StreamFault::Junk(bytes, count);
  }
  if (kind == "badnum") {
    if (value && value->empty()) return fail("badnum takes a text that is not a number");
    if (value && value->find_first_of(";#\r\n") != std::string::npos) return fail("badnum text must not hold ; # or a line end");
    return StreamFault::BadNumber(value ? *value : "1.2.3", 1, count);
  }
  if ((kind == "missing" || kind == "extra") && !value)
    return kind == "missing" ? StreamFault::MissingField(count) : StreamFault::ExtraField(count);
  if (kind == "jump" && value && ReadCount(*value, 1, 0xFFFFFFFFll, n))
    return StreamFault::TimeJump(static_cast<uint32_t>(n), count);
  if (kind == "back" && value && ReadCount(*value, 1, 0xFFFFFFFFll, n))
    return StreamFault::ClockBack(static_cast<uint32_t>(n), count);
  if (kind == "pause" && value && count == 1 && body.size() == text.size() && ReadCount(*value, 1, 3600000, n))
    return StreamFault::Pause(static_cast<uint32_t>(n));
  return fail("unknown stream fault \"" + text + "\"");
}

void StreamFaultPlan::Add(StreamFault fault) {
  if (fault.count == 0) return;
  faults_.push_back(std::move(fault));
}

RecordSpoiling StreamFaultPlan::Take() {
  RecordSpoiling spoiling;
  for (StreamFault& fault : faults_) {
    switch (fault.kind) {
      case StreamFaultKind::ZeroBytes: spoiling.zeroBytes += fault.bytes; break;
      case StreamFaultKind::Junk: spoiling.junk += JunkBytes(fault.bytes); break;
      case StreamFaultKind::BadNumber: spoiling.badFields.emplace_back(fault.field, fault.text); break;
      case StreamFaultKind::MissingField: spoiling.missingField = true; break;
      case StreamFaultKind::ExtraField: spoiling.extraField = true; break;
      case StreamFaultKind::TimeJump: spoiling.clockJumpMs += fault.milliseconds; break;
      case StreamFaultKind::ClockBack: spoiling.clockJumpMs -= fault.milliseconds; break;
      case StreamFaultKind::Pause: spoiling.pauseMs = std::max(spoiling.pauseMs, fault.milliseconds); break;
    }
    if (fault.count > 0) --fault.count;
  }
  std::erase_if(faults_, [](const StreamFault& f) { return f.count == 0; });
  return spoiling;
}

std::string SpoiledRecordText(StreamFields fields, uint32_t time, const RecordSpoiling& spoiling) {
  for (const auto& [field, text] : spoiling.badFields)
    if (field < fields.size()) fields[field] = text;
  std::string record = "#";
  const size_t count = spoiling.missingField ? fields.size() - 1 : fields.size();
  for (size_t i = 0; i < count; ++i) record += fields[i] + ";";
  if (spoiling.extraField) record += "0;";
  record += std::to_string(time) + "\r\n";
  if (spoiling.zeroBytes > 0) record.insert(record.size() / 2, std::string(spoiling.zeroBytes, '\0'));
  return spoiling.junk + record;
}

}  // namespace sim
