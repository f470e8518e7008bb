#pragma once
// TConfigForm: the modal dialog in which the user configures one instrument at a time. On
// show it lists the maker's instruments found on the serial ports and opens the first that
// answers; selecting one reads its configuration block and fills the pages; "Aplica" takes the
// pages back and writes the block. Nothing is sent to an instrument before "Aplica" (or the
// calibration pages' own write buttons).
//
// The dialog edits its own copy of the block (EditedRegs), while its DeviceInterface keeps
// the block as the instrument holds it, which scales the live values of the diagnostic page.
// Each selection gets a DeviceInterface of its own, so nothing of one instrument can reach
// another. One instance serves the whole program; it is made at start-up with the main window.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "devconfig/config_form_widgets.h"
#include "devconfig/config_texts.h"
#include "devconfig/custom_calibration.h"
#include "devconfig/device_context.h"
#include "devconfig/factory_calibration.h"
#include "devconfig/field_rules.h"
#include "devconfig/page_state.h"
#include "instrument/device_regs.h"
#include "ui/user_interaction.h"

class DeviceInterface;
class QTimer;
class QTreeWidgetItem;
class TCustomCalibReportForm;

namespace platform {
class WallClock;
}

namespace ui {
class WaitCursor;
}

class TConfigForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDiagIntervalMs = 50;

  // The pages of ConfigPageControl, in order.
  enum Page {
    kGeneralPage = 0,
    kCh1Page,
    kCh2Page,
    kDigInpPage,
    kCh3Page,  // ambient temperature
    kDiagPage,
    kCustomCalibPage,
    kCalibPage,
    kPageCount
  };

  // What FormCreate does: the tables, the language file's texts, the controls' start values.
  explicit TConfigForm(ui::UserInteraction& ui, QWidget* parent = nullptr);
  ~TConfigForm() override;

  // FormShow, the modal run, FormClose.
  void Execute();

  // The captions of "Aplica" and "Fecha" as the language file left them, for dialogs that
  // copy them; readable as soon as the dialog exists.
  QString ApplyButtonCaption() const;
  QString CloseButtonCaption() const;

  // --- Shell --------------------------------------------------------------------------------
  void FormShow();
  void FormClose();
  // Fills the list; the dialog's device is left open on the first item that opens. Returns
  // that item's index (the item count when none opened, -1 for an empty list).
  int SearchDevices();
  void ListViewSelectItem(QTreeWidgetItem* item);
  void LoadSelectedDevice();
  void ApplyBitBtnClick();
  void ConfigPageControlChange(int index);
  void CompFreqCheckBoxClick();
  void MinResRadioGroupClick();
  void ShowScanInterval();
  // Every page from the edited block, for the instrument selected (also what loading a
  // configuration file does to the pages).
  void FillPages();

  // --- Channel pages ------------------------------------------------------------------------
  void Ch1TypeComboBoxChange() { UpdateChannelControls(1); }
  void Ch2TypeComboBoxChange() { UpdateChannelControls(2); }
  void Ch1EnableCheckBoxClick() { ChannelEnableClicked(1); }
  void Ch2EnableCheckBoxClick() { ChannelEnableClicked(2); }
  void Ch3EnableCheckBoxClick();
  void ApplyAmbientEnableRule();
  void SetCh1Decimals(uint16_t decimals) { SetChannelDecimals(1, decimals); }
  void SetCh2Decimals(uint16_t decimals) { SetChannelDecimals(2, decimals); }

  // --- Digital input ------------------------------------------------------------------------
  void CountingCheckBoxClick() { ModeClicked(devconfig::DigitalMode::Counting); }
  void TimingCheckBoxClick() { ModeClicked(devconfig::DigitalMode::Timing); }
  void FrequencyCheckBoxClick() { ModeClicked(devconfig::DigitalMode::Frequency); }
  void DigInputValCSpinEditChange();

  // --- Diagnostics --------------------------------------------------------------------------
  void PrepareDiagPage();
  void DiagTimerTimer();

  // --- Custom calibration of the probe ------------------------------------------------------
  void AddButtonClick() { AddPoint(false); }
  void AddButtonRHClick() { AddPoint(true); }
  void DelRowButtonClick() { DeletePoint(false); }
  void DelRowButtonRHClick() { DeletePoint(true); }
  void DelAllButtonClick() { DeleteAllPoints(false); }
  void DelAllButtonRHClick() { DeleteAllPoints(true); }
  // Both "Aplicar": writes both grids and the date after a question.
  void ApplyCustomCalibBitBtnClick();
  // Both "Relatório...": the certificate of the selected probe.
  void ReportBitBtnClick();
  void DewPointCheckBoxClick();
  const devconfig::CalibrationGrid& Grid(bool humidity) const { return humidity ? humidityGrid_ : temperatureGrid_; }
  // The certificate's dialog, which is made after this one.
  void SetReportForm(TCustomCalibReportForm* form) { report_ = form; }
  // The clock that dates a custom calibration: the system's unless a test sets another.
  void SetWallClock(const platform::WallClock& clock) { clock_ = &clock; }
  // What the certificate's dialog copies: the sub-pages' captions and the grids' headers.
  QString CalibrationSubPageCaption(bool humidity) const;
  QStringList CalibrationGridHeaders() const;

  // --- Factory calibration of model 0 -------------------------------------------------------
  void ChannelRadioButtonClick();
  void InpTypeComboBoxChange();
  void OffsetReadButtonClick() { ReadFactoryConstant(devconfig::FactoryConstant::Offset); }
  void GainReadButtonClick() { ReadFactoryConstant(devconfig::FactoryConstant::Gain); }
  void AmbientReadButtonClick() { ReadFactoryConstant(devconfig::FactoryConstant::Ambient); }
  void OffsetWriteButtonClick() { WriteFactoryConstant(devconfig::FactoryConstant::Offset); }
  void GainWriteButtonClick() { WriteFactoryConstant(devconfig::FactoryConstant::Gain); }
  void AmbientWriteButtonClick() { WriteFactoryConstant(devconfig::FactoryConstant::Ambient); }
  // The limits a constant's arrows keep.
  devconfig::FactoryRange FactoryArrowLimits(devconfig::FactoryConstant constant) const {
    return factoryLimits_[static_cast<size_t>(constant)];
  }

  // --- Configuration files ------------------------------------------------------------------
  // Both act only once a configuration has been read.
  void SaveCfgBitBtnClick();
  void LoadCfgBitBtnClick();
  // The edited block to and from a file; loading refills nothing by itself.
  bool SaveConfigFile(const QString& fileName, std::string* error = nullptr);
  bool LoadConfigFile(const QString& fileName, std::string* error = nullptr);

  // The exit check of a field as leaving it runs it; true when the text passed.
  bool LeaveField(QLineEdit* edit);

  // --- State --------------------------------------------------------------------------------
  DeviceInterface* Device() const { return device_.get(); }
  const DeviceRegs& EditedRegs() const { return regs_; }
  DeviceRegs& EditedRegs() { return regs_; }
  const devconfig::DeviceContext& Context() const { return context_; }
  bool Loading() const { return loading_; }
  const devconfig::ConfigTexts& Texts() const { return texts_; }
  QTimer* DiagTimer() const { return diagTimer_; }
  // The configuration files' dialogs: "cfg" with the filter of message 19.
  const ui::FileDialogRequest& ConfigFileDialog() const { return cfgDialog_; }
  QString Message(devconfig::Msg m) const;
  char DecimalMark() const { return mark_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Building (config_form_build.cpp and the pages' files).
  void BuildForm();
  QWidget* BuildGeneralPage();
  QWidget* BuildChannelPage(int number);
  QWidget* BuildAmbientPage();
  QWidget* BuildDigitalInputPage();
  QWidget* BuildDiagnosticsPage();
  void BuildCalibrationPages();
  void ConnectHandlers();
  void Translate();
  void AddCalibrationLanguageTargets(std::vector<ui::LanguageTextTarget>& targets);
  void WatchField(QLineEdit* edit, std::function<bool()> check);

  // Shell.
  void ShowText(const QString& text);
  void Show(devconfig::Msg m) { ShowText(Message(m)); }
  void ShowHeldMessages();
  // The widest the page control needs for every tab's caption side by side.
  void FitPagesToTabs();
  void ShowPages(const devconfig::PageVisibility& pages);  // the tabs an instrument brings
  void StartDiagTimer();
  void StopDiagTimer();
  bool DiagActive() const;
  void ShowPage(Page page, bool visible);
  void ResetControls();
  void FillResolutionList();
  void UpdateFreqSelEnabled();
  bool ValidateVisibleFields();
  void RefuseField(QLineEdit* edit);
  bool PageOfWidgetShown(const QWidget* widget) const;

  // General page.
  devconfig::GeneralPageState ReadGeneralPage() const;
  void ShowGeneralPage(const devconfig::GeneralPageState& page);

  // Channel pages (channel_pages.cpp).
  devconfig::ChannelWidgets& ChannelPage(int number) { return number == 1 ? ch1_ : ch2_; }
  devconfig::ChannelPageState ReadChannelPage(int number);
  void ShowChannelPage(int number, const devconfig::ChannelPageState& page);
  void FillChannelControls(int number);
  bool StoreChannelControls(int number, DeviceRegs& regs);
  void UpdateChannelControls(int number);
  void ApplyChannelEnable(int number);
  void ChannelEnableClicked(int number);
  void ReformatChannelOffset(int number);
  void SetChannelDecimals(int number, uint16_t decimals);
  bool CheckChannelField(int number, QLineEdit* edit, devconfig::RawRange range);
  bool CheckAmbientOffset();
  void StepFixedPoint(QLineEdit* edit, int direction, devconfig::RawRange range);
  devconfig::AmbientPageState ReadAmbientPage() const;
  void ShowAmbientPage(const devconfig::AmbientPageState& page);

  // Digital-input page (digital_input_page.cpp).
  devconfig::DigitalInputPageState ReadDigitalInputPage() const;
  void ShowDigitalInputPage(const devconfig::DigitalInputPageState& page);
  void ShowMode(devconfig::DigitalMode mode);
  void ModeClicked(devconfig::DigitalMode mode);
  devconfig::DigitalMode CheckedMode() const;
  bool CheckWholeNumber(QLineEdit* edit, devconfig::RawRange range);
  bool CheckScale();
  void StepWholeNumber(QLineEdit* edit, int direction, devconfig::RawRange range);
  devconfig::RawRange ResetValueRange() const;

  // Diagnostics page (diagnostics_page.cpp).
  void ShowDiagnosticDigitalLines(bool shown);

  // Calibration pages (config_form_calibration.cpp, custom_calibration_page.cpp,
  // factory_calibration_page.cpp).
  void FinishCalibrationPages();
  QWidget* BuildCustomCalibrationSubPage(bool humidity);
  void BuildFactoryCalibrationPage();
  devconfig::CustomCalibrationWidgets& SubPage(bool humidity) {
    return humidity ? calibration_.humidity : calibration_.temperature;
  }
  devconfig::CalibrationGrid& GridOf(bool humidity) { return humidity ? humidityGrid_ : temperatureGrid_; }
  void FillCustomCalibPage();
  void ShowGrid(bool humidity);
  void ShowLastCalibrationDate();
  void AddPoint(bool humidity);
  void DeletePoint(bool humidity);
  void DeleteAllPoints(bool humidity);
  bool ConfirmPoint(bool humidity, size_t row);
  void PrepareFactoryCalibrationPage();
  void FillFactoryTypeList();
  int FactoryChannel() const;
  int FactoryInputType() const;
  devconfig::FactoryConstantWidgets& FactoryWidgets(devconfig::FactoryConstant constant);
  void SetFactoryLimits();
  void ReadFactoryConstant(devconfig::FactoryConstant constant);
  void WriteFactoryConstant(devconfig::FactoryConstant constant);
  void StepFactoryConstant(devconfig::FactoryConstant constant, int direction);
  void ShowFactoryResult(bool ok);

  // "Aplica" and "Salvar configuração": the checked pages into a copy of the edited block;
  // false (and the user told why) when a field or a channel's limits are refused.
  bool TakePages(DeviceRegs& edited);
  // "Aplica" and the file buttons work once a configuration has been read.
  void EnableBlockButtons(bool enabled);

  ui::UserInteraction& ui_;
  devconfig::ConfigTexts texts_;
  std::unique_ptr<DeviceInterface> device_;
  DeviceRegs regs_;                    // the dialog's copy, edited by the pages
  bool blockRead_ = false;             // regs_ came from the selected instrument
  devconfig::DeviceContext context_;   // of the block in regs_
  std::array<int, 3> readTypeCodes_{};  // per channel: the type code read, kept when the list lacks it
  bool loading_ = true;                // the pages are being filled from a fresh block
  int filling_ = 0;                    // controls are being set by code: their signals are not the user's
  bool checking_ = false;              // an exit check is showing its message
  // While the search runs before the dialog is up, its messages wait for the dialog, so that
  // they come over it rather than alone at the corner of the screen.
  bool holdMessages_ = false;
  QStringList heldMessages_;
  char mark_ = '.';                    // the user's decimal mark
  ui::WaitCursor* wait_ = nullptr;     // the hourglass while one is up
  ui::FileDialogRequest cfgDialog_;
  std::map<QObject*, std::function<bool()>> fieldChecks_;
  std::vector<QLineEdit*> checkedFields_;  // in page order, as "Aplica" checks them

  QTreeWidget* listView_ = nullptr;
  QTabWidget* configPageControl_ = nullptr;
  QPushButton* applyBitBtn_ = nullptr;
  QPushButton* closeBitBtn_ = nullptr;
  QPushButton* saveCfgBitBtn_ = nullptr;
  QPushButton* loadCfgBitBtn_ = nullptr;
  QTimer* diagTimer_ = nullptr;
  devconfig::GeneralWidgets general_;
  devconfig::ChannelWidgets ch1_;
  devconfig::ChannelWidgets ch2_;
  devconfig::AmbientWidgets ambient_;
  devconfig::DigitalInputWidgets digital_;
  devconfig::DiagnosticsWidgets diag_;
  devconfig::CalibrationWidgets calibration_;
  devconfig::CalibrationGrid temperatureGrid_;
  devconfig::CalibrationGrid humidityGrid_;
  std::array<devconfig::FactoryRange, 3> factoryLimits_{};  // by FactoryConstant
  TCustomCalibReportForm* report_ = nullptr;
  const platform::WallClock* clock_ = nullptr;
};
