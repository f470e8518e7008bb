#include "instrument/modbus_rtu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint16_t kUntouched = 0xDEAD;

Bytes WithCrc(Bytes body) {
  const uint16_t crc = modbus::Crc16(body);
  body.push_back(static_cast<uint8_t>(crc));
  body.push_back(static_cast<uint8_t>(crc >> 8));
  return body;
}

modbus::Request Built(uint8_t function, uint32_t start, uint32_t countOrValue) {
  modbus::Request r;
  const bool write = function == 5 || function == 6 || function == 71 || function == 113;
  EXPECT_TRUE(write ? modbus::BuildWriteRequest(10, function, start, uint16_t(countOrValue), r)
                    : modbus::BuildReadRequest(10, function, start, countOrValue, r));
  return r;
}

TEST(ModbusCrc, PublishedVectorsLowByteFirst) {
  const std::string check = "123456789";
  EXPECT_EQ(modbus::Crc16(Bytes(check.begin(), check.end())), 0x4B37);
  EXPECT_EQ(modbus::Crc16(Bytes{}), 0xFFFF);
  EXPECT_EQ(modbus::Crc16(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}), 0xCDC5);
  EXPECT_TRUE(modbus::HasValidCrc(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
  EXPECT_FALSE(modbus::HasValidCrc(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xCD, 0xC5}));
  EXPECT_FALSE(modbus::HasValidCrc(Bytes{0xFF}));
  // The published example request, byte for byte.
  modbus::Request r;
  ASSERT_TRUE(modbus::BuildReadRequest(0x11, 3, 0x6B, 3, r));
  EXPECT_EQ(Bytes(r.frame.begin(), r.frame.begin() + r.length), (Bytes{0x11, 3, 0x00, 0x6B, 0x00, 3, 0x76, 0x87}));
}

TEST(ModbusRequest, EveryBuilderFrameAndReplyLength) {
  struct Case { uint8_t function; uint32_t start, countOrValue; Bytes body; size_t replyLength; };
  const Case cases[] = {
      {3, 0x1234, 29, {0x0A, 3, 0x12, 0x34, 0x00, 29}, 63},
      {70, 20, 99, {0x0A, 70, 0x00, 0x14, 0x00, 0x01}, 7},  // always one register
      {112, 0x0102, 7, {0x0A, 112, 0x01, 0x02, 0x00, 0x00}, 6},
      {43, 1, 0x13, {0x0A, 43, 14, 0x01, 0x03}, 256},         // object id in 4 bits
      {114, 0x00010002, 3, {0x0A, 114, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03}, 14},
      {6, 7, 0x1234, {0x0A, 6, 0x00, 0x07, 0x12, 0x34}, 8},
      {71, 0x15, 0xFFFE, {0x0A, 71, 0x00, 0x15, 0xFF, 0xFE}, 8},
      {5, 1, 0xFF00, {0x0A, 5, 0x00, 0x01, 0xFF, 0x00}, 0},
      {113, 0, 0x55AA, {0x0A, 113}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.function));
    const modbus::Request r = Built(c.function, c.start, c.countOrValue);
    EXPECT_EQ(Bytes(r.frame.begin(), r.frame.begin() + r.length), WithCrc(c.body));
    EXPECT_EQ(r.replyLength, c.replyLength);
  }
  modbus::Request r;
  EXPECT_FALSE(modbus::BuildReadRequest(10, 6, 0, 1, r));  // a write is no read
  EXPECT_TRUE(modbus::BuildReadRequest(10, 3, 0, 32765, r)); // the reply fills the frame exactly
  EXPECT_FALSE(modbus::BuildReadRequest(10, 3, 0, 32766, r));
  EXPECT_FALSE(modbus::BuildReadRequest(10, 114, 0, 0xFFFFFFFFu, r));
}

TEST(ModbusTiming, ReadTimeoutsRatesAndSilence) {
  struct Case { uint32_t baud; size_t n; uint16_t extra; uint32_t interval, constant; };
  for (const Case& c : {Case{115200, 13, 70, 1, 72}, Case{19200, 8, 70, 1, 75} /* 1 + trunc(4.58) + 70 */,
                        Case{1200, 0, 0, 13, 13} /* trunc(13.75) */, Case{110, 7, 0, 150, 850} /* exact */}) {
    const auto t = modbus::ReadTimeoutsFor(c.baud, c.n, c.extra);
    EXPECT_EQ(t.intervalMs, c.interval) << c.baud;
    EXPECT_EQ(t.totalConstantMs, c.constant) << c.baud;
    EXPECT_EQ(t.TotalMs(c.n), c.constant + 2 * c.n) << c.baud;
  }
  EXPECT_EQ(modbus::SupportedBaudRate(56000), 56000u);
  EXPECT_EQ(modbus::SupportedBaudRate(115201), 9600u);
  EXPECT_EQ(modbus::SilenceBeforeRequest(115200).count(), 1750);  // never under 1.75 ms
  EXPECT_EQ(modbus::SilenceBeforeRequest(19200).count(), 2006);   // 3.5 characters, rounded up
}

