#pragma once
// TimeStampedValues: lines up the readings of several instruments, each streaming at its own
// pace, on the history interval. Slot k stands for the time start + k x step; a reading lands
// in the first slot whose time is not before it (or in the newest slot when it is older than
// that), the slots made on the way hold it too, and every new slot starts from the values of
// the one before. A slot can be taken once every device has filled it; an early slot still
// missing a device is completed from the next complete one.
//
// Slots are keyed by their number, and their time is always computed the same way from the
// start, so a writer that steps through slot numbers gets exactly the slot times. Which
// devices filled a slot is kept in flags: no value, the error value included, marks a hole.
// Main thread only.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/datetime.h"

namespace acquisition {

class TimeStampedValues {
 public:
  static constexpr size_t kValuesPerDevice = 5;
  // New slots one reading may make. A reading further ahead (a clock that jumped) lands in
  // the last of them, so memory and work stay bounded whatever time a reading carries.
  static constexpr size_t kMaxNewSlotsPerReading = 1000;

  // `stepDays` is the history interval as a TDateTime span; slot 0 is at `start`.
  TimeStampedValues(uint16_t devices, double stepDays, TDateTime start);

  // The time of slot 0; the slot numbers count from it. Before the first Add.
  void SetStart(TDateTime start);
  TDateTime SlotTime(int64_t slot) const { return start_ + static_cast<double>(slot) * step_; }

  // One reading of a device: five values. A device outside the count is ignored.
  void Add(uint16_t device, TDateTime time, std::span<const float, kValuesPerDevice> values);
  // The values of the slot (five per device) when every device has filled it; empty when the
  // slot is incomplete or does not exist.
  std::span<const float> TakeSlot(int64_t slot) const;
  // Frees the slot; the next slot made in an empty list follows it. Nothing when none.
  void RemoveSlot(int64_t slot);

  size_t SlotCount() const { return slots_.size(); }
  uint16_t DeviceCount() const { return devices_; }
  // The number an Add into an empty list gives its slot.
  int64_t FirstSlot() const { return firstSlot_; }

 private:
  struct Slot {
    int64_t number = 0;
    std::vector<float> values;    // five per device
    std::vector<uint8_t> filled;  // one flag per device
    size_t missing = 0;           // devices not filled
  };

  Slot& NewSlot(int64_t number, std::span<const float, kValuesPerDevice> values, uint16_t device);
  void Fill(Slot& slot, uint16_t device, std::span<const float> values);
  void BackFill();
  std::deque<Slot>::const_iterator Find(int64_t number) const;

  uint16_t devices_;
  double step_;
  TDateTime start_;
  int64_t firstSlot_ = 0;
  std::deque<Slot> slots_;   // ascending by number
  std::vector<Slot> spare_;  // freed slots, reused so a long recording allocates nothing
};

}  // namespace acquisition
