// TConfigForm: the pages of channel 1, channel 2 and the ambient (internal) channel.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

#include "devconfig/config_form.h"
#include "devconfig/form_building.h"
#include "devconfig/page_transfer.h"
#include "instrument/device_interface.h"
#include "ui/arrow_buttons.h"
#include "ui/help_context.h"
#include "ui/radio_group.h"

using devconfig::FieldText;
using devconfig::Named;
using devconfig::NameOf;
using devconfig::RewriteField;
using devconfig::SetFieldText;
using devconfig::U;

namespace {

constexpr int kTagLength = 10;
constexpr int kFieldLength = 7;
constexpr int kFilterMax = 20;

// A caption, an edit and its arrows on one row of a grid.
devconfig::FixedPointField FieldRow(QGridLayout* grid, int row, int column, QWidget* parent, const char* prefix,
                                    const char* name, const char* caption) {
  devconfig::FixedPointField f;
  f.label = Named(new QLabel(U(caption), parent), NameOf(prefix, name) + QStringLiteral("Label"));
  f.edit = Named(new QLineEdit(parent), NameOf(prefix, name) + QStringLiteral("Edit"));
  devconfig::LimitTyped(f.edit, kFieldLength);
  f.edit->setFixedWidth(80);
  f.arrows = Named(new ui::TArrowButtons(f.edit, parent), NameOf(prefix, name) + QStringLiteral("UpDown"));
  auto* pair = ui::EditWithArrows(f.edit, f.arrows);
  pair->addStretch();
  grid->addWidget(f.label, row, column);
  grid->addLayout(pair, row, column + 1);
  return f;
}

void SetFieldShown(const devconfig::FixedPointField& f, bool shown) {
  f.label->setVisible(shown);
  f.edit->setVisible(shown);
  f.arrows->setVisible(shown);
}

void SetFieldEnabled(const devconfig::FixedPointField& f, bool enabled) {
  f.label->setEnabled(enabled);
  f.edit->setEnabled(enabled);
  f.arrows->setEnabled(enabled);
}

}  // namespace

