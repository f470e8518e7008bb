#pragma once
// One instrument's stream of records as fast mode uses it: switched on at the start, its
// backlog dropped right before the first tick, then taken in at every tick without waiting.
// The instrument link implements it over a DeviceInterface; tests script the records.
#include <cstdint>
#include <memory>
#include <vector>

#include "acquisition/device_list.h"

namespace acquisition {

class RecordStream {
 public:
  virtual ~RecordStream() = default;
  // Puts the instrument into streaming mode; false when it does not answer.
  virtual bool Start() = 0;
  // Drops whatever has arrived and not been taken in.
  virtual void DiscardPending() = 0;
  // Takes in what has arrived; the number of complete records held.
  virtual uint16_t Receive() = 0;
  // Up to `maxRecords` records: record j's five values at firstRow + j x rowStride x 5, its
  // instrument time at times[j]. A record that does not convert takes no row. The rows written.
  virtual int Parse(int maxRecords, float* firstRow, uint32_t* times, int rowStride, float errorValue) = 0;
  // The serial port, for messages.
  virtual int Port() const = 0;
};

// The run's devices as record streams, in device order.
std::vector<std::unique_ptr<RecordStream>> DeviceRecordStreams(const DeviceList& devices);

}  // namespace acquisition
