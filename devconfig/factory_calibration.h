#pragma once
// The factory calibration page of model 0 without widgets: the constant a read or write is
// about, its limits for the input type chosen (through the instrument's own limit and clamp
// functions), what a typed text writes, and the arrows' step. Pure.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace devconfig {

enum class FactoryConstant { Offset, Gain, Ambient };

struct FactoryRange {
  int32_t min = 0;
  int32_t max = 0;
  bool operator==(const FactoryRange&) const = default;
};

// The limits of the constant for the input type (the ambient constant has one pair for all).
FactoryRange FactoryLimits(FactoryConstant constant, int32_t inputType);

// What "Escrever" sends for the typed text: the whole integer clamped to the limits, which all
// lie within 16 bits. The clamp comes before any narrowing, so 65286 typed as a Pt100 offset is
// its maximum 200, not -250. Nothing for a text that is not a 32-bit decimal integer.
std::optional<int32_t> FactoryWriteValue(std::string_view text, FactoryConstant constant, int32_t inputType);

// One arrow step of an edit whose arrows hold the limits: the value plus or minus one, kept
// within them. Nothing when the text is not an integer or the value would not move.
std::optional<int32_t> StepFactoryValue(std::string_view text, int direction, FactoryRange range);

// Input types offered for channel 0 or 1: channel 2 has no "0 a 10 V".
size_t FactoryInputTypeCount(int channel);

}  // namespace devconfig
