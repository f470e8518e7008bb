#include "display/wizard/chart_channel_lists.h"

#include <algorithm>
#include <iterator>

namespace wizard {

uint32_t AutomaticSeriesColor(const std::vector<ChosenChannel>& chosen) {
  // 0x00BBGGRR: red, green, blue, fuchsia, teal, navy, maroon, olive, purple, grey, orange, black.
  static constexpr uint32_t kPalette[] = {0x0000FF, 0x008000, 0xFF0000, 0xFF00FF, 0x808000, 0x800000,
                                          0x000080, 0x008080, 0x800080, 0x808080, 0x0080FF, 0x000000};
  for (uint32_t color : kPalette) {
    const bool used = std::any_of(chosen.begin(), chosen.end(),
                                  [color](const ChosenChannel& c) { return c.color == color; });
    if (!used) return color;
  }
  return kPalette[chosen.size() % std::size(kPalette)];
}

void ChartChannelLists::Clear() {
  available_.clear();
  chosen_.clear();
  rememberedAvailable_ = kNone;
  rememberedChosen_ = kNone;
  chooseEnabled_ = unchooseEnabled_ = clearEnabled_ = nextEnabled_ = false;
}

void ChartChannelLists::InsertAvailable(ChannelItem item) {
  auto at = std::upper_bound(available_.begin(), available_.end(), item.caption,
                             [](const std::string& caption, const ChannelItem& i) { return caption < i.caption; });
  available_.insert(at, std::move(item));
}

void ChartChannelLists::AddAvailable(ChannelItem item) { InsertAvailable(std::move(item)); }

void ChartChannelLists::SetPendingColors(std::vector<uint32_t> colors) {
  pending_.assign(colors.begin(), colors.end());
}

void ChartChannelLists::ClickAvailable(size_t index) {
  rememberedAvailable_ = index;
  chooseEnabled_ = index < available_.size();
  unchooseEnabled_ = false;
}

void ChartChannelLists::ClickChosen(size_t index) {
  rememberedChosen_ = index;
  chooseEnabled_ = false;
  unchooseEnabled_ = index < chosen_.size();
}

bool ChartChannelLists::Choose(size_t availableIndex) {
  if (availableIndex >= available_.size()) return false;
  ChosenChannel chosen{available_[availableIndex], 0};
  available_.erase(available_.begin() + static_cast<std::ptrdiff_t>(availableIndex));
  if (!pending_.empty()) {
    chosen.color = pending_.front();
    pending_.pop_front();
  } else {
    chosen.color = AutomaticSeriesColor(chosen_);
  }
  chosen_.push_back(std::move(chosen));
  // The remembered index now names the next item, if any.
  chooseEnabled_ = rememberedAvailable_ < available_.size();
  clearEnabled_ = true;
  nextEnabled_ = true;
  return true;
}

bool ChartChannelLists::ChooseStored(uint32_t deviceSerial, uint16_t valueIndex) {
  for (size_t i = 0; i < available_.size(); ++i) {
    if (available_[i].deviceSerial == deviceSerial && available_[i].valueIndex == valueIndex) return Choose(i);
  }
  // A stored channel that no listed device offers is dropped, and its colour with it, so the
  // channels after it keep their own colours.
  if (!pending_.empty()) pending_.pop_front();
  return false;
}

std::optional<size_t> ChartChannelLists::Unchoose() {
  const size_t index = rememberedChosen_;
  // Forgotten at once: a second press without a new click must not give back another item.
  rememberedChosen_ = kNone;
  unchooseEnabled_ = false;
  if (index >= chosen_.size()) return std::nullopt;
  InsertAvailable(chosen_[index].item);
  chosen_.erase(chosen_.begin() + static_cast<std::ptrdiff_t>(index));
  if (chosen_.empty()) clearEnabled_ = nextEnabled_ = false;
  return index;
}

void ChartChannelLists::UnchooseAll() {
  chooseEnabled_ = unchooseEnabled_ = clearEnabled_ = nextEnabled_ = false;
  for (ChosenChannel& c : chosen_) InsertAvailable(std::move(c.item));
  chosen_.clear();
  rememberedAvailable_ = kNone;
  rememberedChosen_ = kNone;
}

void ChartChannelLists::SetChosenColor(size_t index, uint32_t color) {
  if (index < chosen_.size()) chosen_[index].color = color;
}

}  // namespace wizard
