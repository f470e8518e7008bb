// TConfigForm: the factory calibration page of model 0 ("Calibração"): the offset and gain of
// each channel and input-type group, and the ambient constant, each read and written by its
// own buttons at once, without a question.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "devconfig/form_building.h"
#include "instrument/device_interface.h"
#include "ui/arrow_buttons.h"
#include "ui/help_context.h"

using devconfig::FactoryConstant;
using devconfig::FieldText;
using devconfig::Msg;
using devconfig::Named;
using devconfig::NameOf;
using devconfig::U;

namespace {

constexpr int kValueWidth = 80;

// An edit with its arrows and the "Ler" and "Escrever" buttons, laid out in a row.
devconfig::FactoryConstantWidgets ConstantRow(QWidget* parent, QBoxLayout* row, const char* prefix) {
  devconfig::FactoryConstantWidgets w;
  w.edit = Named(new QLineEdit(QStringLiteral("0"), parent), NameOf(prefix, "Edit"));
  w.edit->setFixedWidth(kValueWidth);
  w.upDown = Named(new ui::TArrowButtons(w.edit, parent), NameOf(prefix, "UpDown"));
  w.upDown->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  w.readButton = Named(new QPushButton(U("Ler"), parent), NameOf(prefix, "ReadButton"));
  w.writeButton = Named(new QPushButton(U("Escrever"), parent), NameOf(prefix, "WriteButton"));
  row->addLayout(ui::EditWithArrows(w.edit, w.upDown));
  for (QPushButton* b : {w.readButton, w.writeButton}) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  return w;
}

}  // namespace

void TConfigForm::BuildFactoryCalibrationPage() {
  devconfig::CalibrationWidgets& c = calibration_;
  c.calibPage = Named(new QWidget, "CalibTabSheet");
  ui::SetHelpContext(c.calibPage, ui::kHelpContextDeviceCalibration);
  QWidget* p = c.calibPage;
  auto* page = new QVBoxLayout(p);

  auto* choice = new QHBoxLayout;
  c.ch1RadioButton = Named(new QRadioButton(U("Canal 1"), p), "Ch1RadioButton");
  c.ch2RadioButton = Named(new QRadioButton(U("Canal 2"), p), "Ch2RadioButton");
  c.ch1RadioButton->setChecked(true);
  c.inpTypeComboBox = Named(new QComboBox(p), "InpTypeComboBox");
  c.inpTypeComboBox->setMinimumWidth(240);
  choice->addWidget(c.ch1RadioButton);
  choice->addWidget(c.ch2RadioButton);
  choice->addSpacing(12);
  choice->addWidget(c.inpTypeComboBox);
  choice->addStretch();
  page->addLayout(choice);

  auto* groups = new QHBoxLayout;
  c.offsetGroupBox = Named(new QGroupBox(U("Offset"), p), "OffsetGroupBox");
  c.offset = ConstantRow(c.offsetGroupBox, new QHBoxLayout(c.offsetGroupBox), "Offset");
  c.gainGroupBox = Named(new QGroupBox(U("Ganho"), p), "GainGroupBox");
  c.gain = ConstantRow(c.gainGroupBox, new QHBoxLayout(c.gainGroupBox), "Gain");
  groups->addWidget(c.offsetGroupBox);
  groups->addWidget(c.gainGroupBox);
  groups->addStretch();
  page->addLayout(groups);

  auto* ambient = new QHBoxLayout;
  c.ambientLabel = Named(new QLabel(U("Temperatura Ambiente"), p), "AmbientLabel");
  ambient->addWidget(c.ambientLabel);
  c.ambient = ConstantRow(p, ambient, "Ambient");
  ambient->addStretch();
  page->addLayout(ambient);

  c.msgLabel = Named(new QLabel(p), "MsgLabel");
  page->addWidget(c.msgLabel);
  page->addStretch();
  c.warningMemo = Named(new QLabel(U("ATENÇÃO: A alteração destes valores irá afetar a calibração do aparelho! "
                                     "Somente prossiga se tiver certeza do que está fazendo!"),
                                   p),
                        "WarningMemo");
  c.warningMemo->setAlignment(Qt::AlignCenter);
  c.warningMemo->setWordWrap(true);
  page->addWidget(c.warningMemo);

  for (QRadioButton* r : {c.ch1RadioButton, c.ch2RadioButton})
    connect(r, &QRadioButton::clicked, this, &TConfigForm::ChannelRadioButtonClick);
  // Only the user's choice: the list refilled by code is no change of type.
  connect(c.inpTypeComboBox, &QComboBox::activated, this, &TConfigForm::InpTypeComboBoxChange);
  for (FactoryConstant k : {FactoryConstant::Offset, FactoryConstant::Gain, FactoryConstant::Ambient}) {
    devconfig::FactoryConstantWidgets& w = FactoryWidgets(k);
    connect(w.readButton, &QPushButton::clicked, this, [this, k] { ReadFactoryConstant(k); });
    connect(w.writeButton, &QPushButton::clicked, this, [this, k] { WriteFactoryConstant(k); });
    connect(w.upDown, &ui::TArrowButtons::Arrow, this, [this, k](int direction) { StepFactoryConstant(k, direction); });
  }
}

