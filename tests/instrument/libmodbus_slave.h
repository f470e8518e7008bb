#pragma once
// An independent Modbus RTU slave (libmodbus) serving holding registers on a pty master, so
// our master can be checked against another implementation of the protocol.
#include <modbus.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <thread>

namespace testing_support {

class LibmodbusSlave {
 public:
  LibmodbusSlave(int masterFd, int slaveAddress, int registerCount = 128) {
    // The device name is never opened: the context is handed the pty master directly.
    ctx_ = modbus_new_rtu("/dev/null", 115200, 'N', 8, 1);
    if (ctx_ == nullptr) throw std::runtime_error("modbus_new_rtu");
    modbus_set_slave(ctx_, slaveAddress);
    modbus_set_socket(ctx_, masterFd);
    modbus_set_indication_timeout(ctx_, 0, 20000);
    modbus_set_response_timeout(ctx_, 0, 20000);  // also bounds its wait after a frame for another slave
    map_ = modbus_mapping_new(0, 0, registerCount, 0);
    thread_ = std::thread([this] { Run(); });
  }
  ~LibmodbusSlave() {
    stop_ = true;
    thread_.join();
    modbus_mapping_free(map_);
    modbus_free(ctx_);  // does not close the socket, which the pty fixture owns
  }
  LibmodbusSlave(const LibmodbusSlave&) = delete;
  LibmodbusSlave& operator=(const LibmodbusSlave&) = delete;

  // Set before the master runs, read after: the serving thread only touches them in between.
  uint16_t* registers() { return map_->tab_registers; }

 private:
  void Run() {
    uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stop_) {
      const int n = modbus_receive(ctx_, query);
      if (n > 0) modbus_reply(ctx_, query, n, map_);
    }
  }

  modbus_t* ctx_ = nullptr;
  modbus_mapping_t* map_ = nullptr;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace testing_support
