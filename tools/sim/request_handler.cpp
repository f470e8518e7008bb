#include "tools/sim/request_handler.h"

#include "tools/sim/rtu_frame.h"

namespace sim {

RequestScope ScopeOf(std::span<const uint8_t> request) {
  RequestScope scope;
  if (request.size() < 8) return scope;
  scope.first = BigEndianWord(request, 2);
  switch (request[1]) {
    case kReadHolding:
      scope.count = BigEndianWord(request, 4);
      break;
    case kWriteHolding:
      scope.count = 1;
      break;
    case kReadCalibration:
    case kWriteCalibration:
      scope.count = 1;
      scope.calibration = true;
      break;
    default:
      break;
  }
  return scope;
}

std::vector<uint8_t> HandleRequest(RegisterMap& map, std::span<const uint8_t> request) {
  const uint8_t address = request[0];
  const uint8_t function = request[1];
  if (request.size() != 8) return ExceptionReply(address, function, kIllegalFunction);
  const uint16_t reg = BigEndianWord(request, 2);
  const uint16_t operand = BigEndianWord(request, 4);
  uint8_t code = kIllegalFunction;
  switch (function) {
    case kReadHolding: {
      std::vector<uint16_t> values;
      code = map.ReadHolding(reg, operand, values);
      if (code == 0) return ReadRegistersReply(address, function, values);
      break;
    }
    case kWriteHolding:
      code = map.WriteHolding(reg, operand);
      if (code == 0) return EchoReply(request);
      break;
    case kReadCalibration: {
      // One register at a time: the request's count field must say 1.
      uint16_t value = 0;
      code = operand == 1 ? map.ReadCalibration(reg, value) : uint8_t{kIllegalValue};
      if (code == 0) return ReadRegistersReply(address, function, std::span(&value, 1));
      break;
    }
    case kWriteCalibration:
      code = map.WriteCalibration(reg, operand);
      if (code == 0) return EchoReply(request);
      break;
    default:
      break;
  }
  return ExceptionReply(address, function, code);
}

}  // namespace sim
