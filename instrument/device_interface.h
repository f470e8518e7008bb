#pragma once
// One instrument on one serial port: the Modbus master plus the instrument's register map,
// its parsed configuration, identification, live values, streaming mode, calibration space
// and counter reset. Every request goes to slave address 10, each tried up to three times.
//
// One object is used by one thread at a time. Nothing here shows anything to the user: every
// operation reports by its result.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "instrument/device_regs.h"
#include "instrument/sensor_names.h"
#include "instrument/serial_modbus_driver.h"
#include "instrument/stream_buffer.h"
#include "platform/datetime.h"

class DeviceInterface : public TSerialModBusDriver {
 public:
  static constexpr int kTries = 3;
  // Registers per function 3 request (a reply of at most 63 bytes).
  static constexpr uint32_t kMaxRegistersPerRead = 29;
  static constexpr size_t kCustomCalibrationValues = device::cal::kTableCount;

  // The port is not opened here. Sensor names come from the installed provider
  // (device::InstallSensorNameProvider), else the built-in ones. `extraTimeoutMs` is added to
  // every read time-out: the instruments' own allowance, or more for a line (a simulated
  // instrument on a busy machine) that may answer later.
  DeviceInterface();  // port 1
  explicit DeviceInterface(int portNumber, uint16_t extraTimeoutMs = device::kExtraTimeoutMs);

  // --- Registers ---------------------------------------------------------------------------
  // Function 3 in requests of at most 29 registers; false at the first request that fails
  // three times, or at once when the port is not open. `destination` receives `count` words.
  bool ReadRegisters(uint16_t start, uint32_t count, uint16_t* destination);
  // Function 6, up to three tries; false at once when the port is not open.
  bool WriteRegister(uint16_t reg, uint16_t value);

  // --- Configuration block -----------------------------------------------------------------
  // Reads identification and the whole block (on the probe also its calibration registers)
  // into the register image, then parses it into `regs`. On failure nothing changes: not the
  // image, not `regs`, not the model or the ready state.
  bool ReadConfiguration();
  // Writes `regs` back, register by register, stopping at the first that fails three times
  // (the registers before it keep their new values). Only what differs from what was read is
  // changed in the image, so a write right after a read sends every register as it was.
  // False without a transaction unless the last read found model 0 or the probe.
  bool WriteConfiguration();

  bool ReadSerialNumber(std::string& text);  // "%.8d"
  bool ReadTagName(std::string& text);       // trimmed of blanks and control characters

  int32_t GetDeviceModel() const { return model_; }  // -1 until read, then 0, 0x2000 or another code
  int32_t GetProbeType() const { return model_ == device::kModelProbe ? regs.InputTypeModel : -1; }
  bool IsReady() const { return ready_; }
  int32_t GetFailureCount() const { return failedReads_; }
  const RegisterImage& GetRegisterImage() const { return image_; }

  // Port number of the instrument with this serial number among the ports whose friendly
  // names hold "Tervana" or "Kestravon"; 0 when none. Other ports are never opened. The
  // object's own port is closed first and left at the last port tried, closed.
  int FindPortBySerial(int32_t serialNumber);

  static std::string RegTextToString(std::span<const uint16_t, 5> registers);
  static void StringToRegText(const std::string& text, std::span<uint16_t, 5> registers);

  // --- Live values -------------------------------------------------------------------------
  // The five values of one reading: digital input, channel 1, channel 2, internal channel,
  // counter. A counter whose product with its stored factor is beyond a float's range is
  // `errorValue`. False without counting a failure when `values` is null or the configuration
  // was not read; every other failure adds one to the consecutive-failure count, which a read
  // of registers 3 to 6 resets before the counter is read.
  bool ReadValues(float* values, float errorValue);
  // Unit of channel 1, 2 or 3 (internal); empty for any other number.
  std::string GetChannelUnit(int channel) const;
  // Probe: index 0 or 1 gives the humidity or temperature name; anything else "????".
  std::string GetSensorName(int index) const;
  // Probe: the name of its sensor kind; "????" for another kind or model.
  std::string GetProbeSensorName() const;

  // --- Streaming mode ----------------------------------------------------------------------
  // Set or clear register 7 bit 6; true at once when it is already so. False while not ready.
  bool EnableFastMode();
  bool DisableFastMode();
  // Takes in what has arrived on the port without waiting, and gives the number of complete
  // records held (0 unless ready and streaming).
  uint16_t ReceiveStream();
  // Parses up to `maxRecords` held records. Record j goes to firstRow + j * rowStride * 5
  // (five floats) and its instrument time to times[j]. A record that does not convert is
  // dropped and counted (GetRejectedRecordCount) and takes no row. Returns the rows written.
  int ParseStreamRecords(int maxRecords, float* firstRow, uint32_t* times, int rowStride, float errorValue);
  uint64_t GetRejectedRecordCount() const { return stream_.RejectedRecords(); }
  // Drops what has arrived on the port and what the stream buffer holds, so that the next
  // record taken in is a fresh one (records that waited carry stale instrument times).
  void DiscardStreamInput();
  size_t GetStreamBytesHeld() const { return stream_.Held(); }
  // Milliseconds between two streamed records.
  float GetFastModePeriod() const;

  // --- Calibration space and counter -------------------------------------------------------
  // Function 70 / 71 on one calibration register, up to three tries. The write is refused
  // without a transaction unless the last read found model 0 or the probe.
  bool ReadCalRegister(uint16_t reg, uint16_t& value);
  bool WriteCalRegister(uint16_t reg, uint16_t value);
  // Model 0 only (false at once otherwise). Channel 0 or 1; values are signed 16-bit.
  static uint16_t GetCalRegister(int channel, int32_t inputType);
  bool WriteCalOffset(int channel, int32_t inputType, int32_t value);
  bool ReadCalOffset(int channel, int32_t inputType, int32_t& value);
  bool WriteCalGain(int channel, int32_t inputType, int32_t value);
  bool ReadCalGain(int channel, int32_t inputType, int32_t& value);
  bool WriteAmbientCal(int32_t value);
  bool ReadAmbientCal(int32_t& value);
  static int32_t GetCalibrationLimit(int32_t inputType, bool maximum, bool gain);
  static int32_t ClampCalOffset(int32_t inputType, int32_t value);
  static int32_t ClampCalGain(int32_t inputType, int32_t value);
  static int32_t GetAmbientCalLimit(bool maximum);
  static int32_t ClampAmbientCal(int32_t value);
  // The probe's custom calibration: registers 20..59 in ascending order, then the date
  // (register 18 day x 256 + month, 19 the year). True only when every write succeeded.
  // Refused without a transaction unless the last read found the probe.
  bool WriteCustomCalibration(std::span<const int16_t, kCustomCalibrationValues> values, TDateTime date);
  // Holding register 73 := 1.
  bool ResetCounter();

  // The parsed configuration, read and written directly by its users; WriteConfiguration
  // sends what it holds.
  DeviceRegs regs;
  // Bit j: value j of this device goes to the history file.
  uint8_t recordedValueMask = 0;

 private:
  template <typename Transaction>
  static bool WithTries(Transaction transaction) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
      if (transaction()) return true;
    }
    return false;
  }
  bool Streaming() const;
  bool SetStreamingBit(bool on);
  bool ConfigurationWritable() const;
  bool CalibrationModel0() const { return model_ == device::kModelLogger; }

  device::SensorNames sensorNames_;
  int32_t model_ = device::kModelUnknown;
  RegisterImage image_;
  bool ready_ = false;
  int32_t failedReads_ = 0;
  stream::StreamBuffer stream_;
};
