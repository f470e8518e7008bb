// TConfigForm: the digital-input page ("Canal 3") of model 0.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "devconfig/digital_input_transfer.h"
#include "devconfig/form_building.h"
#include "ui/arrow_buttons.h"
#include "ui/help_context.h"
#include "ui/radio_group.h"

using devconfig::DigitalMode;
using devconfig::FieldText;
using devconfig::Named;
using devconfig::SetFieldText;
using devconfig::U;

namespace {

constexpr int kTagLength = 10;
constexpr int kScaleLength = 14;

devconfig::WholeNumberField WholeNumberRow(QGridLayout* grid, int row, QWidget* parent, const char* labelName,
                                           const char* caption, const char* editName, const char* arrowsName,
                                           int length, const char* unit = nullptr, const char* unitName = nullptr) {
  devconfig::WholeNumberField f;
  if (labelName != nullptr) {
    f.label = Named(new QLabel(U(caption), parent), labelName);
    grid->addWidget(f.label, row, 0);
  }
  f.edit = Named(new QLineEdit(parent), editName);
  devconfig::LimitTyped(f.edit, length);
  f.edit->setFixedWidth(length > 5 ? 100 : 60);
  f.arrows = Named(new ui::TArrowButtons(f.edit, parent), arrowsName);
  auto* pair = ui::EditWithArrows(f.edit, f.arrows);
  if (unit != nullptr) {
    f.unitLabel = Named(new QLabel(U(unit), parent), unitName);
    pair->addSpacing(4);
    pair->addWidget(f.unitLabel);
  }
  pair->addStretch();
  grid->addLayout(pair, row, 1);
  return f;
}

void SetRowShown(const devconfig::WholeNumberField& f, bool shown) {
  for (QWidget* w : std::initializer_list<QWidget*>{f.label, f.edit, f.arrows, f.unitLabel})
    if (w != nullptr) w->setVisible(shown);
}

QSpinBox* LevelSpin(QWidget* parent, const char* name, int value) {
  auto* spin = ui::SpinBox(parent, name, -32768, 32767, value, 90);
  // The two levels are compared when a value is entered, not at every digit typed.
  spin->setKeyboardTracking(false);
  return spin;
}

}  // namespace

