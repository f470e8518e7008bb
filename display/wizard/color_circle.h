#pragma once
// The round colour sample beside each colour button of the wizard.
#include "ui/color_circle.h"

namespace wizard {
using TColorCircle = ui::TColorCircle;
}  // namespace wizard
