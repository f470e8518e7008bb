#include "acquisition/time_stamped_values.h"

#include <algorithm>

namespace acquisition {

TimeStampedValues::TimeStampedValues(uint16_t devices, double stepDays, TDateTime start)
    : devices_(devices), step_(stepDays), start_(start) {}

void TimeStampedValues::SetStart(TDateTime start) {
  start_ = start;
  firstSlot_ = 0;
}

void TimeStampedValues::Fill(Slot& slot, uint16_t device, std::span<const float> values) {
  std::copy_n(values.begin(), kValuesPerDevice, slot.values.begin() + static_cast<std::ptrdiff_t>(device * kValuesPerDevice));
  if (!slot.filled[device]) {
    slot.filled[device] = 1;
    --slot.missing;
  }
}

TimeStampedValues::Slot& TimeStampedValues::NewSlot(int64_t number, std::span<const float, kValuesPerDevice> values,
                                                    uint16_t device) {
  Slot slot;
  if (!spare_.empty()) {
    slot = std::move(spare_.back());
    spare_.pop_back();
  }
  slot.number = number;
  if (slots_.empty()) {
    slot.values.assign(static_cast<size_t>(devices_) * kValuesPerDevice, 0.0f);
    slot.filled.assign(devices_, 0);
    slot.missing = devices_;
  } else {
    const Slot& last = slots_.back();
    slot.values = last.values;
    slot.filled = last.filled;
    slot.missing = last.missing;
  }
  Fill(slot, device, values);
  slots_.push_back(std::move(slot));
  return slots_.back();
}

void TimeStampedValues::Add(uint16_t device, TDateTime time, std::span<const float, kValuesPerDevice> values) {
  if (device >= devices_) return;
  if (slots_.empty()) NewSlot(firstSlot_, values, device);
  for (size_t made = 0;; ++made) {
    Slot& last = slots_.back();  // a deque keeps references to its elements as it grows
    if (time <= SlotTime(last.number) || made == kMaxNewSlotsPerReading) {
      Fill(last, device, values);
      break;
    }
    const Slot& next = NewSlot(last.number + 1, values, device);
    if (time <= SlotTime(next.number)) break;
    // The reading lies beyond the new slot too: a slot passed over that still lacks this
    // device takes the reading rather than wait for a later one.
    if (!last.filled[device]) Fill(last, device, values);
  }
  BackFill();
}

void TimeStampedValues::BackFill() {
  // A device fills every slot from its first reading on (new slots copy the one before), so
  // the incomplete slots are always the oldest ones; once the newest is complete, each of
  // them takes what it lacks from its successor, newest first.
  if (slots_.empty() || slots_.front().missing == 0 || slots_.back().missing != 0) return;
  for (size_t k = slots_.size() - 1; k-- > 0;) {
    Slot& slot = slots_[k];
    if (slot.missing == 0) continue;
    const Slot& next = slots_[k + 1];
    for (uint16_t d = 0; d < devices_; ++d) {
      if (!slot.filled[d]) {
        Fill(slot, d, std::span<const float>(next.values).subspan(d * kValuesPerDevice, kValuesPerDevice));
      }
    }
  }
}

std::deque<TimeStampedValues::Slot>::const_iterator TimeStampedValues::Find(int64_t number) const {
  if (slots_.empty()) return slots_.end();
  // Slots are consecutive unless one was removed out of order: try the direct place first.
  const int64_t index = number - slots_.front().number;
  if (index >= 0 && index < static_cast<int64_t>(slots_.size())) {
    const auto it = slots_.begin() + static_cast<std::ptrdiff_t>(index);
    if (it->number == number) return it;
  }
  const auto it = std::lower_bound(slots_.begin(), slots_.end(), number,
                                   [](const Slot& s, int64_t n) { return s.number < n; });
  return it != slots_.end() && it->number == number ? it : slots_.end();
}

std::span<const float> TimeStampedValues::TakeSlot(int64_t slot) const {
  const auto found = Find(slot);
  if (found == slots_.end() || found->missing != 0) return {};
  return found->values;
}

void TimeStampedValues::RemoveSlot(int64_t slot) {
  const auto found = Find(slot);
  if (found == slots_.end()) return;
  spare_.push_back(std::move(const_cast<Slot&>(*found)));
  slots_.erase(found);
  ++firstSlot_;
}

}  // namespace acquisition
