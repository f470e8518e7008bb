#include "instrument/modbus_rtu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes WithCrc(Bytes body) {
  const uint16_t crc = modbus::Crc16(body);
  body.push_back(static_cast<uint8_t>(crc));
  body.push_back(static_cast<uint8_t>(crc >> 8));
  return body;
}

Bytes Sent(const modbus::Request& r) { return Bytes(r.frame.begin(), r.frame.begin() + r.length); }

TEST(ModbusCrc, PublishedVectors) {
  struct Case {
    Bytes bytes;
    uint16_t crc;
  };
  const std::string check = "123456789";
  const Case cases[] = {
      {Bytes(check.begin(), check.end()), 0x4B37},
      {{}, 0xFFFF},
      {{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}, 0xCDC5},
      {{0x01, 0x06, 0x00, 0x01, 0x00, 0x03}, 0x0B98},
      {{0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}, 0x8776},
  };
  for (const Case& c : cases) EXPECT_EQ(modbus::Crc16(c.bytes), c.crc);
}

TEST(ModbusCrc, ValidOnlyLowByteFirst) {
  const Bytes good = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
  Bytes swapped = good;
  std::swap(swapped[6], swapped[7]);
  EXPECT_TRUE(modbus::HasValidCrc(good));
  EXPECT_FALSE(modbus::HasValidCrc(swapped));
  EXPECT_FALSE(modbus::HasValidCrc(Bytes{0xFF}));
}

TEST(ModbusRequest, EveryBuilderFrame) {
  struct Case {
    bool write;
    uint8_t function;
    uint32_t start;
    uint32_t countOrValue;
    Bytes body;
    size_t replyLength;
  };
  const Case cases[] = {
      {false, 3, 3, 4, {0x0A, 3, 0x00, 0x03, 0x00, 0x04}, 13},
      {false, 3, 0x1234, 29, {0x0A, 3, 0x12, 0x34, 0x00, 29}, 63},
      {false, 70, 20, 99, {0x0A, 70, 0x00, 0x14, 0x00, 0x01}, 7},
      {false, 112, 0x0102, 7, {0x0A, 112, 0x01, 0x02, 0x00, 0x00}, 6},
      {false, 43, 1, 0x13, {0x0A, 43, 14, 0x01, 0x03}, 256},
      {false, 114, 0x00010002, 3, {0x0A, 114, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03}, 14},
      {true, 6, 7, 0x1234, {0x0A, 6, 0x00, 0x07, 0x12, 0x34}, 8},
      {true, 71, 0x15, 0xFFFE, {0x0A, 71, 0x00, 0x15, 0xFF, 0xFE}, 8},
      {true, 5, 1, 0xFF00, {0x0A, 5, 0x00, 0x01, 0xFF, 0x00}, 0},
      {true, 113, 0, 0x55AA, {0x0A, 113}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.function));
    modbus::Request r;
    const bool built = c.write ? modbus::BuildWriteRequest(10, c.function, c.start, uint16_t(c.countOrValue), r)
                               : modbus::BuildReadRequest(10, c.function, c.start, c.countOrValue, r);
    ASSERT_TRUE(built);
    EXPECT_EQ(Sent(r), WithCrc(c.body));
    EXPECT_EQ(r.replyLength, c.replyLength);
    if (c.write) {
      EXPECT_EQ(r.echo, c.countOrValue);
    }
  }
  // The published example frame, byte for byte.
  modbus::Request r;
  ASSERT_TRUE(modbus::BuildReadRequest(0x11, 3, 0x6B, 3, r));
  EXPECT_EQ(Sent(r), (Bytes{0x11, 0x03, 0x00, 0x6B, 0x00, 0x03, 0x76, 0x87}));
}

TEST(ModbusRequest, RefusesWhatCannotBeSentOrReceived) {
  modbus::Request r;
  EXPECT_FALSE(modbus::BuildReadRequest(10, 6, 0, 1, r));    // a write is no read
  EXPECT_FALSE(modbus::BuildWriteRequest(10, 3, 0, 1, r));   // and the other way round
  EXPECT_FALSE(modbus::BuildReadRequest(10, 17, 0, 1, r));   // unknown function
  EXPECT_TRUE(modbus::BuildReadRequest(10, 3, 0, 32765, r)); // reply fills the frame exactly
  EXPECT_FALSE(modbus::BuildReadRequest(10, 3, 0, 32766, r));
  EXPECT_FALSE(modbus::BuildReadRequest(10, 114, 0, 0xFFFFFFFFu, r));
}

