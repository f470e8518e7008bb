#pragma once
// TDisplayForm: the MDI child window that shows one display element for one device value, or
// for several chart channels. It holds the window's DisplayConfig, runs the configuration
// wizard, tells the reading run which ports and values it needs, takes the readings, names
// itself after the devices, offers counter resets in its context menu, and gives its record
// to the environment file.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/child_windows.h"
#include "display/display_config.h"
#include "display/display_device_info.h"
#include "display/display_form_services.h"
#include "display/display_titles.h"
#include "display/display_window_record.h"

class DisplayObject;
class QAction;
class QMenu;

class TDisplayForm : public QWidget, public ui::DisplayWindowCommands {
  Q_OBJECT

 public:
  static constexpr uint64_t kMinimumUpdatePeriodMs = 100;
  static constexpr const char* kLanguageHeading =
      "# Form de Visualiza\xE7\xE3o do Componente Gr\xE1" "fico";

  // Message texts, replaced from the language file (code page 1252).
  enum Text { kElementError = 0, kResetCounting = 1, kResetTiming = 2, kResetFrequency = 3 };

  explicit TDisplayForm(QWidget* parent = nullptr);
  TDisplayForm(const DisplayFormServices& services, QWidget* parent = nullptr);
  ~TDisplayForm() override;

  // The user's command: the configuration wizard, when no reading run is active.
  void Configure() override;
  // A stored configuration (environment file): the window takes it whole, chart channels
  // included, refreshes its texts from the device when it answers, and builds the element.
  void Configure(const DisplayConfig& record);
  void PrintDisplay() override;

  // A hand-over: five values per device, one time per device (0.0: no reading yet).
  // Indicators take at most one hand-over per minimum update period; charts take all.
  void UpdateReadings(std::span<const float> values, std::span<const double> times);

  // The COM ports of the window's devices that answer, one per distinct device.
  std::vector<uint16_t> GetDevicePorts();
  // Bit j: value j of that device is shown.
  uint8_t GetValueMask(uint32_t serial) const;
  // The run's device serials in device order: sets every channel's run index.
  void SetChannelIndexes(std::span<const uint32_t> runSerials);
  // Names the window after the run's devices (null: a run without a device list).
  void UpdateTitles(const std::vector<DisplayDeviceInfo>* runDevices);
  void SetReadInterval(int32_t milliseconds);
  DisplayWindowRecord GetWindowRecord() const;
  // Places the window (its MDI frame when it has one) as a record says.
  void SetWindowPlacement(const DisplayWindowRecord& record);

  // A new window's size.
  QSize sizeHint() const override { return QSize(340, 250); }

  const DisplayConfig& Config() const { return config_; }
  DisplayObject* Element() const { return element_.get(); }
  uint16_t Port() const { return port_; }
  QWidget* Panel() const { return panel_; }
  QMenu* PopupMenu() const { return popupMenu_; }
  const QList<QAction*>& ResetItems() const { return resetItems_; }
  const std::string& TextAt(Text which) const { return texts_[which]; }

  // The context menu at a point on the screen. False when the point lies in a chart's plot
  // area (the chart keeps the mouse there) and no menu opens.
  bool ShowContextMenu(QPoint globalPos);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void ApplyLanguage();
  void TakeMenuCaptions();
  void CreateElement();
  void FreeElement();
  void ClearResetItems();
  void AddResetItem(const CounterResetItem& item);
  void ShowError(const QString& text);
  void PanelResize();
  void ResetarContagensClick(uint16_t port);
  CounterResetTexts ResetTexts() const;
  float ErrorValue() const;
  uint64_t NowMs() const;

  DisplayFormServices services_;
  std::unique_ptr<DisplayObject> element_;
  DisplayConfig config_;
  uint16_t port_ = 0;
  std::array<std::string, 4> texts_;
  uint64_t lastUpdateMs_ = 0;
  QWidget* panel_ = nullptr;
  QMenu* popupMenu_ = nullptr;
  QAction* configurar_ = nullptr;
  QAction* imprimir_ = nullptr;
  QAction* fechar_ = nullptr;
  QList<QAction*> resetItems_;
  // The MDI frame's geometry while neither minimised nor maximised: what a record keeps
  // of a minimised window.
  QRect normalFrameGeometry_;
};
