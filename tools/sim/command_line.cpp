#include "tools/sim/command_line.h"

#include <charconv>

#include "platform/cp1252.h"

namespace sim {
namespace {

// A whole number within [low, high]; decimal, or hexadecimal after "0x".
bool ReadNumber(const std::string& text, long long low, long long high, long long& out) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    first += 2;
    base = 16;
  }
  if (first == last) return false;
  auto [end, ec] = std::from_chars(first, last, out, base);
  return ec == std::errc{} && end == last && out >= low && out <= high;
}

// "REG=VALUE" with a register 0..max and a 16-bit value (negative values as signed words).
bool ReadAssignment(const std::string& text, long long maxReg, std::pair<uint16_t, uint16_t>& out) {
  const auto eq = text.find('=');
  long long reg = 0, value = 0;
  if (eq == std::string::npos || !ReadNumber(text.substr(0, eq), 0, maxReg, reg) ||
      !ReadNumber(text.substr(eq + 1), -32768, 65535, value))
    return false;
  out = {static_cast<uint16_t>(reg), static_cast<uint16_t>(value)};
  return true;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error) {
  CommandLine line;
  auto fail = [&](const std::string& text) -> std::optional<CommandLine> {
    if (error) *error = text;
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    auto takesValue = option != "--help" && option != "-h" && option != "--quiet" &&
                      option != "--animate" && option != "--static" &&
                      option != "--stream-comma";
    if (takesValue && i + 1 >= args.size()) return fail(option + " needs a value");
    const std::string value = takesValue ? args[++i] : std::string();
    long long n = 0;
    if (option == "--help" || option == "-h") {
      line.help = true;
    } else if (option == "--quiet") {
      line.quiet = true;
    } else if (option == "--animate") {
      line.instrument.animate = true;
    } else if (option == "--static") {
      line.instrument.animate = false;
    } else if (option == "--port-dir") {
      if (value.empty()) return fail("--port-dir needs a folder");
      line.portFolder = value;
    } else if (option == "--com") {
      if (!ReadNumber(value, 1, 255, n)) return fail("--com takes a port number from 1 to 255");
      line.comNumber = static_cast<int>(n);
    } else if (option == "--model") {
      if (value == "0")
        line.instrument.model = Model::Model0;
      else if (value == "probe" || value == "0x2000")
        line.instrument.model = Model::Probe;
      else
        return fail("--model takes 0 or probe");
    } else if (option == "--serial") {
      if (value.size() > 8 || !ReadNumber(value, 0, 99999999, n))
        return fail("--serial takes up to 8 decimal digits");
      line.instrument.serialNumber = static_cast<uint32_t>(n);
    } else if (option == "--firmware") {
      if (!ReadNumber(value, 0, 0x1FFF, n)) return fail("--firmware takes the version x 100 (0 to 8191)");
      line.instrument.firmware = static_cast<uint16_t>(n);
    } else if (option == "--probe-kind") {
      if (!ReadNumber(value, 0, 9, n)) return fail("--probe-kind takes 0 to 9");
      line.instrument.probeKind = static_cast<int>(n);
    } else if (option == "--tag") {
      // Typed in a UTF-8 terminal; the instrument holds code page 1252.
      const std::string tag = platform::ExternalTextToCp1252(value);
      if (tag.size() > 10) return fail("--tag takes at most 10 characters");
      line.instrument.tag = tag;
    } else if (option == "--name") {
      line.instrument.friendlyName = value;
    } else if (option == "--address") {
      if (!ReadNumber(value, 1, 247, n)) return fail("--address takes 1 to 247");
      line.instrument.slaveAddress = static_cast<uint8_t>(n);
    } else if (option == "--fault") {
      std::string why;
      auto fault = ParseFaultSpec(value, &why);
      if (!fault) return fail("--fault " + value + ": " + why);
      line.faults.push_back(*fault);
    } else if (option == "--stream-fault") {
      std::string why;
      auto fault = ParseStreamFault(value, &why);
      if (!fault) return fail("--stream-fault " + value + ": " + why);
      line.streamFaults.push_back(*fault);
    } else if (option == "--stream-comma") {
      line.instrument.streamDecimalMark = ',';
    } else if (option == "--stream-clock") {
      if (!ReadNumber(value, 0, 0xFFFFFFFFll, n)) return fail("--stream-clock takes milliseconds from 0 to 4294967295");
      line.instrument.streamClockStartMs = static_cast<uint32_t>(n);
    } else if (option == "--set") {
      std::pair<uint16_t, uint16_t> assignment;
      if (!ReadAssignment(value, 127, assignment)) return fail("--set takes REG=VALUE (register 0 to 127)");
      line.holdingValues.push_back(assignment);
    } else if (option == "--set-cal") {
      std::pair<uint16_t, uint16_t> assignment;
      if (!ReadAssignment(value, 63, assignment)) return fail("--set-cal takes REG=VALUE (register 0 to 63)");
      line.calibrationValues.push_back(assignment);
    } else {
      return fail("unknown option " + option + " (see --help)");
    }
  }
  return line;
}

