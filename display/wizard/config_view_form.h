#pragma once
// TConfigViewForm: the modal wizard that configures one display window in three steps:
// 0 the display kind, 1 the device and value (or a chart's channels of several devices),
// 2 the kind's settings. Beside the steps a live example of the element wanders through
// random values in the configured range. The wizard edits its own copy of the window's
// configuration, chart channels included, and hands it back only when the user confirms with
// "Concluído". One instance serves the whole program, so the settings of kinds not being
// edited keep what they had at the last use.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/display_config.h"
#include "display/display_configurator.h"
#include "display/wizard/chart_channel_lists.h"
#include "display/wizard/device_values.h"
#include "display/wizard/preview_walk.h"
#include "display/wizard/range_rules.h"
#include "platform/datetime.h"

class DeviceInterface;
class QCheckBox;
class QComboBox;
class QCPGraph;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace controls {
class TAnalogMeter;
class TBarMeter;
class TDialGauge;
class TDigitDisplay;
class TSegmentIndicator;
}  // namespace controls

namespace platform {
class WallClock;
}

namespace ui {
class ColorChooser;
class TColorCircle;
class TRadioGroup;
class UserInteraction;
}  // namespace ui

namespace wizard {
using TColorCircle = ui::TColorCircle;
class TUpDown;
}  // namespace wizard

struct WizardServices {
  ui::UserInteraction* ui = nullptr;        // messages and the modal run; null: Qt's own
  ui::ColorChooser* colors = nullptr;       // null: the toolkit's colour dialog
  wizard::PreviewWalk::RandomSource random;  // empty: a pseudo-random generator
  const platform::WallClock* clock = nullptr;  // null: the system's wall clock
};

class TConfigViewForm : public QDialog, public DisplayConfigurator {
  Q_OBJECT

 public:
  static constexpr int kPreviewIntervalMs = 1000;
  static constexpr const char* kLanguageHeading =
      "# Form de Configura\xE7\xE3o do Componente Gr\xE1" "fico";
  static constexpr const char* kDefaultTag = "Tervana";

  explicit TConfigViewForm(const WizardServices& services = {}, QWidget* parent = nullptr);
  ~TConfigViewForm() override;

  // --- DisplayConfigurator ------------------------------------------------------------------
  void SetConfig(const DisplayConfig& config) override;
  // FormShow, the modal run, FormClose; true when the user confirmed.
  bool Execute(QWidget* parent) override;
  void GetConfig(DisplayConfig& config) const override;
  uint16_t GetSelectedPort() const override { return selectedPort_; }

  // --- Steps and kinds ----------------------------------------------------------------------
  void FormShow();
  void FormClose();
  void LoadControls();
  void SelectKind();
  void ShowStep();
  void NextClick();
  void BackClick();
  void FinishClick();  // "Concluído"
  void CancelClick();
  void Translate();

  // --- Device and value ---------------------------------------------------------------------
  void FillDeviceList();
  void FillChannelChoice();
  bool ApplyChosenChannel();
  void SelectChannel(uint16_t index);
  void WhichDeviceChange();  // the user picked another device
  void WhatClick(int item);  // the user picked a value
  void AllListClick(int row);
  void SelectedListClick(int row);
  void SelClick();
  void UnselClick();
  void ClearSelClick();

  // --- Preview ------------------------------------------------------------------------------
  void SetPreviewRange(int digits);
  void PlaceLcdPreview(int digits);
  void PlaceLedPreview(int digits);
  void TimerTimer();
  void DeleteSeries();
  void BuildColorList();
  void DeleteColorList();

  // --- Inspection (tests, the history viewer's pen dialog) ----------------------------------
  int Step() const { return step_; }
  DisplayKind Kind() const { return config_.kind; }
  const DisplayConfig& EditedConfig() const { return config_; }
  wizard::PreviewWalk& Walk() { return walk_; }
  const wizard::ChartChannelLists& ChannelLists() const { return lists_; }
  const wizard::OfferedValues& Offered() const { return offered_; }
  const std::vector<QCPGraph*>& PreviewSeries() const { return previewSeries_; }
  QCPGraph* ReferenceSeries(int which) const { return which == 1 ? refSeries1_ : refSeries2_; }
  QCustomPlot* PreviewChart() const { return chart_; }
  DeviceInterface* Device() const { return device_.get(); }
  const std::vector<QPushButton*>& ColorListButtons() const { return colorButtons_; }
  const std::vector<wizard::TColorCircle*>& ColorListCircles() const { return colorCircles_; }
  const std::vector<uint16_t>& PortList() const { return portList_; }
  uint16_t ChosenValueIndex() const { return chosenValueIndex_; }
  const std::array<QString, 6>& KindNames() const { return kindNames_; }
  const QString& ReferenceText() const { return referenceText_; }
  const QString& RangeText() const { return rangeText_; }
  // The caption of a control by its object name: a label's or button's text, a group's
  // title, a page's tab text. Empty when no such control. Other windows copy captions of the
  // wizard this way (the history viewer's pen dialog takes its colour and line-width texts).
  QString CaptionOf(const QString& objectName) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Building (config_view_form_build.cpp).
  void BuildForm();
  QWidget* BuildChartPage();
  QWidget* BuildLcdPage();
  QWidget* BuildLedPage();
  QWidget* BuildBarPage();
  QWidget* BuildGaugePage();
  QWidget* BuildAMeterPage();
  QWidget* BuildWhatPanel();
  QWidget* BuildPreview();
  void ConnectHandlers();
  void ConnectRanges();
  void ConnectKindHandlers();

