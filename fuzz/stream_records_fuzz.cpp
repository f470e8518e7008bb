// The instrument's streamed text: the input is the counter's factor (or none), the error
// value, then the bytes as they arrive, cut into reads of the sizes the input gives. The
// buffer never holds more than its capacity nor freezes, and every value delivered is a
// finite float or the error value.
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>

#include "fuzz/fuzz_target.h"
#include "instrument/stream_buffer.h"
#include "instrument/stream_record.h"

namespace {

void CheckRecord(const stream::StreamRecord& record, float errorValue) {
  for (float value : record.values)
    FUZZ_CHECK(std::isfinite(value) || std::bit_cast<uint32_t>(value) == std::bit_cast<uint32_t>(errorValue));
}

// The header the target reads before the text.
std::string Header(std::optional<double> scale, float errorValue) {
  std::string header(1, scale ? '\x01' : '\x00');
  const double factor = scale.value_or(0.0);
  header.append(reinterpret_cast<const char*>(&factor), sizeof factor);
  header.append(reinterpret_cast<const char*>(&errorValue), sizeof errorValue);
  return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader in(data, size);
  const uint8_t flags = in.Take<uint8_t>();
  const double factor = in.Take<double>();
  const std::optional<double> scale = (flags & 1) ? std::optional<double>(factor) : std::nullopt;
  const float errorValue = in.Take<float>();
  const std::string_view text = in.Rest();

  // The text as one record body, as the numbers of its fields, and as a time.
  if (const auto record = stream::ParseStreamRecord(text, errorValue, scale)) CheckRecord(*record, errorValue);
  if (const auto number = stream::ParseStreamNumber(text.substr(0, 64))) FUZZ_CHECK(std::isfinite(*number));
  stream::ParseStreamTime(text.substr(0, 16));

  // The text arriving in reads of 1 to 256 bytes, taken from its own bytes.
  stream::StreamBuffer buffer;
  size_t delivered = 0;
  auto sink = [&](const stream::StreamRecord& record) {
    CheckRecord(record, errorValue);
    ++delivered;
  };
  size_t at = 0;
  while (at < text.size()) {
    const size_t chunk = 1 + static_cast<uint8_t>(text[at]);
    const std::string_view read = text.substr(at, chunk);
    at += read.size();
    buffer.Append(std::span(reinterpret_cast<const uint8_t*>(read.data()), read.size()));
    FUZZ_CHECK(buffer.Held() <= stream::StreamBuffer::kCapacity);
    FUZZ_CHECK(buffer.Text().find('\0') == std::string_view::npos);
    const size_t complete = buffer.CompleteRecords();
    const size_t before = delivered;
    const size_t taken = buffer.TakeRecords(1 + (flags >> 1) % 8, errorValue, scale, sink);
    FUZZ_CHECK(taken == delivered - before && taken <= complete);
  }
  // Taking until nothing is delivered leaves no complete record behind.
  while (buffer.TakeRecords(64, errorValue, scale, sink) > 0) {
  }
  FUZZ_CHECK(buffer.CompleteRecords() == 0);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // A counter factor beyond a float (registers 66 to 69 holding -4.7e290) and one that is
  // not a number, against counts that are and are not zero.
  const std::string records = "#1.5;;22,0;3;7;123\r\n#1;2;3;4;65535;124\r\n#1;2;3;4;0;125\r\n#;;;;1e-30;126\r\n";
  return {{"scale -4.7e290", Header(-4.7e290, -999.0f) + records},
          {"scale NaN", Header(std::nan(""), 0.0f) + records},
          {"scale 1e30", Header(1e30, 0.0f) + records}};
}