devconfig::FactoryConstantWidgets& TConfigForm::FactoryWidgets(FactoryConstant constant) {
  switch (constant) {
    case FactoryConstant::Gain: return calibration_.gain;
    case FactoryConstant::Ambient: return calibration_.ambient;
    case FactoryConstant::Offset: break;
  }
  return calibration_.offset;
}

int TConfigForm::FactoryChannel() const { return calibration_.ch2RadioButton->isChecked() ? 1 : 0; }

int TConfigForm::FactoryInputType() const { return calibration_.inpTypeComboBox->currentIndex(); }

void TConfigForm::FillFactoryTypeList() {
  QComboBox* list = calibration_.inpTypeComboBox;
  ++filling_;
  list->clear();
  const size_t count = devconfig::FactoryInputTypeCount(FactoryChannel());
  for (size_t i = 0; i < count; ++i) list->addItem(platform::FromCp1252(texts_.inputTypes[i]));
  list->setCurrentIndex(0);
  --filling_;
}

void TConfigForm::PrepareFactoryCalibrationPage() {
  FillFactoryTypeList();
  ReadFactoryConstant(FactoryConstant::Offset);
  ReadFactoryConstant(FactoryConstant::Gain);
  ReadFactoryConstant(FactoryConstant::Ambient);
  calibration_.msgLabel->clear();
  SetFactoryLimits();
}

void TConfigForm::ChannelRadioButtonClick() {
  FillFactoryTypeList();
  ReadFactoryConstant(FactoryConstant::Offset);
  ReadFactoryConstant(FactoryConstant::Gain);
}

void TConfigForm::InpTypeComboBoxChange() {
  ReadFactoryConstant(FactoryConstant::Offset);
  ReadFactoryConstant(FactoryConstant::Gain);
  SetFactoryLimits();
}

void TConfigForm::SetFactoryLimits() {
  for (FactoryConstant k : {FactoryConstant::Offset, FactoryConstant::Gain, FactoryConstant::Ambient}) {
    factoryLimits_[static_cast<size_t>(k)] =
        device_ ? devconfig::FactoryLimits(k, FactoryInputType()) : devconfig::FactoryRange{};
  }
}

void TConfigForm::ShowFactoryResult(bool ok) {
  calibration_.msgLabel->setText(Message(ok ? Msg::Ok : Msg::Error) + QStringLiteral("!"));
}

void TConfigForm::ReadFactoryConstant(FactoryConstant constant) {
  int32_t value = 0;
  bool ok = false;
  if (device_) {
    switch (constant) {
      case FactoryConstant::Offset: ok = device_->ReadCalOffset(FactoryChannel(), FactoryInputType(), value); break;
      case FactoryConstant::Gain: ok = device_->ReadCalGain(FactoryChannel(), FactoryInputType(), value); break;
      case FactoryConstant::Ambient: ok = device_->ReadAmbientCal(value); break;
    }
  }
  FactoryWidgets(constant).edit->setText(ok ? QString::number(value) : QStringLiteral("???"));
  ShowFactoryResult(ok);
}

void TConfigForm::WriteFactoryConstant(FactoryConstant constant) {
  QLineEdit* edit = FactoryWidgets(constant).edit;
  const std::optional<int32_t> value = devconfig::FactoryWriteValue(FieldText(edit), constant, FactoryInputType());
  bool ok = false;
  if (value) {
    // The edit shows what is written, also when the limits changed what was typed.
    const QString written = QString::number(*value);
    if (edit->text().trimmed() != written) edit->setText(written);
    if (device_) {
      switch (constant) {
        case FactoryConstant::Offset: ok = device_->WriteCalOffset(FactoryChannel(), FactoryInputType(), *value); break;
        case FactoryConstant::Gain: ok = device_->WriteCalGain(FactoryChannel(), FactoryInputType(), *value); break;
        case FactoryConstant::Ambient: ok = device_->WriteAmbientCal(*value); break;
      }
    }
  }
  ShowFactoryResult(ok);
}

void TConfigForm::StepFactoryConstant(FactoryConstant constant, int direction) {
  QLineEdit* edit = FactoryWidgets(constant).edit;
  const std::optional<int32_t> next =
      devconfig::StepFactoryValue(FieldText(edit), direction, factoryLimits_[static_cast<size_t>(constant)]);
  if (next) edit->setText(QString::number(*next));
}