std::string UsageText() {
  return R"usage(tervana-sim: a simulated Tervana instrument on a pseudo-terminal.

It creates a pseudo-terminal, announces it in a port folder as comN (a link to the
terminal) and comN.name (its friendly name), and answers Modbus RTU requests
(functions 3, 6, 70 and 71) until it is stopped with Ctrl+C (SIGINT) or SIGTERM,
when it removes its entries again. While register 7 bit 6 is set (the program's fast
mode) it streams one text record "#f0;f1;f2;f3;f4;TIME" per sampling period. Every
request, reply and streamed record is printed with a time stamp.

Point Tervana at it by giving both programs the same port folder:
    tervana-sim --port-dir /tmp/tervana-ports --com 3
    TERVANA_PORT_DIR=/tmp/tervana-ports build/app/tervana
Without --port-dir the simulator uses $TERVANA_PORT_DIR, else ./ports.

Options:
  --port-dir DIR     port folder (created when missing)
  --com N            port number 1..255 (default 1)
  --model 0|probe    model 0 (two inputs, ambient, digital input; default) or the probe
  --serial N         serial number, up to 8 digits (default 12345678)
  --firmware N       firmware version x 100 (default 110; below 110 model 0 has no counter)
  --probe-kind K     probe sensor: 0 humidity and temperature (default), 1 Pt100,
                     2..9 thermocouple J, K, T, N, E, R, S, B
  --tag TEXT         device tag, at most 10 characters (default SIMULADO)
  --name TEXT        friendly name; " (COMN)" is added unless it holds "(COM"
                     (default "Tervana Simulado", for the probe "Kestravon Simulado";
                     the program only finds ports whose names hold Tervana or Kestravon)
  --address A        slave address 1..247 (default 10)
  --set REG=VALUE    set a holding register (repeatable; hexadecimal with 0x)
  --set-cal REG=VALUE  set a calibration register (repeatable)
  --static           live values stay as set (default: they wander, the counter counts)
  --animate          live values wander (the default)
  --fault FAULT      inject a fault (repeatable); FAULT is KIND[=VALUE][:COUNT], COUNT
                     the number of requests it spoils (omitted: all of them):
                       silence          no reply
                       delay=MS         reply MS milliseconds late
                       gap=MS[@BYTES]   pause MS milliseconds after BYTES bytes (default 3)
                       badcrc           wrong CRC
                       wrongaddr[=A]    reply from address A (default own address + 1)
                       exception[=C]    exception reply with code C (default 4)
                       noise[=N]        N noise bytes before the reply (default 4)
                       refuse=REG       exception 2 for any request touching register REG
                       refusecal=REG    the same for calibration register REG
  --stream-fault F   spoil streamed records (repeatable); F is KIND[=VALUE][:COUNT],
                     COUNT the number of records (default 1):
                       zero[=N]         N zero bytes inside the record (default 4)
                       junk[=N]         N bytes of junk without a line end before it (default 8)
                       badnum[=TEXT]    field 1 is TEXT (default 1.2.3; try inf, nan, 0x1F)
                       missing          a field short
                       extra            a field too many
                       jump=MS          the instrument's clock jumps MS milliseconds ahead
                       back=MS          the instrument's clock steps MS milliseconds back (a
                                        restart; COUNT times, one record apart)
                       pause=MS         no record for MS milliseconds (no COUNT); the clock
                                        runs on meanwhile
  --stream-comma     streamed values use "," as decimal mark
  --stream-clock MS  the instrument's clock at start (default 1000; try 4294960000 to
                     see it wrap)
  --quiet            do not print the traffic
  --help             this text
)usage";
}

}  // namespace sim
