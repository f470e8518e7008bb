#include "display/display_window_record.h"

#include <algorithm>

#include "platform/le_bytes.h"

using namespace le_bytes;

namespace {
constexpr size_t kMaximized = 0;
constexpr size_t kLeft = 4;
constexpr size_t kTop = 8;
constexpr size_t kWidth = 12;
constexpr size_t kHeight = 16;
}  // namespace

std::array<uint8_t, DisplayWindowRecord::kSize> DisplayWindowRecord::Encode() const {
  std::array<uint8_t, kSize> b{};
  PutU8(b.data(), kMaximized, maximized ? 1 : 0);
  PutI32(b.data(), kLeft, left);
  PutI32(b.data(), kTop, top);
  PutI32(b.data(), kWidth, width);
  PutI32(b.data(), kHeight, height);
  auto cfg = config.Encode();
  std::copy(cfg.begin(), cfg.end(), b.begin() + kConfigOffset);
  return b;
}

DisplayWindowRecord DisplayWindowRecord::Decode(std::span<const uint8_t, kSize> bytes) {
  const uint8_t* p = bytes.data();
  DisplayWindowRecord r;
  r.maximized = GetU8(p, kMaximized) == 1;
  r.left = GetI32(p, kLeft);
  r.top = GetI32(p, kTop);
  r.width = GetI32(p, kWidth);
  r.height = GetI32(p, kHeight);
  r.config = DisplayConfig::Decode(bytes.subspan<kConfigOffset, DisplayConfig::kSize>());
  return r;
}