QWidget* TConfigForm::BuildChannelPage(int number) {
  devconfig::ChannelWidgets& w = ChannelPage(number);
  const char* prefix = number == 1 ? "Ch1" : "Ch2";
  w.number = number;
  w.page = Named(new QWidget, NameOf(prefix, "TabSheet"));
  ui::SetHelpContext(w.page, ui::kHelpContextDeviceChannels1And2Page);
  QWidget* page = w.page;
  auto* grid = new QGridLayout(page);

  w.tagLabel = Named(new QLabel(U("Identificação"), page), NameOf(prefix, "TagLabel"));
  w.tagEdit = Named(new QLineEdit(page), NameOf(prefix, "TagEdit"));
  devconfig::LimitTyped(w.tagEdit, kTagLength);
  w.tagEdit->setFixedWidth(120);
  w.enableCheckBox = Named(new QCheckBox(U("Habilitado"), page), NameOf(prefix, "EnableCheckBox"));
  grid->addWidget(w.tagLabel, 0, 0);
  grid->addWidget(w.tagEdit, 0, 1, Qt::AlignLeft);
  grid->addWidget(w.enableCheckBox, 0, 2);

  w.inputTypeLabel = Named(new QLabel(U("Tipo de Entrada"), page), NameOf(prefix, "InputTypeLabel"));
  w.typeComboBox = Named(new QComboBox(page), NameOf(prefix, "TypeComboBox"));
  w.typeLabel = Named(new QLabel(U("Temperatura"), page), NameOf(prefix, "TypeLabel"));
  w.typeLabel->hide();
  auto* type = new QHBoxLayout;
  type->addWidget(w.typeComboBox);
  type->addWidget(w.typeLabel);
  type->addStretch();
  grid->addWidget(w.inputTypeLabel, 1, 0);
  grid->addLayout(type, 1, 1, 1, 2);

  w.viewGroupBox = Named(new QGroupBox(U("Indicação"), page), NameOf(prefix, "ViewGroupBox"));
  auto* view = new QGridLayout(w.viewGroupBox);
  w.celsiusRadioButton = Named(new QRadioButton(U("°C"), w.viewGroupBox), NameOf(prefix, "CelsiusRadioButton"));
  w.farenheitRadioButton = Named(new QRadioButton(U("°F"), w.viewGroupBox), NameOf(prefix, "FarenheitRadioButton"));
  auto* degrees = new QHBoxLayout;
  degrees->addWidget(w.celsiusRadioButton);
  degrees->addWidget(w.farenheitRadioButton);
  degrees->addStretch();
  view->addLayout(degrees, 0, 0, 1, 4);
  w.limSup = FieldRow(view, 1, 0, w.viewGroupBox, prefix, "LimSup", "Limite Superior");
  w.limInf = FieldRow(view, 2, 0, w.viewGroupBox, prefix, "LimInf", "Limite Inferior");
  w.overflow = FieldRow(view, 1, 2, w.viewGroupBox, prefix, "Overflow", "Overflow");
  w.underflow = FieldRow(view, 2, 2, w.viewGroupBox, prefix, "Underflow", "Underflow");
  w.overflowCSpinEdit = ui::SpinBox(w.viewGroupBox, NameOf(prefix, "OverflowCSpinEdit"), -32768, 32767, 30000, 80);
  w.underflowCSpinEdit = ui::SpinBox(w.viewGroupBox, NameOf(prefix, "UnderflowCSpinEdit"), -32768, 32767, -30000, 80);
  view->addWidget(w.overflowCSpinEdit, 1, 4);
  view->addWidget(w.underflowCSpinEdit, 2, 4);
  w.unitLabel = Named(new QLabel(U("Unidade"), w.viewGroupBox), NameOf(prefix, "UnitLabel"));
  w.unitEdit = Named(new QLineEdit(w.viewGroupBox), NameOf(prefix, "UnitEdit"));
  devconfig::LimitTyped(w.unitEdit, kTagLength);
  w.unitEdit->setFixedWidth(80);
  view->addWidget(w.unitLabel, 3, 0);
  view->addWidget(w.unitEdit, 3, 1);
  if (number == 1) {
    w.dewPointCheckBox = Named(new QCheckBox(U("Ponto de orvalho"), w.viewGroupBox), "DewPointCheckBox");
    w.dewPointCheckBox->hide();
    view->addWidget(w.dewPointCheckBox, 3, 2, 1, 3);
  }
  view->setColumnStretch(5, 1);
  grid->addWidget(w.viewGroupBox, 2, 0, 1, 3);

  w.filterLabel = Named(new QLabel(U("Filtro"), page), NameOf(prefix, "FilterLabel"));
  w.filterCSpinEdit = ui::SpinBox(page, NameOf(prefix, "FilterCSpinEdit"), 0, kFilterMax, 0, 80);
  auto* bottom = new QGridLayout;
  bottom->addWidget(w.filterLabel, 0, 0);
  bottom->addWidget(w.filterCSpinEdit, 0, 1);
  w.offset = FieldRow(bottom, 0, 2, page, prefix, "Offset", "Offset");
  bottom->setColumnStretch(4, 1);
  grid->addLayout(bottom, 3, 0, 1, 3);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(2, 1);

  connect(w.typeComboBox, &QComboBox::currentIndexChanged, this, [this, number](int) {
    if (filling_ == 0) UpdateChannelControls(number);
  });
  connect(w.enableCheckBox, &QCheckBox::clicked, this, [this, number] { ChannelEnableClicked(number); });
  const std::array<devconfig::RawRange, 5> ranges{devconfig::kLimitRange, devconfig::kLimitRange,
                                                   devconfig::kLimitRange, devconfig::kLimitRange,
                                                   devconfig::kChannelOffsetRange};
  const std::array<devconfig::FixedPointField*, 5> fields = w.Fields();
  for (size_t i = 0; i < fields.size(); ++i) {
    QLineEdit* edit = fields[i]->edit;
    const devconfig::RawRange range = ranges[i];
    WatchField(edit, [this, number, edit, range] { return CheckChannelField(number, edit, range); });
    connect(fields[i]->arrows, &ui::TArrowButtons::Arrow, this,
            [this, edit, range](int direction) { StepFixedPoint(edit, direction, range); });
  }
  return page;
}