QWidget* TConfigForm::BuildDigitalInputPage() {
  devconfig::DigitalInputWidgets& w = digital_;
  w.page = Named(new QWidget, "DigInpTabSheet");
  ui::SetHelpContext(w.page, ui::kHelpContextDeviceChannel3Page);
  QWidget* page = w.page;
  auto* grid = new QGridLayout(page);
  w.tagLabel = Named(new QLabel(U("Identificação"), page), "DigInputTagLabel");
  w.digInputEdit = Named(new QLineEdit(U("Ponto X"), page), "DigInputEdit");
  devconfig::LimitTyped(w.digInputEdit, kTagLength);
  w.digInputEdit->setFixedWidth(120);
  w.highValLabel = Named(new QLabel(U("Valor do nível '1'"), page), "DigInputHighValLabel");
  w.highValCSpinEdit = LevelSpin(page, "DigInputHighValCSpinEdit", 100);
  w.lowValLabel = Named(new QLabel(U("Valor do nível '0'"), page), "DigInputLowValLabel");
  w.lowValCSpinEdit = LevelSpin(page, "DigInputLowValCSpinEdit", 0);
  grid->addWidget(w.tagLabel, 0, 0);
  grid->addWidget(w.digInputEdit, 0, 1, Qt::AlignLeft);
  grid->addWidget(w.highValLabel, 1, 0);
  grid->addWidget(w.highValCSpinEdit, 1, 1, Qt::AlignLeft);
  grid->addWidget(w.lowValLabel, 2, 0);
  grid->addWidget(w.lowValCSpinEdit, 2, 1, Qt::AlignLeft);

  w.specialFeaturesGroupBox =
      Named(new QGroupBox(U("Características especiais"), page), "DigInputSpecialFeaturesGroupBox");
  auto* group = new QVBoxLayout(w.specialFeaturesGroupBox);
  auto* modes = new QHBoxLayout;
  w.countingCheckBox = Named(new QCheckBox(U("Contagem"), w.specialFeaturesGroupBox), "CountingCheckBox");
  w.timingCheckBox = Named(new QCheckBox(U("Temporização"), w.specialFeaturesGroupBox), "TimingCheckBox");
  w.frequencyCheckBox = Named(new QCheckBox(U("Freqüência"), w.specialFeaturesGroupBox), "FrequencyCheckBox");
  for (QCheckBox* box : {w.countingCheckBox, w.timingCheckBox, w.frequencyCheckBox}) modes->addWidget(box);
  modes->addStretch();
  group->addLayout(modes);

  w.specialFeaturesPanel = Named(new QWidget(w.specialFeaturesGroupBox), "DigInputSpecialFeaturesPanel");
  auto* panel = new QHBoxLayout(w.specialFeaturesPanel);
  panel->setContentsMargins(0, 0, 0, 0);
  auto* fields = new QGridLayout;
  QWidget* p = w.specialFeaturesPanel;
  w.debounceCheckBox = Named(new QCheckBox(U("Debounce"), p), "DebounceCheckBox");
  fields->addWidget(w.debounceCheckBox, 0, 0);
  w.debounce = WholeNumberRow(fields, 0, p, nullptr, nullptr, "DebounceEdit", "DebounceUpDown", 5, "ms", "DebounceUnitLabel");
  w.autoResetCheckBox = Named(new QCheckBox(U("Reset automático"), p), "AutoResetCheckBox");
  fields->addWidget(w.autoResetCheckBox, 1, 0, 1, 2);
  w.resetValue = WholeNumberRow(fields, 2, p, "ResetValueLabel", "Valor de reset", "AutoResetEdit", "AutoResetUpDown", 10);
  w.scaleLabel = Named(new QLabel(U("Fator de escala"), p), "ScaleLabel");
  w.scaleEdit = Named(new QLineEdit(p), "ScaleEdit");
  devconfig::LimitTyped(w.scaleEdit, kScaleLength);
  w.scaleEdit->setFixedWidth(116);
  fields->addWidget(w.scaleLabel, 3, 0);
  fields->addWidget(w.scaleEdit, 3, 1, Qt::AlignLeft);
  w.baseTime = WholeNumberRow(fields, 4, p, "BaseTimeLabel", "Base de tempo", "BaseTimeEdit", "BaseTimeUpDown", 5, "s",
                              "BaseTimeUnitLabel");
  w.decNumber = WholeNumberRow(fields, 5, p, "DecNumberLabel", "Casas decimais", "DecNumberEdit", "DecNumberUpDown", 1);
  panel->addLayout(fields);
  w.edgeRadioGroup = Named(new ui::TRadioGroup(platform::FromCp1252(texts_.edgeNames[3]), 1, p), "EdgeRadioGroup");
  panel->addWidget(w.edgeRadioGroup, 0, Qt::AlignTop);
  panel->addStretch();
  group->addWidget(w.specialFeaturesPanel);
  grid->addWidget(w.specialFeaturesGroupBox, 3, 0, 1, 3);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(2, 1);

  auto levels = [this](int) {
    if (filling_ == 0) DigInputValCSpinEditChange();
  };
  connect(w.highValCSpinEdit, &QSpinBox::valueChanged, this, levels);
  connect(w.lowValCSpinEdit, &QSpinBox::valueChanged, this, levels);
  connect(w.countingCheckBox, &QCheckBox::clicked, this, &TConfigForm::CountingCheckBoxClick);
  connect(w.timingCheckBox, &QCheckBox::clicked, this, &TConfigForm::TimingCheckBoxClick);
  connect(w.frequencyCheckBox, &QCheckBox::clicked, this, &TConfigForm::FrequencyCheckBoxClick);
  const std::pair<devconfig::WholeNumberField*, std::function<devconfig::RawRange()>> rows[] = {
      {&w.debounce, [] { return devconfig::kDebounceRange; }},
      {&w.resetValue, [this] { return ResetValueRange(); }},
      {&w.baseTime, [] { return devconfig::kBaseTimeRange; }},
      {&w.decNumber, [] { return devconfig::kCounterDecimalsRange; }},
  };
  for (const auto& [row, range] : rows) {
    QLineEdit* edit = row->edit;
    WatchField(edit, [this, edit, range] { return CheckWholeNumber(edit, range()); });
    connect(row->arrows, &ui::TArrowButtons::Arrow, this,
            [this, edit, range](int direction) { StepWholeNumber(edit, direction, range()); });
  }
  return page;
}

DigitalMode TConfigForm::CheckedMode() const {
  if (digital_.countingCheckBox->isChecked()) return DigitalMode::Counting;
  if (digital_.timingCheckBox->isChecked()) return DigitalMode::Timing;
  if (digital_.frequencyCheckBox->isChecked()) return DigitalMode::Frequency;
  return DigitalMode::None;
}

devconfig::RawRange TConfigForm::ResetValueRange() const { return devconfig::ResetValueRange(CheckedMode()); }