TEST(ModbusTiming, ReadTimeoutsFromBaudRate) {
  struct Case {
    uint32_t baud;
    size_t n;
    uint16_t extra;
    uint32_t interval, constant;
    uint64_t total;
  };
  const Case cases[] = {
      {115200, 13, 70, 1, 72, 98},
      {115200, 0, 70, 1, 72, 72},
      {9600, 8, 70, 1, 80, 96},     // 1 + trunc(9.17) + 70
      {19200, 8, 70, 1, 75, 91},    // 19200 is not above 19200: the character formula applies
      {1200, 0, 0, 13, 13, 13},     // trunc(13.75)
      {110, 7, 0, 150, 850, 864},   // 150 + 700: exact, no floating-point shortfall
      {38400, 0, 0, 1, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.baud);
    const auto t = modbus::ReadTimeoutsFor(c.baud, c.n, c.extra);
    EXPECT_EQ(t.intervalMs, c.interval);
    EXPECT_EQ(t.totalMultiplierMs, 2u);
    EXPECT_EQ(t.totalConstantMs, c.constant);
    EXPECT_EQ(t.TotalMs(c.n), c.total);
  }
}

TEST(ModbusTiming, SupportedRatesAndSilence) {
  for (uint32_t rate : {110u, 14400u, 56000u, 115200u, 128000u, 256000u}) EXPECT_EQ(modbus::SupportedBaudRate(rate), rate);
  for (uint32_t rate : {0u, 100u, 230400u, 115201u}) EXPECT_EQ(modbus::SupportedBaudRate(rate), 9600u);
  EXPECT_EQ(modbus::SilenceBeforeRequest(115200).count(), 1750);
  EXPECT_EQ(modbus::SilenceBeforeRequest(19200).count(), 2006);  // 3.5 characters, rounded up
  EXPECT_EQ(modbus::SilenceBeforeRequest(9600).count(), 4011);
}

struct ParseCase {
  const char* name;
  uint8_t function;
  uint32_t count;    // or the written value
  Bytes reply;       // CRC appended unless `raw`
  bool raw;
  modbus::Result result;
  std::vector<uint16_t> registers;  // expected destination (sentinels when nothing delivered)
};

TEST(ModbusParse, ResultCodes) {
  constexpr uint16_t kUntouched = 0xDEAD;
  Bytes swappedCrc = WithCrc({0x0A, 3, 4, 0x12, 0x34, 0xAB, 0xCD});
  std::swap(swappedCrc[7], swappedCrc[8]);
  const ParseCase cases[] = {
      {"read ok", 3, 2, {0x0A, 3, 4, 0x12, 0x34, 0xAB, 0xCD}, false, modbus::kOk, {0x1234, 0xABCD, kUntouched}},
      {"byte count zero", 3, 2, {0x0A, 3, 0}, false, modbus::kUnexpectedReply, {kUntouched, kUntouched, kUntouched}},
      {"byte count above request", 3, 2, {0x0A, 3, 6, 1, 2, 3, 4, 5, 6}, false, modbus::kUnexpectedReply, {kUntouched, kUntouched, kUntouched}},
      {"byte count below request", 3, 2, {0x0A, 3, 2, 1, 2, 3, 4}, false, modbus::kUnexpectedReply, {kUntouched, kUntouched, kUntouched}},
      {"swapped CRC", 3, 2, swappedCrc, true, modbus::kCrcError, {kUntouched, kUntouched, kUntouched}},
      {"other slave", 3, 2, {0x0B, 3, 4, 0x12, 0x34, 0xAB, 0xCD}, false, modbus::kWrongAddress, {kUntouched, kUntouched, kUntouched}},
      {"exception", 3, 2, {0x0A, 0x83, 2}, false, modbus::kUnexpectedReply, {kUntouched, kUntouched, kUntouched}},
      {"other function", 3, 2, {0x0A, 6, 0, 3, 0, 4}, false, modbus::kUnexpectedReply, {kUntouched, kUntouched, kUntouched}},
      {"two bytes", 3, 2, {0x0A, 3}, true, modbus::kTooShort, {kUntouched, kUntouched, kUntouched}},
      {"echo ok", 6, 0x1234, {0x0A, 6, 0, 7, 0x12, 0x34}, false, modbus::kOk, {kUntouched, kUntouched, kUntouched}},
      {"echo wrong", 6, 0x1234, {0x0A, 6, 0, 7, 0x12, 0x35}, false, modbus::kEchoMismatch, {kUntouched, kUntouched, kUntouched}},
      {"calibration write echo", 71, 0xFFFE, {0x0A, 71, 0, 0x15, 0xFF, 0xFE}, false, modbus::kOk, {kUntouched, kUntouched, kUntouched}},
      {"calibration read", 70, 1, {0x0A, 70, 2, 0x80, 0x01}, false, modbus::kOk, {0x8001, kUntouched, kUntouched}},
      {"function 112", 112, 1, {0x0A, 112, 0x01, 0x02}, false, modbus::kOk, {0x0102, kUntouched, kUntouched}},
      {"114 ok", 114, 2, {0x0A, 114, 0, 0, 0, 2, 0x11, 0x22, 0x33, 0x44}, false, modbus::kOk, {0x1122, 0x3344, kUntouched}},
      {"114 announces none", 114, 2, {0x0A, 114, 0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44}, false, modbus::kTooShort, {kUntouched, kUntouched, kUntouched}},
      {"114 announces more", 114, 2, {0x0A, 114, 0, 0, 0, 3, 0x11, 0x22, 0x33, 0x44}, false, modbus::kUnexpectedReply, {kUntouched, kUntouched, kUntouched}},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    modbus::Request request;
    if (c.function == 6 || c.function == 71) {
      ASSERT_TRUE(modbus::BuildWriteRequest(10, c.function, 7, uint16_t(c.count), request));
    } else {
      ASSERT_TRUE(modbus::BuildReadRequest(10, c.function, 0, c.count, request));
    }
    std::vector<uint16_t> destination(3, kUntouched);
    modbus::ReplyOutput out;
    out.registers = destination.data();
    const Bytes reply = c.raw ? c.reply : WithCrc(c.reply);
    EXPECT_EQ(modbus::ParseReply(reply, request, out), c.result);
    EXPECT_EQ(destination, c.registers);
  }
}