QWidget* TConfigForm::BuildAmbientPage() {
  auto* page = Named(new QWidget, "Ch3TabSheet");
  ui::SetHelpContext(page, ui::kHelpContextDeviceAmbientTemperaturePage);
  ambient_.page = page;
  auto* grid = new QGridLayout(page);
  ambient_.tagLabel = Named(new QLabel(U("Identificação"), page), "Ch3TagLabel");
  ambient_.ch3Edit = Named(new QLineEdit(page), "Ch3Edit");
  devconfig::LimitTyped(ambient_.ch3Edit, kTagLength);
  ambient_.ch3Edit->setFixedWidth(120);
  ambient_.ch3EnableCheckBox = Named(new QCheckBox(U("Habilitado"), page), "Ch3EnableCheckBox");
  grid->addWidget(ambient_.tagLabel, 0, 0);
  grid->addWidget(ambient_.ch3Edit, 0, 1, Qt::AlignLeft);
  grid->addWidget(ambient_.ch3EnableCheckBox, 0, 2);
  ambient_.cjDegreesRadioGroup = Named(new ui::TRadioGroup(U("Unidade"), 2, page), "CJDegreesRadioGroup");
  ambient_.cjDegreesRadioGroup->SetItems({U("°C"), U("°F")});
  ambient_.cjDegreesRadioGroup->setMaximumWidth(200);
  grid->addWidget(ambient_.cjDegreesRadioGroup, 1, 0, 1, 3);
  ambient_.offset = FieldRow(grid, 2, 0, page, "Temper", "Offset", "Offset");
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(2, 1);

  connect(ambient_.ch3EnableCheckBox, &QCheckBox::clicked, this, &TConfigForm::Ch3EnableCheckBoxClick);
  WatchField(ambient_.offset.edit, [this] { return CheckAmbientOffset(); });
  connect(ambient_.offset.arrows, &ui::TArrowButtons::Arrow, this,
          [this](int direction) { StepFixedPoint(ambient_.offset.edit, direction, devconfig::kAmbientOffsetRange); });
  return page;
}

devconfig::ChannelPageState TConfigForm::ReadChannelPage(int number) {
  devconfig::ChannelWidgets& w = ChannelPage(number);
  devconfig::ChannelPageState page;
  page.tag = FieldText(w.tagEdit);
  page.enabled = w.enableCheckBox->isChecked();
  page.typeIndex = w.typeComboBox->currentIndex();
  page.readTypeCode = readTypeCodes_[static_cast<size_t>(number)];
  page.dewPoint = w.dewPointCheckBox != nullptr && w.dewPointCheckBox->isChecked();
  page.fahrenheit = w.farenheitRadioButton->isChecked();
  page.overflowSpin = w.overflowCSpinEdit->value();
  page.underflowSpin = w.underflowCSpinEdit->value();
  const auto fields = w.Fields();
  for (size_t i = 0; i < fields.size(); ++i) page.fields[i] = FieldText(fields[i]->edit);
  page.unit = FieldText(w.unitEdit);
  page.filter = w.filterCSpinEdit->value();
  return page;
}

void TConfigForm::ShowChannelPage(int number, const devconfig::ChannelPageState& page) {
  devconfig::ChannelWidgets& w = ChannelPage(number);
  ++filling_;
  readTypeCodes_[static_cast<size_t>(number)] = page.readTypeCode;
  SetFieldText(w.tagEdit, page.tag);
  w.enableCheckBox->setChecked(page.enabled);
  w.typeComboBox->setCurrentIndex(page.typeIndex);
  if (w.dewPointCheckBox != nullptr) w.dewPointCheckBox->setChecked(page.dewPoint);
  w.celsiusRadioButton->setChecked(!page.fahrenheit);
  w.farenheitRadioButton->setChecked(page.fahrenheit);
  w.overflowCSpinEdit->setValue(page.overflowSpin);
  w.underflowCSpinEdit->setValue(page.underflowSpin);
  const auto fields = w.Fields();
  for (size_t i = 0; i < fields.size(); ++i) SetFieldText(fields[i]->edit, page.fields[i]);
  SetFieldText(w.unitEdit, page.unit);
  // The filter offers 0..20; a setting beyond that stays as the instrument has it.
  w.filterCSpinEdit->setMaximum(std::max(kFilterMax, page.filter));
  w.filterCSpinEdit->setValue(page.filter);
  --filling_;
}

