#include "acquisition/record_stream.h"

#include "instrument/device_interface.h"

namespace acquisition {
namespace {

class DeviceRecordStream final : public RecordStream {
 public:
  explicit DeviceRecordStream(DeviceInterface& device) : device_(device) {}
  bool Start() override { return device_.EnableFastMode(); }
  void DiscardPending() override { device_.DiscardStreamInput(); }
  uint16_t Receive() override { return device_.ReceiveStream(); }
  int Parse(int maxRecords, float* firstRow, uint32_t* times, int rowStride, float errorValue) override {
    return device_.ParseStreamRecords(maxRecords, firstRow, times, rowStride, errorValue);
  }
  int Port() const override { return device_.GetPortNumber(); }

 private:
  DeviceInterface& device_;
};

}  // namespace

std::vector<std::unique_ptr<RecordStream>> DeviceRecordStreams(const DeviceList& devices) {
  std::vector<std::unique_ptr<RecordStream>> streams;
  for (const auto& device : devices) streams.push_back(std::make_unique<DeviceRecordStream>(*device));
  return streams;
}

}  // namespace acquisition