void TConfigForm::ShowMode(DigitalMode mode) {
  devconfig::DigitalInputWidgets& w = digital_;
  ++filling_;
  w.countingCheckBox->setChecked(mode == DigitalMode::Counting);
  w.timingCheckBox->setChecked(mode == DigitalMode::Timing);
  w.frequencyCheckBox->setChecked(mode == DigitalMode::Frequency);
  --filling_;
  const devconfig::DigitalInputControls c = devconfig::DigitalInputControlsFor(mode);
  w.specialFeaturesPanel->setVisible(c.panel);
  w.autoResetCheckBox->setVisible(c.autoReset);
  SetRowShown(w.resetValue, c.resetValue);
  SetRowShown(w.baseTime, c.baseTime);
  // The choices of the mode, the first one chosen (edges with no mode too, so that the edge
  // bits of a plain input read back as they were).
  const size_t count = c.levelChoices ? 2 : 3;  // the name after the choices is the group's caption
  auto name = [&](size_t i) {
    return platform::FromCp1252(c.levelChoices ? texts_.levelNames[i] : texts_.edgeNames[i]);
  };
  QStringList items;
  for (size_t i = 0; i < count; ++i) items << name(i);
  w.edgeRadioGroup->SetItems(items);
  w.edgeRadioGroup->setTitle(name(count));
  w.edgeRadioGroup->SetItemIndex(0);
}

void TConfigForm::ModeClicked(DigitalMode mode) {
  QCheckBox* clicked = mode == DigitalMode::Counting ? digital_.countingCheckBox
                       : mode == DigitalMode::Timing ? digital_.timingCheckBox
                                                     : digital_.frequencyCheckBox;
  ShowMode(clicked->isChecked() ? mode : DigitalMode::None);
}

void TConfigForm::DigInputValCSpinEditChange() {
  if (digital_.highValCSpinEdit->value() == digital_.lowValCSpinEdit->value()) Show(devconfig::Msg::LevelsEqual);
}

devconfig::DigitalInputPageState TConfigForm::ReadDigitalInputPage() const {
  const devconfig::DigitalInputWidgets& w = digital_;
  devconfig::DigitalInputPageState page;
  page.tag = FieldText(w.digInputEdit);
  page.lowValue = w.lowValCSpinEdit->value();
  page.highValue = w.highValCSpinEdit->value();
  page.featuresShown = !w.specialFeaturesGroupBox->isHidden();
  page.mode = CheckedMode();
  page.debounceOn = w.debounceCheckBox->isChecked();
  page.debounce = FieldText(w.debounce.edit);
  page.scale = FieldText(w.scaleEdit);
  page.scaleTyped = w.scaleEdit->isModified();
  page.autoReset = w.autoResetCheckBox->isChecked();
  page.resetValue = FieldText(w.resetValue.edit);
  page.baseTime = FieldText(w.baseTime.edit);
  page.decimals = FieldText(w.decNumber.edit);
  page.edgeIndex = w.edgeRadioGroup->ItemIndex();
  return page;
}

void TConfigForm::ShowDigitalInputPage(const devconfig::DigitalInputPageState& page) {
  devconfig::DigitalInputWidgets& w = digital_;
  ++filling_;
  SetFieldText(w.digInputEdit, page.tag);
  w.highValCSpinEdit->setValue(page.highValue);
  w.lowValCSpinEdit->setValue(page.lowValue);
  w.specialFeaturesGroupBox->setVisible(page.featuresShown);
  ShowMode(page.mode);
  w.edgeRadioGroup->SetItemIndex(page.edgeIndex);
  w.debounceCheckBox->setChecked(page.debounceOn);
  w.autoResetCheckBox->setChecked(page.autoReset);
  SetFieldText(w.debounce.edit, page.debounce);
  SetFieldText(w.scaleEdit, page.scale);
  SetFieldText(w.resetValue.edit, page.resetValue);
  SetFieldText(w.baseTime.edit, page.baseTime);
  SetFieldText(w.decNumber.edit, page.decimals);
  --filling_;
}

bool TConfigForm::CheckWholeNumber(QLineEdit* edit, devconfig::RawRange range) {
  return devconfig::CheckWholeNumberField(FieldText(edit), range).has_value();
}

bool TConfigForm::CheckScale() { return devconfig::ParseFloatText(FieldText(digital_.scaleEdit)).has_value(); }

void TConfigForm::StepWholeNumber(QLineEdit* edit, int direction, devconfig::RawRange range) {
  const std::optional<std::string> next = devconfig::StepWholeNumberField(FieldText(edit), direction, range);
  if (next) devconfig::RewriteField(edit, *next);
}