void TConfigForm::FillChannelControls(int number) {
  const Channel& channel = number == 1 ? regs_.Channel1 : regs_.Channel2;
  ShowChannelPage(number, devconfig::FillChannel(channel, context_, number, mark_));
  ApplyChannelEnable(number);
  UpdateChannelControls(number);
}

bool TConfigForm::StoreChannelControls(int number, DeviceRegs& regs) {
  devconfig::ChannelPageState page = ReadChannelPage(number);
  const devconfig::ChannelFieldTexts before = page.fields;
  const bool ok = devconfig::StoreChannel(page, context_, number, number == 1 ? regs.Channel1 : regs.Channel2);
  const auto fields = ChannelPage(number).Fields();
  for (size_t i = 0; i < fields.size(); ++i)
    if (page.fields[i] != before[i]) SetFieldText(fields[i]->edit, page.fields[i]);
  return ok;
}

void TConfigForm::UpdateChannelControls(int number) {
  devconfig::ChannelWidgets& w = ChannelPage(number);
  const devconfig::ChannelControls c =
      devconfig::ChannelControlsFor(context_, number, ReadChannelPage(number).TypeCode());
  w.typeComboBox->setVisible(c.typeList);
  w.typeLabel->setVisible(!c.typeList);
  if (!c.typeList && device_) {
    QString sensor;
    if (number == 2) {
      sensor = platform::FromCp1252(device_->GetSensorName(1));
    } else if (context_.probeType == 0) {
      sensor = platform::FromCp1252(device_->GetSensorName(0));
    } else {
      sensor = platform::FromCp1252(device_->GetSensorName(1));
      if (context_.probeType != -1) sensor += QStringLiteral(" - ") + platform::FromCp1252(device_->GetProbeSensorName());
    }
    w.typeLabel->setText(sensor);
  }
  w.celsiusRadioButton->setVisible(c.degrees);
  w.farenheitRadioButton->setVisible(c.degrees);
  SetFieldShown(w.limSup, c.limits);
  SetFieldShown(w.limInf, c.limits);
  w.unitLabel->setVisible(c.unit);
  w.unitEdit->setVisible(c.unit);
  w.overflow.edit->setVisible(c.overflowFields);
  w.overflow.arrows->setVisible(c.overflowFields);
  w.underflow.edit->setVisible(c.overflowFields);
  w.underflow.arrows->setVisible(c.overflowFields);
  w.overflowCSpinEdit->setVisible(c.overflowSpins);
  w.underflowCSpinEdit->setVisible(c.overflowSpins);
  SetFieldShown(w.offset, c.offset);
  w.offset.edit->setReadOnly(!c.offsetWritable);
  if (w.dewPointCheckBox != nullptr) w.dewPointCheckBox->setVisible(c.dewPoint);
  ReformatChannelOffset(number);
}

void TConfigForm::ReformatChannelOffset(int number) {
  QLineEdit* edit = ChannelPage(number).offset.edit;
  const std::optional<devconfig::FixedPoint> value = devconfig::ParseFixedPoint(FieldText(edit));
  if (!value) return;
  const uint16_t decimals = devconfig::OffsetDecimals(ReadChannelPage(number));
  RewriteField(edit, devconfig::FormatFixedPoint(value->raw, decimals, mark_));
}

void TConfigForm::ApplyChannelEnable(int number) {
  devconfig::ChannelWidgets& w = ChannelPage(number);
  const bool on = w.enableCheckBox->isChecked();
  for (QWidget* c : std::initializer_list<QWidget*>{w.tagLabel, w.tagEdit, w.typeComboBox, w.typeLabel, w.viewGroupBox,
                                                     w.filterLabel, w.filterCSpinEdit})
    c->setEnabled(on);
  SetFieldEnabled(w.offset, on);
  w.inputTypeLabel->setEnabled(on || context_.Probe());
  ApplyAmbientEnableRule();
}

