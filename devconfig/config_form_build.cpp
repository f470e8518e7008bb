// TConfigForm: the shell (instrument list, pages, buttons) and the general page.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "platform/qt_text.h"
#include "devconfig/form_building.h"
#include "ui/help_context.h"
#include "ui/radio_group.h"

using devconfig::Named;
using devconfig::U;

namespace {

constexpr int kListWidth = 230;
// Wide enough for the tabs of model 0 side by side.
constexpr int kPagesWidth = 620;
constexpr int kTagLength = 10;

}  // namespace

void TConfigForm::BuildForm() {
  setObjectName(QStringLiteral("ConfigForm"));
  setWindowTitle(U("Configuração dos Aparelhos"));
  setModal(true);
  // Only the system menu's close: the dialog has a size of its own.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  ui::SetHelpContext(this, ui::kHelpContextDeviceConfiguration);

  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns, 1);

  auto* listColumn = new QVBoxLayout;
  listView_ = Named(new QTreeWidget(this), "ListView");
  listView_->setColumnCount(1);
  listView_->setHeaderLabels({U("Aparelhos encontrados")});
  listView_->setRootIsDecorated(false);
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->setFixedWidth(kListWidth);
  listView_->header()->setStretchLastSection(true);
  listColumn->addWidget(listView_, 1);
  saveCfgBitBtn_ = Named(new QPushButton(U("Salvar configuração"), this), "SaveCfgBitBtn");
  loadCfgBitBtn_ = Named(new QPushButton(U("Carregar configuração"), this), "LoadCfgBitBtn");
  for (QPushButton* b : {saveCfgBitBtn_, loadCfgBitBtn_}) {
    b->setAutoDefault(false);
    listColumn->addWidget(b);
  }
  columns->addLayout(listColumn);

  configPageControl_ = Named(new QTabWidget(this), "ConfigPageControl");
  ui::SetHelpContext(configPageControl_, ui::kHelpContextDeviceCalibration);
  // Tabs as flat buttons, as the dialog always had them.
  configPageControl_->setDocumentMode(true);
  configPageControl_->setMinimumWidth(kPagesWidth);
  configPageControl_->addTab(BuildGeneralPage(), U("Geral"));
  configPageControl_->addTab(BuildChannelPage(1), U("Canal 1"));
  configPageControl_->addTab(BuildChannelPage(2), U("Canal 2"));
  configPageControl_->addTab(BuildDigitalInputPage(), U("Canal 3"));
  configPageControl_->addTab(BuildAmbientPage(), U("Temperatura Ambiente"));
  configPageControl_->addTab(BuildDiagnosticsPage(), U("Diagnóstico"));
  BuildCalibrationPages();
  configPageControl_->addTab(calibration_.customCalibPage, U("Calibração Customizada"));
  configPageControl_->addTab(calibration_.calibPage, U("Calibração"));
  // As tall as its tallest page with every control shown, so that the dialog keeps its size
  // whichever instrument and mode it shows.
  configPageControl_->setMinimumHeight(configPageControl_->sizeHint().height());
  columns->addWidget(configPageControl_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  applyBitBtn_ = Named(new QPushButton(U("Aplica"), this), "ApplyBitBtn");
  closeBitBtn_ = Named(new QPushButton(U("Fecha"), this), "CloseBitBtn");
  applyBitBtn_->setDefault(true);
  EnableBlockButtons(false);
  closeBitBtn_->setAutoDefault(false);
  // A click leaves the focus in the field being edited: "Aplica" runs that field's check
  // itself, and a check run by the click as well would show its message twice.
  applyBitBtn_->setFocusPolicy(Qt::TabFocus);
  closeBitBtn_->setFocusPolicy(Qt::TabFocus);
  buttons->addWidget(applyBitBtn_);
  buttons->addWidget(closeBitBtn_);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  diagTimer_ = Named(new QTimer(this), "DiagTimer");
  diagTimer_->setInterval(kDiagIntervalMs);
  ConnectHandlers();
}

