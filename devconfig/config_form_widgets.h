#pragma once
// The controls of the device configuration dialog's pages, grouped by page so that the two
// channel pages share one set of code. The dialog owns them (through Qt's parent chain); these
// are plain pointers into its widget tree. Object names are the controls' names ("Ch1TagEdit").
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class QWidget;

namespace ui {
class TArrowButtons;
class TRadioGroup;
}  // namespace ui

namespace devconfig {

struct GeneralWidgets {
  QWidget* page = nullptr;
  QLabel* deviceTagLabel = nullptr;
  QLineEdit* deviceTagEdit = nullptr;
  QCheckBox* compFreqCheckBox = nullptr;
  ui::TRadioGroup* freqSelRadioGroup = nullptr;
  QCheckBox* autoSendEnableCheckBox = nullptr;
  ui::TRadioGroup* minResRadioGroup = nullptr;
  QLabel* minIntervalLabel = nullptr;
  QLabel* intValLabel = nullptr;
};

// A fixed-point field with its caption and arrows.
struct FixedPointField {
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
  ui::TArrowButtons* arrows = nullptr;
};

struct ChannelWidgets {
  int number = 1;
  QWidget* page = nullptr;
  QLabel* tagLabel = nullptr;
  QLineEdit* tagEdit = nullptr;
  QCheckBox* enableCheckBox = nullptr;
  QLabel* inputTypeLabel = nullptr;  // "Tipo de Entrada"
  QComboBox* typeComboBox = nullptr;
  QLabel* typeLabel = nullptr;       // the probe's sensor, in place of the list
  QGroupBox* viewGroupBox = nullptr;  // "Indicação"
  QRadioButton* celsiusRadioButton = nullptr;
  QRadioButton* farenheitRadioButton = nullptr;
  FixedPointField limSup;
  FixedPointField limInf;
  FixedPointField overflow;
  FixedPointField underflow;
  QLabel* unitLabel = nullptr;
  QLineEdit* unitEdit = nullptr;
  QSpinBox* overflowCSpinEdit = nullptr;
  QSpinBox* underflowCSpinEdit = nullptr;
  QCheckBox* dewPointCheckBox = nullptr;  // channel 1 only
  QLabel* filterLabel = nullptr;
  QSpinBox* filterCSpinEdit = nullptr;
  FixedPointField offset;

  // In the order of devconfig::ChannelField.
  std::array<FixedPointField*, 5> Fields() { return {&limSup, &limInf, &overflow, &underflow, &offset}; }
};

struct AmbientWidgets {
  QWidget* page = nullptr;
  QLabel* tagLabel = nullptr;
  QLineEdit* ch3Edit = nullptr;
  QCheckBox* ch3EnableCheckBox = nullptr;
  ui::TRadioGroup* cjDegreesRadioGroup = nullptr;
  FixedPointField offset;  // TemperOffsetEdit
};

// A whole-number edit of the digital-input page with its caption and arrows.
struct WholeNumberField {
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
  ui::TArrowButtons* arrows = nullptr;
  QLabel* unitLabel = nullptr;
};

struct DigitalInputWidgets {
  QWidget* page = nullptr;
  QLabel* tagLabel = nullptr;
  QLineEdit* digInputEdit = nullptr;
  QLabel* highValLabel = nullptr;
  QSpinBox* highValCSpinEdit = nullptr;
  QLabel* lowValLabel = nullptr;
  QSpinBox* lowValCSpinEdit = nullptr;
  QGroupBox* specialFeaturesGroupBox = nullptr;
  QCheckBox* countingCheckBox = nullptr;
  QCheckBox* timingCheckBox = nullptr;
  QCheckBox* frequencyCheckBox = nullptr;
  QWidget* specialFeaturesPanel = nullptr;
  QCheckBox* debounceCheckBox = nullptr;
  WholeNumberField debounce;
  QCheckBox* autoResetCheckBox = nullptr;
  WholeNumberField resetValue;  // AutoResetEdit
  QLabel* scaleLabel = nullptr;
  QLineEdit* scaleEdit = nullptr;
  WholeNumberField baseTime;
  WholeNumberField decNumber;
  ui::TRadioGroup* edgeRadioGroup = nullptr;
};

struct DiagnosticsWidgets {
  QWidget* page = nullptr;
  QLabel* serialNumberLabel = nullptr;
  QLineEdit* serialNumberEdit = nullptr;
  QLabel* fwVersionLabel = nullptr;
  QLineEdit* firmwareVersionEdit = nullptr;
  QLabel* valueLabel = nullptr;
  QLabel* ch1Label = nullptr;
  QLabel* ch1ValLabel = nullptr;
  QLabel* ch2Label = nullptr;
  QLabel* ch2ValLabel = nullptr;
  QLabel* ch3Label = nullptr;
  QLabel* ch3ValLabel = nullptr;
  QLabel* digInputLabel = nullptr;
  QLabel* digInpValLabel = nullptr;
  QLabel* countingLabel = nullptr;
  QLabel* countingValLabel = nullptr;
};

// One sub-page of the custom calibration page ("Umidade" or "Temperatura").
struct CustomCalibrationWidgets {
  QWidget* page = nullptr;
  QTableWidget* grid = nullptr;  // CustomCalStringGrid, RHCustomCalStringGrid
  QLabel* realValueLabel = nullptr;
  QLineEdit* realValueEdit = nullptr;  // the standard's value
  QLabel* measuredValueLabel = nullptr;
  QLineEdit* measuredValueEdit = nullptr;  // the instrument's indication
  QPushButton* addButton = nullptr;
  QPushButton* delRowButton = nullptr;
  QPushButton* delAllButton = nullptr;
  QPushButton* applyButton = nullptr;
  QPushButton* reportButton = nullptr;
  QLabel* lastCalDateLabel = nullptr;
  QLineEdit* lastCalDateEdit = nullptr;
};

// A constant of the factory calibration page: its edit, arrows and buttons.
struct FactoryConstantWidgets {
  QLineEdit* edit = nullptr;
  ui::TArrowButtons* upDown = nullptr;
  QPushButton* readButton = nullptr;
  QPushButton* writeButton = nullptr;
};

struct CalibrationWidgets {
  QWidget* customCalibPage = nullptr;
  QTabWidget* customCalibPageControl = nullptr;
  CustomCalibrationWidgets humidity;     // "Umidade", sub-page 0
  CustomCalibrationWidgets temperature;  // "Temperatura", sub-page 1

  QWidget* calibPage = nullptr;  // "Calibração" (factory calibration of model 0)
  QRadioButton* ch1RadioButton = nullptr;
  QRadioButton* ch2RadioButton = nullptr;
  QComboBox* inpTypeComboBox = nullptr;
  QGroupBox* offsetGroupBox = nullptr;
  FactoryConstantWidgets offset;
  QGroupBox* gainGroupBox = nullptr;
  FactoryConstantWidgets gain;
  QLabel* ambientLabel = nullptr;
  FactoryConstantWidgets ambient;
  QLabel* msgLabel = nullptr;
  QLabel* warningMemo = nullptr;
};

}  // namespace devconfig
