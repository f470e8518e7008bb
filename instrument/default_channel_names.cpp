#include "instrument/default_channel_names.h"

namespace {

using Table = std::array<std::string, kDefaultChannelNameCount>;

Table BuiltIn() {
  return {"Canal 1", "Canal 2", "Ambiente", "Canal 3", "Contagens",
          "Temporiza\xE7\xE3o", "Freq\xFC\xEAncia"};
}

Table& Current() {
  static Table table = BuiltIn();
  return table;
}

}  // namespace

const std::array<std::string, kDefaultChannelNameCount>& DefaultChannelNames() { return Current(); }

const std::string& DefaultChannelNameText(DefaultChannelName which) {
  return Current()[static_cast<size_t>(which)];
}

void SetDefaultChannelName(size_t index, std::string text) {
  if (index < kDefaultChannelNameCount) Current()[index] = std::move(text);
}

void RestoreBuiltInChannelNames() { Current() = BuiltIn(); }
