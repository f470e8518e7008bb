#pragma once
// The chart's channel choice of the configuration wizard without its widgets: the available
// channels (kept sorted by caption), the chosen ones in the order they were chosen with the
// colour of each one's preview line, the remembered click in each list and which of the
// buttons ">>>", "<<<", "Limpa" and "Próximo" may be pressed. The window mirrors the lists
// and keeps one preview line per chosen channel, in the same order.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace wizard {

struct ChannelItem {
  std::string caption;  // device tag + "/" + value name, code page 1252
  uint32_t deviceSerial = 0;
  uint16_t valueIndex = 0;

  friend bool operator==(const ChannelItem&, const ChannelItem&) = default;
};

struct ChosenChannel {
  ChannelItem item;
  uint32_t color = 0;  // TColor of its preview line
};

// The colour a new preview line gets when no stored colour waits for it: the first colour of a
// fixed palette that no other line uses (the palette's first when all are taken).
uint32_t AutomaticSeriesColor(const std::vector<ChosenChannel>& chosen);

class ChartChannelLists {
 public:
  static constexpr size_t kNone = SIZE_MAX;

  // Empties both lists, forgets the clicks, disables every button.
  void Clear();
  // Adds to the available list in caption order (after equal captions).
  void AddAvailable(ChannelItem item);

  // Stored colours handed to the next chosen channels, in order.
  void SetPendingColors(std::vector<uint32_t> colors);
  const std::deque<uint32_t>& PendingColors() const { return pending_; }

  // A click in a list (kNone: no item under the mouse).
  void ClickAvailable(size_t index);
  void ClickChosen(size_t index);

  // ">>>" with the remembered index: moves that available item to the end of the chosen list;
  // false when the index lies outside the available list.
  bool Choose(size_t availableIndex);
  bool ChooseRemembered() { return Choose(rememberedAvailable_); }
  // Finds the available item of this device value and chooses it; false when none matches.
  bool ChooseStored(uint32_t deviceSerial, uint16_t valueIndex);
  // "<<<": gives the remembered chosen item back; the position it had, or nothing when no
  // chosen item is remembered (the button stays disabled until the next click).
  std::optional<size_t> Unchoose();
  // "Limpa": every chosen item back.
  void UnchooseAll();

  void SetChosenColor(size_t index, uint32_t color);

  const std::vector<ChannelItem>& Available() const { return available_; }
  const std::vector<ChosenChannel>& Chosen() const { return chosen_; }
  size_t RememberedAvailable() const { return rememberedAvailable_; }
  size_t RememberedChosen() const { return rememberedChosen_; }

  bool ChooseEnabled() const { return chooseEnabled_; }
  bool UnchooseEnabled() const { return unchooseEnabled_; }
  bool ClearEnabled() const { return clearEnabled_; }
  bool NextEnabled() const { return nextEnabled_; }

 private:
  void InsertAvailable(ChannelItem item);

  std::vector<ChannelItem> available_;
  std::vector<ChosenChannel> chosen_;
  std::deque<uint32_t> pending_;
  size_t rememberedAvailable_ = kNone;
  size_t rememberedChosen_ = kNone;
  bool chooseEnabled_ = false;
  bool unchooseEnabled_ = false;
  bool clearEnabled_ = false;
  bool nextEnabled_ = false;
};

}  // namespace wizard