TEST(ModbusParse, ResultCodesAndNothingDeliveredOnFailure) {
  struct Case {  // the reply gets its CRC appended
    const char* name; uint8_t function; uint32_t countOrValue; Bytes reply; modbus::Result result;
    std::vector<uint16_t> delivered;
  };
  const Case cases[] = {
      {"read", 3, 2, {0x0A, 3, 4, 0x12, 0x34, 0xAB, 0xCD}, modbus::kOk, {0x1234, 0xABCD}},
      {"byte count zero", 3, 2, {0x0A, 3, 0}, modbus::kUnexpectedReply, {}},
      {"byte count above request", 3, 2, {0x0A, 3, 6, 1, 2, 3, 4, 5, 6}, modbus::kUnexpectedReply, {}},
      {"other slave", 3, 2, {0x0B, 3, 4, 0x12, 0x34, 0xAB, 0xCD}, modbus::kWrongAddress, {}},
      {"exception", 3, 2, {0x0A, 0x83, 2}, modbus::kUnexpectedReply, {}},
      {"echo wrong", 6, 0x1234, {0x0A, 6, 0, 7, 0x12, 0x35}, modbus::kEchoMismatch, {}},
      {"function 112", 112, 1, {0x0A, 112, 0x01, 0x02}, modbus::kOk, {0x0102}},
      {"114", 114, 2, {0x0A, 114, 0, 0, 0, 2, 0x11, 0x22, 0x33, 0x44}, modbus::kOk, {0x1122, 0x3344}},
      {"114 announces none", 114, 2, {0x0A, 114, 0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44}, modbus::kTooShort, {}},
      {"114 announces more", 114, 2, {0x0A, 114, 0, 0, 0, 3, 0x11, 0x22, 0x33, 0x44}, modbus::kUnexpectedReply, {}},
  };
  auto parse = [](uint8_t function, uint32_t countOrValue, const Bytes& reply, std::vector<uint16_t>& destination) {
    const modbus::Request request = Built(function, 7, countOrValue);
    destination.assign(3, kUntouched);
    modbus::ReplyOutput out;
    out.registers = destination.data();
    return modbus::ParseReply(reply, request, out);
  };
  std::vector<uint16_t> destination;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parse(c.function, c.countOrValue, WithCrc(c.reply), destination), c.result);
    std::vector<uint16_t> expected = c.delivered;
    expected.resize(3, kUntouched);
    EXPECT_EQ(destination, expected);
  }
  Bytes swapped = WithCrc({0x0A, 3, 4, 0x12, 0x34, 0xAB, 0xCD});
  std::swap(swapped[7], swapped[8]);
  EXPECT_EQ(parse(3, 2, swapped, destination), modbus::kCrcError);
  EXPECT_EQ(destination, std::vector<uint16_t>(3, kUntouched));
  EXPECT_EQ(parse(3, 2, {0x0A, 3}, destination), modbus::kTooShort);
}

TEST(ModbusHeldBytes, EndOfReplyDetection) {
  const modbus::Request read = Built(3, 3, 2);
  const Bytes reply = WithCrc({0x0A, 3, 4, 1, 2, 3, 4});
  Bytes noisy = {0x00, 0xFF, 0x55};
  noisy.insert(noisy.end(), reply.begin(), reply.end());
  Bytes thenStream = reply;
  for (char ch : std::string("#1,5;;22.0;3;7;123x\n")) thenStream.push_back(uint8_t(ch));
  using Kind = modbus::HeldReply::Kind;
  struct Case { Bytes held; Kind kind; size_t start; };
  for (const Case& c : {Case{reply, Kind::kReply, 0}, Case{noisy, Kind::kReply, 3}, Case{thenStream, Kind::kReply, 0},
                        Case{Bytes(reply.begin(), reply.end() - 1), Kind::kIncomplete, 0},
                        Case{WithCrc({0x0A, 0x83, 2}), Kind::kException, 0},
                        Case{WithCrc({0x0B, 3, 4, 1, 2, 3, 4}), Kind::kIncomplete, 0}}) {
    const auto found = modbus::FindReply(c.held, read);
    EXPECT_EQ(found.kind, c.kind) << c.held.size();
    EXPECT_EQ(found.start, c.start) << c.held.size();
  }
  // Frames ending before `firstEnd` were looked at already and are not found again.
  EXPECT_EQ(modbus::FindReply(reply, read, reply.size() + 1).kind, Kind::kIncomplete);
  EXPECT_EQ(modbus::FindReply(noisy, read, noisy.size()).kind, Kind::kReply);
}

TEST(ModbusIdentification, ObjectsAndTheirFrameEnd) {
  const modbus::Request request = Built(43, 1, 0);
  std::vector<TDeviceIdentification> objects;
  modbus::ReplyOutput out;
  out.identification = &objects;
  // Vendor "Tv" and product code "X1", more objects follow from id 2.
  ASSERT_EQ(modbus::ParseReply(WithCrc({0x0A, 43, 14, 1, 1, 0xFF, 2, 2, 0, 2, 'T', 'v', 1, 2, 'X', '1'}), request, out),
            modbus::kOk);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[1].text, "X1");
  EXPECT_EQ(out.nextObjectId, 2);
  // An object running past the frame delivers nothing, and a frame is not complete before it.
  objects.clear();
  const Bytes cut = WithCrc({0x0A, 43, 14, 1, 1, 0, 0, 2, 0, 2, 'T', 'v', 1, 9, 'X'});
  EXPECT_EQ(modbus::ParseReply(cut, request, out), modbus::kNoReply);
  EXPECT_TRUE(objects.empty());
  EXPECT_EQ(modbus::FindReply(cut, request).kind, modbus::HeldReply::kIncomplete);
}

}  // namespace
