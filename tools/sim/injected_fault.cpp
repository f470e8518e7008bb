#include "tools/sim/injected_fault.h"

#include <charconv>
#include <limits>

namespace sim {

FaultSpec FaultSpec::Silence(int count) {
  FaultSpec f;
  f.kind = FaultKind::Silence;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::Delay(uint32_t ms, int count) {
  FaultSpec f;
  f.kind = FaultKind::Delay;
  f.milliseconds = ms;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::Gap(uint32_t ms, size_t afterBytes, int count) {
  FaultSpec f;
  f.kind = FaultKind::Gap;
  f.milliseconds = ms;
  f.gapAfterBytes = afterBytes;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::BadCrc(int count) {
  FaultSpec f;
  f.kind = FaultKind::BadCrc;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::WrongAddress(uint8_t address, int count) {
  FaultSpec f;
  f.kind = FaultKind::WrongAddress;
  f.address = address;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::Exception(uint8_t code, int count) {
  FaultSpec f;
  f.kind = FaultKind::Exception;
  f.exceptionCode = code;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::Noise(std::vector<uint8_t> bytes, int count) {
  FaultSpec f;
  f.kind = FaultKind::Noise;
  f.noise = std::move(bytes);
  f.count = count;
  return f;
}

FaultSpec FaultSpec::RefuseRegister(uint16_t reg, int count, uint8_t code) {
  FaultSpec f;
  f.kind = FaultKind::RefuseRegister;
  f.reg = reg;
  f.exceptionCode = code;
  f.count = count;
  return f;
}

FaultSpec FaultSpec::RefuseCalibrationRegister(uint16_t reg, int count, uint8_t code) {
  FaultSpec f = RefuseRegister(reg, count, code);
  f.calibrationSpace = true;
  return f;
}

namespace {

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// A whole unsigned decimal number within [low, high].
bool ReadNumber(std::string_view text, uint64_t low, uint64_t high, uint64_t& out) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc{} && end == text.data() + text.size() && out >= low && out <= high;
}

}  // namespace

std::optional<FaultSpec> ParseFaultSpec(const std::string& text, std::string* error) {
  std::string_view rest = text;
  int count = FaultSpec::kForever;
  if (const auto colon = rest.rfind(':'); colon != std::string_view::npos) {
    uint64_t n = 0;
    if (!ReadNumber(rest.substr(colon + 1), 1, std::numeric_limits<int>::max(), n)) {
      Fail(error, "bad count in \"" + text + "\" (a number from 1 up)");
      return std::nullopt;
    }
    count = static_cast<int>(n);
    rest = rest.substr(0, colon);
  }
  std::string_view kind = rest;
  std::string_view value;
  bool hasValue = false;
  if (const auto eq = rest.find('='); eq != std::string_view::npos) {
    kind = rest.substr(0, eq);
    value = rest.substr(eq + 1);
    hasValue = true;
  }
  auto number = [&](uint64_t low, uint64_t high, uint64_t& out) {
    if (ReadNumber(value, low, high, out)) return true;
    return Fail(error, "bad value in \"" + text + "\" (expected " + std::to_string(low) +
                           " to " + std::to_string(high) + ")");
  };
  auto noValue = [&] {
    return !hasValue || Fail(error, "\"" + std::string(kind) + "\" takes no value");
  };
  auto needValue = [&] {
    return hasValue || Fail(error, "\"" + std::string(kind) + "\" needs a value");
  };

  uint64_t n = 0;
  if (kind == "silence") {
    if (noValue()) return FaultSpec::Silence(count);
  } else if (kind == "delay") {
    if (needValue() && number(0, 600000, n)) return FaultSpec::Delay(static_cast<uint32_t>(n), count);
  } else if (kind == "gap") {
    size_t after = 3;
    if (const auto at = value.find('@'); at != std::string_view::npos) {
      uint64_t bytes = 0;
      if (!ReadNumber(value.substr(at + 1), 0, 1000, bytes)) {
        Fail(error, "bad gap position in \"" + text + "\"");
        return std::nullopt;
      }
      after = bytes;
      value = value.substr(0, at);
    }
    if (needValue() && number(0, 600000, n))
      return FaultSpec::Gap(static_cast<uint32_t>(n), after, count);
  } else if (kind == "badcrc") {
    if (noValue()) return FaultSpec::BadCrc(count);
  } else if (kind == "wrongaddr") {
    if (!hasValue) return FaultSpec::WrongAddress(0, count);
    if (number(1, 255, n)) return FaultSpec::WrongAddress(static_cast<uint8_t>(n), count);
  } else if (kind == "exception") {
    if (!hasValue) return FaultSpec::Exception(4, count);
    if (number(1, 255, n)) return FaultSpec::Exception(static_cast<uint8_t>(n), count);
  } else if (kind == "noise") {
    n = 4;
    if (!hasValue || number(1, 256, n)) {
      std::vector<uint8_t> bytes;
      // A pattern that never reads as a frame: alternating idle-line and break-like bytes.
      for (uint64_t i = 0; i < n; ++i) bytes.push_back(i % 2 ? 0xFF : 0x00);
      return FaultSpec::Noise(std::move(bytes), count);
    }
  } else if (kind == "refuse" || kind == "refusecal") {
    if (needValue() && number(0, 65535, n)) {
      return kind == "refuse" ? FaultSpec::RefuseRegister(static_cast<uint16_t>(n), count)
                              : FaultSpec::RefuseCalibrationRegister(static_cast<uint16_t>(n), count);
    }
  } else {
    Fail(error, "unknown fault \"" + std::string(kind) +
                    "\" (silence, delay, gap, badcrc, wrongaddr, exception, noise, refuse, refusecal)");
  }
  return std::nullopt;
}

}  // namespace sim