void TConfigForm::ChannelEnableClicked(int number) { ApplyChannelEnable(number); }

void TConfigForm::SetChannelDecimals(int number, uint16_t decimals) {
  const auto fields = ChannelPage(number).Fields();
  devconfig::ChannelFieldTexts texts;
  for (size_t i = 0; i < fields.size(); ++i) texts[i] = FieldText(fields[i]->edit);
  const std::optional<devconfig::ChannelFieldTexts> moved = devconfig::WithDecimalCount(texts, decimals, mark_);
  if (!moved) return;
  for (size_t i = 0; i < fields.size(); ++i) SetFieldText(fields[i]->edit, (*moved)[i]);
}

bool TConfigForm::CheckChannelField(int number, QLineEdit* edit, devconfig::RawRange range) {
  const std::optional<devconfig::FixedPoint> value = devconfig::CheckFixedPointField(FieldText(edit), range);
  if (!value) return false;
  SetChannelDecimals(number, value->decimals);
  return true;
}

bool TConfigForm::CheckAmbientOffset() {
  QLineEdit* edit = ambient_.offset.edit;
  const std::optional<devconfig::FixedPoint> value =
      devconfig::CheckFixedPointField(FieldText(edit), devconfig::kAmbientOffsetRange);
  if (!value) return false;
  SetFieldText(edit, devconfig::FormatFixedPoint(devconfig::AmbientOffsetTenths(*value), 1, mark_));
  return true;
}

void TConfigForm::StepFixedPoint(QLineEdit* edit, int direction, devconfig::RawRange range) {
  if (!edit->isEnabled()) return;
  const std::optional<std::string> next = devconfig::StepFixedPointField(FieldText(edit), direction, range, mark_);
  if (next) RewriteField(edit, *next);
}

devconfig::AmbientPageState TConfigForm::ReadAmbientPage() const {
  devconfig::AmbientPageState page;
  page.tag = FieldText(ambient_.ch3Edit);
  page.enabled = ambient_.ch3EnableCheckBox->isChecked();
  page.enableLocked = !ambient_.ch3EnableCheckBox->isEnabled();
  page.unitIndex = ambient_.cjDegreesRadioGroup->ItemIndex();
  page.offset = FieldText(ambient_.offset.edit);
  return page;
}

void TConfigForm::ShowAmbientPage(const devconfig::AmbientPageState& page) {
  ++filling_;
  SetFieldText(ambient_.ch3Edit, page.tag);
  ambient_.ch3EnableCheckBox->setChecked(page.enabled);
  ambient_.cjDegreesRadioGroup->SetItemIndex(page.unitIndex);
  SetFieldText(ambient_.offset.edit, page.offset);
  --filling_;
  Ch3EnableCheckBoxClick();
}

void TConfigForm::Ch3EnableCheckBoxClick() {
  const bool on = ambient_.ch3EnableCheckBox->isChecked();
  ambient_.tagLabel->setEnabled(on);
  ambient_.ch3Edit->setEnabled(on);
  ambient_.cjDegreesRadioGroup->setEnabled(on);
  SetFieldEnabled(ambient_.offset, on);
}

void TConfigForm::ApplyAmbientEnableRule() {
  if (loading_) return;
  const devconfig::ChannelPageState channel1 = ReadChannelPage(1);
  const devconfig::ChannelPageState channel2 = ReadChannelPage(2);
  const bool channel2Shown = configPageControl_->isTabVisible(kCh2Page);
  const devconfig::AmbientEnable rule =
      devconfig::AmbientEnableRule(channel1, channel2Shown ? &channel2 : nullptr, regs_.DeviceConfig);
  ambient_.ch3EnableCheckBox->setChecked(rule.checked);
  ambient_.ch3EnableCheckBox->setEnabled(rule.enabled);
  Ch3EnableCheckBoxClick();
}