  // Controls to record (config_view_form_fields.cpp).
  void LoadKindControls();
  void ReadKindControls(DisplayConfig& config) const;
  void ResetChartForNewKind();
  void EnterSettingsStep();
  void FocusStep();
  void KeepChosenChannels();
  // An edit gave back the user's text (not a number, out of range, not a period).
  void NoteRefusedInput();

  // Handlers (config_view_form_handlers.cpp).
  // One end of a range moved (by its arrows or its edit): the new range with both arrows
  // showing it and the preview walk following it, or nothing when refused (the moved end's
  // arrows show the old value again).
  std::optional<wizard::RangePair> MoveRangeEnd(wizard::RangePair old, int32_t position, bool isMin,
                                                wizard::TUpDown* minUpDown, wizard::TUpDown* maxUpDown);
  void ChartRangeChanged(bool isMin, int32_t position);
  void LineWidthChanged(int32_t position);
  void BarRangeChanged(bool isMin, int32_t position);
  void GaugeRangeChanged(bool isMin, int32_t position);
  void AMeterRangeChanged(bool isMin, int32_t position);
  void LowZoneChanged(int32_t position);
  void HighZoneChanged(int32_t position);
  void LcdDigitsRule(bool leaving);
  void LedDigitsRule(bool leaving);
  void LedSegmentRule(bool leaving);
  void PeriodExit();
  void AutoScaleClick();
  void RefClick(int which);
  void GaugeZoneClick();
  void GaugeHighSpinChange();
  void GaugeLowSpinChange();
  void ShowMarkerClick();
  void ShowIncsClick();
  void AngleSpinChange();
  void ShowZonesClick();
  void LogScaleClick();
  void KindColorClick(QPushButton* button);
  void ChartColorClick(bool back);
  void ColorListClick(size_t row);
  void ApplyMeterZones();
  std::optional<uint32_t> ChooseColor(uint32_t initial);
  void ShowMessage(const QString& text);

  // Preview (config_view_form_preview.cpp).
  QCPGraph* NewPreviewSeries(const QString& title, uint32_t color);
  void RemovePreviewSeries(size_t index);
  void CreateReferenceSeries(int which);
  void DeleteReferenceSeries(int which);
  void ApplyPreviewLineWidth();
  void SetPreviewAxisRange();
  void SyncChannelListWidgets();
  void ShowPreviewElement();
  TDateTime Now() const;

  // Devices (config_view_form_devices.cpp).
  void CloseDevice();
  std::optional<DisplayDeviceInfo> OpenDevice(uint16_t port);

  WizardServices services_;
  DisplayConfig config_;
  DisplayKind loadedKind_ = DisplayKind::None;
  int step_ = 0;
  std::string defaultTag_ = kDefaultTag;
  std::array<QString, 6> kindNames_;
  QString referenceText_;
  QString rangeText_;
  double visiblePeriod_ = 2.0 / 1440.0;
  uint32_t refColor1_ = 0;
  uint32_t refColor2_ = 0;
  uint16_t chosenValueIndex_ = 0;
  wizard::OfferedValues offered_;
  std::unique_ptr<DeviceInterface> device_;
  std::optional<DisplayDeviceInfo> deviceInfo_;
  std::vector<uint16_t> portList_;
  uint16_t selectedPort_ = 0;
  wizard::ChartChannelLists lists_;
  wizard::PreviewWalk walk_;
  std::vector<QCPGraph*> previewSeries_;
  QCPGraph* refSeries1_ = nullptr;
  QCPGraph* refSeries2_ = nullptr;
  std::vector<QPushButton*> colorButtons_;
  std::vector<wizard::TColorCircle*> colorCircles_;
  std::vector<uint32_t> colorListLast_;  // the colour each row's dialog opens with
  bool loading_ = false;  // LoadControls is moving controls: their handlers stay quiet
  bool refusedInput_ = false;  // see NoteRefusedInput