TEST(ModbusParse, IdentificationObjects) {
  modbus::Request request;
  ASSERT_TRUE(modbus::BuildReadRequest(10, 43, 1, 0, request));
  std::vector<TDeviceIdentification> objects;
  modbus::ReplyOutput out;
  out.identification = &objects;
  // Vendor "Tv" and product code "X1", more objects follow from id 2.
  const Bytes reply = WithCrc({0x0A, 43, 14, 1, 0x01, 0xFF, 2, 2, 0, 2, 'T', 'v', 1, 2, 'X', '1'});
  ASSERT_EQ(modbus::ParseReply(reply, request, out), modbus::kOk);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[1].objectId, 1);
  EXPECT_EQ(objects[1].length, 2);
  EXPECT_EQ(objects[0].text, "Tv");
  EXPECT_TRUE(out.moreFollows);
  EXPECT_EQ(out.nextObjectId, 2);

  // An object running past the frame delivers nothing.
  objects.clear();
  const Bytes cut = WithCrc({0x0A, 43, 14, 1, 0x01, 0, 0, 2, 0, 2, 'T', 'v', 1, 9, 'X'});
  EXPECT_EQ(modbus::ParseReply(cut, request, out), modbus::kNoReply);
  EXPECT_TRUE(objects.empty());
}

TEST(ModbusHeldBytes, EndOfReplyDetection) {
  modbus::Request read;
  ASSERT_TRUE(modbus::BuildReadRequest(10, 3, 3, 2, read));
  const Bytes reply = WithCrc({0x0A, 3, 4, 1, 2, 3, 4});
  const Bytes exception = WithCrc({0x0A, 0x83, 2});
  const Bytes otherSlave = WithCrc({0x0B, 3, 4, 1, 2, 3, 4});
  Bytes noisy = {0x00, 0xFF, 0x55};
  noisy.insert(noisy.end(), reply.begin(), reply.end());
  Bytes thenStream = reply;
  for (char ch : std::string("#1,5;;22.0;3;7;123x\n")) thenStream.push_back(uint8_t(ch));

  struct Case {
    const char* name;
    Bytes held;
    modbus::HeldReply::Kind kind;
    size_t start;
  };
  const Case cases[] = {
      {"exact reply", reply, modbus::HeldReply::kReply, 0},
      {"after noise", noisy, modbus::HeldReply::kReply, 3},
      {"streamed text after it", thenStream, modbus::HeldReply::kReply, 0},
      {"one byte short", Bytes(reply.begin(), reply.end() - 1), modbus::HeldReply::kIncomplete, 0},
      {"exception", exception, modbus::HeldReply::kException, 0},
      {"other slave", otherSlave, modbus::HeldReply::kIncomplete, 0},
      {"nothing", {}, modbus::HeldReply::kIncomplete, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto found = modbus::FindReply(c.held, read);
    EXPECT_EQ(found.kind, c.kind);
    if (c.kind != modbus::HeldReply::kIncomplete) {
      EXPECT_EQ(found.start, c.start);
    }
  }

  modbus::Request identify;
  ASSERT_TRUE(modbus::BuildReadRequest(10, 43, 1, 0, identify));
  const Bytes idReply = WithCrc({0x0A, 43, 14, 1, 1, 0, 0, 1, 0, 3, 'a', 'b', 'c'});
  Bytes idHeld = {0x0A, 0x0A};  // noise that looks like the address
  idHeld.insert(idHeld.end(), idReply.begin(), idReply.end());
  auto found = modbus::FindReply(idHeld, identify);
  EXPECT_EQ(found.kind, modbus::HeldReply::kReply);
  EXPECT_EQ(found.start, 2u);
  EXPECT_EQ(found.length, idReply.size());
  idHeld.pop_back();
  EXPECT_EQ(modbus::FindReply(idHeld, identify).kind, modbus::HeldReply::kIncomplete);

  // Frames ending before `firstEnd` were looked at already and are not found again.
  EXPECT_EQ(modbus::FindReply(reply, read, reply.size() + 1).kind, modbus::HeldReply::kIncomplete);
  EXPECT_EQ(modbus::FindReply(noisy, read, noisy.size()).kind, modbus::HeldReply::kReply);
}

}  // namespace
