#include "display/display_config_upgrade.h"

void UpgradeDisplayConfig(DisplayConfig& config, int32_t fileVersion) {
  if (config.kind == DisplayKind::Chart && fileVersion < display_upgrade::kLineWidthVersion) {
    ChartSettings chart = config.Chart();
    chart.lineWidth = 1;
    config.SetChart(chart);
  }
  // Every version before the field existed left those bytes undefined, not only the last one.
  if (config.kind == DisplayKind::LedDigits &&
      fileVersion < display_upgrade::kLedBackgroundVersion) {
    LedSettings led = config.Led();
    led.backColor = led.offColor;
    config.SetLed(led);
  }
}
