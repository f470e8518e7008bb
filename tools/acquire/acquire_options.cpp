#include "tools/acquire/acquire_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "acquisition/reading_limits.h"

namespace acquire {
namespace {

bool ReadInteger(const std::string& text, long long& out) {
  int base = 10;
  const char* first = text.data();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    first += 2;
    base = 16;
  }
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, out, base);
  return first != last && ec == std::errc{} && end == last;
}

std::string LogIntervalLimits() {
  return "--log-interval takes " + std::to_string(acquisition::kMinLogIntervalSlowMs) + " (with --fast " +
         std::to_string(acquisition::kMinLogIntervalFastMs) + ") to " + std::to_string(acquisition::kMaxLogIntervalMs) +
         " ms";
}

bool ReadNumber(const std::string& text, double& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && ec == std::errc{} && end == text.data() + text.size() && std::isfinite(out);
}

// "SERIAL:MASK[+SERIAL:MASK...]"
bool ReadWindow(const std::string& text, std::vector<std::pair<uint32_t, uint8_t>>& out) {
  std::stringstream in(text);
  for (std::string piece; std::getline(in, piece, '+');) {
    const size_t colon = piece.find(':');
    long long serial = 0, mask = 0;
    if (colon == std::string::npos || !ReadInteger(piece.substr(0, colon), serial) ||
        !ReadInteger(piece.substr(colon + 1), mask) || serial < 0 || serial > 99999999 || mask < 0 || mask > 0x1F)
      return false;
    out.emplace_back(static_cast<uint32_t>(serial), static_cast<uint8_t>(mask));
  }
  return !out.empty();
}

// ">=LEVEL@SERIAL:INDEX" or "<=LEVEL@SERIAL:INDEX"
bool ReadTrigger(const std::string& text, acquisition::TriggerSettings& out) {
  if (text.size() < 3 || (text.compare(0, 2, ">=") != 0 && text.compare(0, 2, "<=") != 0)) return false;
  const size_t at = text.find('@');
  const size_t colon = text.find(':', at == std::string::npos ? 0 : at);
  long long serial = 0, index = 0;
  if (at == std::string::npos || colon == std::string::npos || !ReadNumber(text.substr(2, at - 2), out.level) ||
      !ReadInteger(text.substr(at + 1, colon - at - 1), serial) || !ReadInteger(text.substr(colon + 1), index) ||
      serial < 0 || serial > 99999999 || index < 0 || index > 4)
    return false;
  out.on = true;
  out.comparison = text[0] == '>' ? 1 : 0;
  out.sourceSerial = static_cast<uint32_t>(serial);
  out.sourceIndex = static_cast<uint8_t>(index);
  return true;
}

}  // namespace

