#pragma once
// Fixed texts of the program that several windows share.
#include <string_view>

namespace ui {

inline constexpr std::string_view kApplicationTitle = "Tervana";
inline constexpr std::string_view kVersionText = "1.2.2.01";
// The workspace saved at exit and restored at the next start, in the program directory.
inline constexpr std::string_view kLastEnvironmentFileName = "lasttime.env";
inline constexpr std::string_view kAllocationErrorText = "Erro de alocação dinâmica!\nMemory allocation error!";

}  // namespace ui