QWidget* TConfigForm::BuildGeneralPage() {
  auto* page = Named(new QWidget, "GeneralTabSheet");
  ui::SetHelpContext(page, ui::kHelpContextDeviceGeneralPage);
  general_.page = page;
  auto* grid = new QGridLayout(page);
  general_.deviceTagLabel = Named(new QLabel(U("Identificação"), page), "DeviceTagLabel");
  general_.deviceTagEdit = Named(new QLineEdit(page), "DeviceTagEdit");
  devconfig::LimitTyped(general_.deviceTagEdit, kTagLength);
  general_.deviceTagEdit->setFixedWidth(120);
  grid->addWidget(general_.deviceTagLabel, 0, 0);
  grid->addWidget(general_.deviceTagEdit, 0, 1, Qt::AlignLeft);
  general_.compFreqCheckBox = Named(new QCheckBox(U("Compensar efeito da rede elétrica"), page), "CompFreqCheckBox");
  grid->addWidget(general_.compFreqCheckBox, 1, 0, 1, 2);
  general_.freqSelRadioGroup = Named(new ui::TRadioGroup(U("Freqüência da rede"), 2, page), "FreqSelRadioGroup");
  general_.freqSelRadioGroup->SetItems({U("60 Hz"), U("50 Hz")});
  general_.freqSelRadioGroup->setMaximumWidth(300);
  grid->addWidget(general_.freqSelRadioGroup, 2, 0, 1, 2);
  general_.autoSendEnableCheckBox =
      Named(new QCheckBox(U("Habilitar modo de auto-envio"), page), "AutoSendEnableCheckBox");
  grid->addWidget(general_.autoSendEnableCheckBox, 3, 0, 1, 2);
  general_.minResRadioGroup = Named(new ui::TRadioGroup(U("Resolução mínima desejada"), 1, page), "MinResRadioGroup");
  general_.minResRadioGroup->setMaximumWidth(300);
  grid->addWidget(general_.minResRadioGroup, 4, 0, 1, 2);
  auto* interval = new QHBoxLayout;
  general_.minIntervalLabel = Named(new QLabel(U("Intervalo entre varreduras:"), page), "MinIntervalLabel");
  general_.intValLabel = Named(new QLabel(page), "IntValLabel");
  interval->addWidget(general_.minIntervalLabel);
  interval->addWidget(general_.intValLabel);
  interval->addWidget(Named(new QLabel(U("ms"), page), "IntValUnitLabel"));
  interval->addStretch();
  grid->addLayout(interval, 5, 0, 1, 2);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

void TConfigForm::ConnectHandlers() {
  connect(listView_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (filling_ > 0) return;
    const QList<QTreeWidgetItem*> selected = listView_->selectedItems();
    if (!selected.isEmpty()) ListViewSelectItem(selected.front());
  });
  connect(configPageControl_, &QTabWidget::currentChanged, this, &TConfigForm::ConfigPageControlChange);
  connect(applyBitBtn_, &QPushButton::clicked, this, &TConfigForm::ApplyBitBtnClick);
  connect(closeBitBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(saveCfgBitBtn_, &QPushButton::clicked, this, &TConfigForm::SaveCfgBitBtnClick);
  connect(loadCfgBitBtn_, &QPushButton::clicked, this, &TConfigForm::LoadCfgBitBtnClick);
  connect(diagTimer_, &QTimer::timeout, this, &TConfigForm::DiagTimerTimer);
  connect(general_.compFreqCheckBox, &QCheckBox::clicked, this, &TConfigForm::CompFreqCheckBoxClick);
  connect(general_.autoSendEnableCheckBox, &QCheckBox::clicked, this, &TConfigForm::CompFreqCheckBoxClick);
  connect(general_.minResRadioGroup, &ui::TRadioGroup::Clicked, this, [this](int) { MinResRadioGroupClick(); });
}

devconfig::GeneralPageState TConfigForm::ReadGeneralPage() const {
  devconfig::GeneralPageState page;
  page.tag = devconfig::FieldText(general_.deviceTagEdit);
  page.compensate = general_.compFreqCheckBox->isChecked();
  page.compensateEnabled = general_.compFreqCheckBox->isEnabled();
  page.mainsIndex = general_.freqSelRadioGroup->ItemIndex();
  page.autoSend = general_.autoSendEnableCheckBox->isChecked();
  page.probeResolutions = general_.minResRadioGroup->Count() == static_cast<int>(devconfig::kProbeResolutionCount);
  page.resolutionIndex = general_.minResRadioGroup->ItemIndex();
  return page;
}

void TConfigForm::ShowGeneralPage(const devconfig::GeneralPageState& page) {
  ++filling_;
  devconfig::SetFieldText(general_.deviceTagEdit, page.tag);
  general_.compFreqCheckBox->setChecked(page.compensate);
  general_.compFreqCheckBox->setEnabled(page.compensateEnabled);
  general_.freqSelRadioGroup->SetItemIndex(page.mainsIndex);
  general_.autoSendEnableCheckBox->setChecked(page.autoSend);
  general_.minResRadioGroup->SetItemIndex(page.resolutionIndex);
  --filling_;
  UpdateFreqSelEnabled();
}

void TConfigForm::FillResolutionList() {
  QStringList items;
  if (context_.HumidityProbe()) {
    for (const std::string& t : texts_.probeResolutions) items << platform::FromCp1252(t);
  } else {
    for (const std::string& t : texts_.resolutions) items << platform::FromCp1252(t);
  }
  general_.minResRadioGroup->SetItems(items);
  general_.minResRadioGroup->SetItemIndex(0);
}

void TConfigForm::UpdateFreqSelEnabled() {
  general_.freqSelRadioGroup->setEnabled(general_.compFreqCheckBox->isChecked());
}

void TConfigForm::CompFreqCheckBoxClick() { UpdateFreqSelEnabled(); }

void TConfigForm::MinResRadioGroupClick() { ShowScanInterval(); }
