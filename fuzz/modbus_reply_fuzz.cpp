// Modbus replies as they arrive on the line: the input is a request (slave, function, start,
// count, written value), where to start looking, whether to seal the bytes with a valid CRC,
// and the bytes held. A frame found lies within the held bytes and answers the request; a
// parsed reply writes only what the request asked for, and nothing at all unless it is kOk.
#include <array>
#include <span>

#include "fuzz/fuzz_target.h"
#include "instrument/modbus_rtu.h"

namespace {

constexpr uint8_t kFunctions[] = {
    modbus::kReadHoldingRegisters,    modbus::kWriteSingleCoil,          modbus::kWriteSingleRegister,
    modbus::kReadDeviceIdentification, modbus::kReadCalibrationRegister, modbus::kWriteCalibrationRegister,
    modbus::kReadRegister112,         modbus::kEcho113,                  modbus::kReadRegisterBlock114};
constexpr uint16_t kUntouched = 0xA5C3;

void CheckParse(std::span<const uint8_t> reply, const modbus::Request& request) {
  // Exactly the words the request may receive: anything past them is outside the buffer.
  std::vector<uint16_t> registers(request.count == 0 ? 1 : request.count, kUntouched);
  std::vector<TDeviceIdentification> identification;
  modbus::ReplyOutput out;
  out.registers = registers.data();
  out.identification = &identification;
  const modbus::Result result = modbus::ParseReply(reply, request, out);
  if (result != modbus::kOk) {
    for (uint16_t word : registers) FUZZ_CHECK(word == kUntouched);
    FUZZ_CHECK(identification.empty());
    return;
  }
  FUZZ_CHECK(reply.size() >= 3 && modbus::HasValidCrc(reply) && reply[0] == request.slave && reply[1] == request.function);
  for (const TDeviceIdentification& object : identification) FUZZ_CHECK(object.text.size() == size_t(object.length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader in(data, size);
  const uint8_t slave = in.Take<uint8_t>();
  const uint8_t function = kFunctions[in.Take<uint8_t>() % std::size(kFunctions)];
  const uint32_t start = in.Take<uint32_t>();
  const uint32_t count = in.Take<uint16_t>();
  const uint16_t echo = in.Take<uint16_t>();
  const size_t firstEnd = in.Take<uint8_t>();
  const uint8_t flags = in.Take<uint8_t>();
  std::string_view body = in.Rest();
  std::vector<uint8_t> held(body.begin(), body.end());
  if (flags & 1) {  // past the CRC, where most of the parser lies
    if (held.size() >= 2) {
      held[0] = slave;
      held[1] = (flags & 2) ? static_cast<uint8_t>(function | modbus::kExceptionFlag) : function;
    }
    const uint16_t crc = modbus::Crc16(held);
    held.push_back(static_cast<uint8_t>(crc));
    held.push_back(static_cast<uint8_t>(crc >> 8));
  }

  modbus::Request request;
  const bool built = modbus::BuildReadRequest(slave, function, start, count, request) ||
                     modbus::BuildWriteRequest(slave, function, start, echo, request);
  if (!built) return 0;
  FUZZ_CHECK(request.length <= modbus::kTransmitFrameBytes && modbus::HasValidCrc(std::span(request.frame).first(request.length)));

  const modbus::HeldReply found = modbus::FindReply(held, request, firstEnd);
  if (found.kind != modbus::HeldReply::kIncomplete) {
    FUZZ_CHECK(found.length >= 3 && found.start + found.length <= held.size());
    const auto frame = std::span<const uint8_t>(held).subspan(found.start, found.length);
    FUZZ_CHECK(frame[0] == slave && modbus::HasValidCrc(frame));
    if (found.kind == modbus::HeldReply::kException) FUZZ_CHECK(frame[1] == (function | modbus::kExceptionFlag));
    else FUZZ_CHECK(frame[1] == function);
    CheckParse(frame, request);
  }
  CheckParse(held, request);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() { return {}; }