  // Buttons and the step areas.
  QPushButton* cancelBitBtn_ = nullptr;
  QPushButton* backBitBtn_ = nullptr;
  QPushButton* nextBitBtn_ = nullptr;
  QPushButton* closeBitBtn_ = nullptr;
  ui::TRadioGroup* howRadioGroup_ = nullptr;
  QLabel* previewLabel_ = nullptr;
  QWidget* whatPanel_ = nullptr;
  QComboBox* whichDeviceComboBox_ = nullptr;
  ui::TRadioGroup* whatRadioGroup_ = nullptr;
  QWidget* chartListsPanel_ = nullptr;
  QListWidget* allListView_ = nullptr;
  QListWidget* selectedListView_ = nullptr;
  QPushButton* selButton_ = nullptr;
  QPushButton* unselButton_ = nullptr;
  QPushButton* clearSelButton_ = nullptr;
  std::array<QWidget*, 6> kindPages_{};

  // Chart page.
  QTabWidget* chartPageControl_ = nullptr;
  QCheckBox* autoScaleYCheckBox_ = nullptr;
  wizard::TUpDown* chartMinValUpDown_ = nullptr;
  wizard::TUpDown* chartMaxValUpDown_ = nullptr;
  QLineEdit* timeDisplayedMaskEdit_ = nullptr;
  wizard::TUpDown* lineThicknessUpDown_ = nullptr;
  QCheckBox* ref1CheckBox_ = nullptr;
  QSpinBox* ref1ValCSpinEdit_ = nullptr;
  QCheckBox* ref2CheckBox_ = nullptr;
  QSpinBox* ref2ValCSpinEdit_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  QPushButton* backColorButton_ = nullptr;
  wizard::TColorCircle* colorShape_ = nullptr;
  wizard::TColorCircle* backColorShape_ = nullptr;
  QScrollArea* colorsScrollBox_ = nullptr;
  QWidget* colorsHolder_ = nullptr;

  // LCD and LED pages.
  QLineEdit* lcdDigNumberEdit_ = nullptr;
  wizard::TUpDown* lcdDigNumberUpDown_ = nullptr;
  QLineEdit* ledDigNumberEdit_ = nullptr;
  wizard::TUpDown* ledDigNumberUpDown_ = nullptr;
  QLineEdit* ledThickEdit_ = nullptr;
  wizard::TUpDown* ledThickUpDown_ = nullptr;

  // Bar page.
  wizard::TUpDown* meterMinUpDown_ = nullptr;
  wizard::TUpDown* meterMaxUpDown_ = nullptr;
  QSpinBox* barThicknessCSpinEdit_ = nullptr;
  QCheckBox* showIncsCheckBox_ = nullptr;
  QLabel* incrementLabel_ = nullptr;
  QSpinBox* incrementCSpinEdit_ = nullptr;
  QCheckBox* showMarkerCheckBox_ = nullptr;

  // Dial gauge page.
  wizard::TUpDown* minGaugeValUpDown_ = nullptr;
  wizard::TUpDown* maxGaugeValUpDown_ = nullptr;
  QSpinBox* gaugeAngleCSpinEdit_ = nullptr;
  QSpinBox* indicationCSpinEdit_ = nullptr;
  QCheckBox* gaugeCenterCheckBox_ = nullptr;
  QCheckBox* gaugeHighCheckBox_ = nullptr;
  QSpinBox* gaugeHighCSpinEdit_ = nullptr;
  QCheckBox* gaugeMediumCheckBox_ = nullptr;
  QCheckBox* gaugeLowCheckBox_ = nullptr;
  QSpinBox* gaugeLowCSpinEdit_ = nullptr;

  // Analog meter page.
  wizard::TUpDown* minAMeterUpDown_ = nullptr;
  wizard::TUpDown* maxAMeterUpDown_ = nullptr;
  QSpinBox* angleCSpinEdit_ = nullptr;
  QSpinBox* ticksCSpinEdit_ = nullptr;
  QCheckBox* logScaleCheckBox_ = nullptr;
  QCheckBox* showZonesCheckBox_ = nullptr;
  wizard::TUpDown* lowIndUpDown_ = nullptr;
  wizard::TUpDown* highIndUpDown_ = nullptr;

  // Colour buttons of kinds 2..6 and their circles, by button.
  std::vector<std::pair<QPushButton*, wizard::TColorCircle*>> kindColorButtons_;
  wizard::TColorCircle* CircleOf(const char* buttonName) const;

  // Preview elements.
  QWidget* previewArea_ = nullptr;
  QCustomPlot* chart_ = nullptr;
  QWidget* lcdPanel_ = nullptr;
  controls::TSegmentIndicator* liqCrystal_ = nullptr;
  controls::TDigitDisplay* ledLcd_ = nullptr;
  controls::TBarMeter* meter_ = nullptr;
  controls::TDialGauge* analogGauge_ = nullptr;
  controls::TAnalogMeter* analogMeter_ = nullptr;
  QTimer* timer_ = nullptr;
};
