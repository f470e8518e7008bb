#pragma once
// The Modbus RTU master on one serial port: opens and configures the port, drives the RS-485
// transmit direction with RTS, sends requests and collects, checks and delivers their replies.
// One transaction at a time; not thread-safe. Retries belong to the caller.
//
// A reply does not say which request it answers. After a transaction that failed (nothing,
// or nothing sound, came within its read time-out; an exception reply is an answer) the next
// request waits until the line has been quiet for that whole time-out, dropping what comes
// meanwhile: a reply up to twice its time-out late is never taken for a later request's. It
// costs one time-out per failed try.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "instrument/modbus_rtu.h"
#include "platform/serial_port.h"

// One serial port as the program lists it.
struct TEnumeratePorts {
  int portNumber = 0;        // n of COMn, 1..255
  std::string friendlyName;  // code page 1252
};

class TSerialModBusDriver {
 public:
  static constexpr int kMaxPortNumber = 255;

  // Nothing is opened here. The baud rate is checked against the supported rates at OpenPort.
  TSerialModBusDriver(int portNumber, uint32_t baudRate, uint16_t extraTimeoutMs);
  ~TSerialModBusDriver();
  TSerialModBusDriver(const TSerialModBusDriver&) = delete;
  TSerialModBusDriver& operator=(const TSerialModBusDriver&) = delete;

  // True at once when already open. Fails for a port number outside 1..255, a port that is
  // not present, or one that another holder has open.
  bool OpenPort();
  void ClosePort();
  bool IsPortOpen() const { return portOpen_; }
  // The open port's device hung up (unplugged): only closing and reopening can bring it back.
  bool PortHungUp() const { return portOpen_ && port_.HungUp(); }

  // Functions 3, 43, 70, 112, 114. `destination` receives `count` words (one for 70 and
  // 112) in host order, and nothing unless the call succeeds. For 43, `start` is the
  // read-device-id code and `count` the first object id; the objects land in
  // GetIdentification(), continuation replies included.
  bool ReadRequest(uint8_t slave, uint8_t function, uint32_t start, uint32_t count, uint16_t* destination);
  // Functions 5, 6, 71 (and 113); the reply must echo `value`. Function 5 has no known reply
  // and always fails after sending.
  bool WriteRequest(uint8_t slave, uint8_t function, uint32_t reg, uint16_t value);

  // Present serial ports in ascending number order; empty when there are none.
  static std::vector<TEnumeratePorts> ListPorts();

  int GetPortNumber() const { return portNumber_; }
  void SetPortNumber(int portNumber) { portNumber_ = portNumber; }
  // The rate the port runs at (after OpenPort: the requested one when supported, else 9600).
  uint32_t GetBaudRate() const { return baudRate_; }
  // Outcome of the last transaction (modbus::Result) and the system's text of the last failure.
  uint8_t GetResultCode() const { return resultCode_; }
  const std::string& GetErrorText() const { return errorText_; }
  const std::vector<TDeviceIdentification>& GetIdentification() const { return identification_; }

 protected:
  // The instrument's streamed text: one read under the time-outs of the last transaction,
  // and a read of what has already arrived. Both give the bytes read, or -1 on failure.
  long ReadPort(uint8_t* buffer, size_t size);
  long ReadPortAvailable(uint8_t* buffer, size_t size);

 private:
  bool Transact(const modbus::Request& request, modbus::ReplyOutput& out);
  bool SendAndReceive(const modbus::Request& request, modbus::ReplyOutput& out);
  bool WaitBeforeRequest(const modbus::Request& request);
  bool Send(const modbus::Request& request);
  bool ReceiveReply(const modbus::Request& request, modbus::ReplyOutput& out);
  bool ReadIdentification(uint8_t slave, uint32_t readDeviceIdCode, uint32_t objectId);
  void ApplyReadTimeouts(size_t expectedLength);
  bool Fail(uint8_t resultCode, std::string text);

  platform::SerialPort port_;
  std::unique_ptr<uint8_t[]> receiveFrame_;  // kReceiveFrameBytes, allocated once
  std::vector<TDeviceIdentification> identification_;
  std::string errorText_;
  uint8_t resultCode_ = modbus::kOk;
  bool portOpen_ = false;
  int portNumber_;
  uint32_t requestedBaud_;
  uint32_t baudRate_;
  uint16_t extraTimeoutMs_;
  modbus::ReadTimeouts timeouts_;
  // Set by a transaction that failed: its reply may still be on its way, and must find the
  // line unused. The next request waits until the line has been quiet for `settleGap_`
  // since `unsettledSince_` (or since the last byte), dropping whatever comes.
  bool lineUnsettled_ = false;
  bool refused_ = false;  // the last transaction got an exception reply
  platform::SerialPort::Clock::time_point unsettledSince_{};
  std::chrono::milliseconds settleGap_{0};
};