std::optional<AcquireOptions> ParseAcquireOptions(const std::vector<std::string>& args, std::string* error) {
  AcquireOptions o;
  o.settings.readIntervalMs = acquisition::kDefaultReadIntervalMs;
  o.settings.logIntervalMs = acquisition::kDefaultLogIntervalMs;
  auto fail = [&](const std::string& text) -> std::optional<AcquireOptions> {
    if (error) *error = text;
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const bool flag = option == "--help" || option == "-h" || option == "--echo" || option == "--fast";
    if (!flag && i + 1 >= args.size()) return fail(option + " needs a value");
    const std::string value = flag ? std::string() : args[++i];
    long long n = 0;
    double x = 0;
    if (option == "--help" || option == "-h") {
      o.help = true;
    } else if (option == "--echo") {
      o.echo = true;
    } else if (option == "--fast") {
      o.settings.fast = true;
    } else if (option == "--port-dir") {
      o.portFolder = value;
    } else if (option == "--show") {
      std::vector<std::pair<uint32_t, uint8_t>> window;
      if (!ReadWindow(value, window)) return fail("--show takes SERIAL:MASK[+SERIAL:MASK...], MASK 0 to 0x1F");
      o.windows.push_back(std::move(window));
    } else if (option == "--read-interval") {
      // Refused rather than brought into range: a run at another interval than the one asked
      // for would measure something else without a word.
      if (!ReadInteger(value, n) || n != acquisition::ClampReadInterval(n)) {
        return fail("--read-interval takes " + std::to_string(acquisition::kMinReadIntervalMs) + " to " +
                    std::to_string(acquisition::kMaxReadIntervalMs) + " ms");
      }
      o.settings.readIntervalMs = static_cast<int32_t>(n);
    } else if (option == "--log-interval") {
      if (!ReadInteger(value, n) || n < 0 || n > acquisition::kMaxLogIntervalMs) {
        return fail(LogIntervalLimits());
      }
      o.settings.logIntervalMs = static_cast<int32_t>(n);
    } else if (option == "--error-value") {
      if (!ReadNumber(value, x) || std::abs(x) > 3.4e38) return fail("--error-value takes a number");
      o.settings.errorValue = static_cast<float>(x);
    } else if (option == "--history") {
      if (value.empty()) return fail("--history needs a file name");
      o.settings.logFileName = value;
      o.settings.historyOn = true;
    } else if (option == "--existing") {
      if (value == "append") {
        o.existing = acquisition::ExistingFileChoice::kAppend;
      } else if (value == "overwrite") {
        o.existing = acquisition::ExistingFileChoice::kOverwrite;
      } else if (value == "cancel") {
        o.existing = acquisition::ExistingFileChoice::kCancel;
      } else {
        return fail("--existing takes append, overwrite or cancel");
      }
    } else if (option == "--trigger") {
      if (!ReadTrigger(value, o.settings.trigger)) return fail("--trigger takes >=LEVEL@SERIAL:INDEX or <=LEVEL@SERIAL:INDEX");
    } else if (option == "--seconds") {
      if (!ReadNumber(value, x) || x < 0) return fail("--seconds takes a duration in seconds");
      o.seconds = x;
    } else {
      return fail("unknown option " + option + " (see --help)");
    }
  }
  // Fast mode allows shorter history intervals; known only once every option was read.
  if (o.settings.logIntervalMs != acquisition::ClampLogInterval(o.settings.logIntervalMs, o.settings.fast)) {
    return fail(LogIntervalLimits());
  }
  // Only the instruments that windows show are read: a trigger on any other never fires.
  if (o.settings.trigger.on && !o.help) {
    const uint32_t source = o.settings.trigger.sourceSerial;
    const bool shown = std::any_of(o.windows.begin(), o.windows.end(), [&](const auto& window) {
      return std::any_of(window.begin(), window.end(), [&](const auto& show) { return show.first == source; });
    });
    if (!shown) return fail("--trigger names instrument " + std::to_string(source) + ", which no --show shows");
  }
  return o;
}

std::string AcquireUsage() {
  return R"usage(tervana-acquire: one reading run of Tervana without windows.

It reads the instruments that its display windows name (in slow mode at the reading
interval, or in fast mode from their streamed records), records the history file when one
is given, and prints what the program's status bar and messages would say, until the
duration ends or SIGINT/SIGTERM arrives.
Instruments are found by serial number on the ports of the port folder whose names
hold "Tervana" or "Kestravon" (try tervana-sim); one that answers on no port is named on
stderr and left out. An interval outside its limits is refused, not brought into them.

Options:
  --port-dir DIR        port folder (default: $TERVANA_PORT_DIR, else ./ports)
  --show SERIAL:MASK    a display window showing the values of MASK (bit 0 digital input,
                        1 channel 1, 2 channel 2, 3 ambient, 4 counter; e.g. 0x1F) of the
                        instrument SERIAL; join several with "+" for a chart (repeatable)
  --fast                fast mode: the instruments stream, and every 5 ms their records
                        are taken in (the history lines through the time-slot merger)
  --read-interval MS    reading interval in slow mode, 250 to 60000 (default 1000)
  --log-interval MS     history interval, 250 (fast mode: 10) to 3600000 (default 1000)
  --error-value X       value of a failed reading (default 0)
  --history FILE        record the history into FILE
  --existing CHOICE     when FILE exists: append (default), overwrite or cancel
  --trigger T           record only while a value is at or above (>=LEVEL@SERIAL:INDEX)
                        or at or below (<=LEVEL@SERIAL:INDEX) a level; INDEX 0 to 4; the
                        instrument SERIAL must be one that a --show shows and that answers
  --seconds S           stop after S seconds (default: run until stopped)
  --echo                print every history line as it goes to the file
  --help                this text
)usage";
}

}  // namespace acquire
