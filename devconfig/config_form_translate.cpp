// TConfigForm: the dialog's texts from the language file ("# Form de Configuração do
// Aparelho", 112 lines, and "# Nome dos Sensores", the 12 input types).
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "devconfig/config_form.h"
#include "platform/qt_text.h"
#include "ui/language_file.h"
#include "ui/radio_group.h"

namespace {

using Target = std::function<void(const QString&)>;

Target TextOf(QLabel* w) {
  return [w](const QString& t) { w->setText(t); };
}
Target TextOf(QAbstractButton* w) {
  return [w](const QString& t) { w->setText(t); };
}
Target TitleOf(QGroupBox* w) {
  return [w](const QString& t) { w->setTitle(t); };
}

// Several controls that take the same line.
Target Both(Target a, Target b) {
  return [a, b](const QString& t) {
    a(t);
    b(t);
  };
}

}  // namespace

void TConfigForm::Translate() {
  std::vector<ui::LanguageTextTarget> targets = devconfig::ConfigTableTargets(texts_);
  auto set = [&targets](size_t line, Target target) {
    targets[line - 1] = [target](const std::string& t) { target(platform::FromCp1252(t)); };
  };
  auto tab = [this](Page page) {
    return Target([this, page](const QString& t) { configPageControl_->setTabText(page, t); });
  };

  set(1, [this](const QString& t) { setWindowTitle(t); });
  set(2, TextOf(applyBitBtn_));
  set(3, TextOf(closeBitBtn_));
  set(4, TextOf(saveCfgBitBtn_));
  set(5, TextOf(loadCfgBitBtn_));
  const Page pageLines[] = {kGeneralPage, kCh1Page, kCh2Page, kCh3Page, kDigInpPage, kDiagPage, kCustomCalibPage,
                            kCalibPage};
  for (size_t i = 0; i < std::size(pageLines); ++i) set(6 + i, tab(pageLines[i]));
  set(14, TextOf(general_.deviceTagLabel));
  set(15, TextOf(general_.compFreqCheckBox));
  set(16, TitleOf(general_.freqSelRadioGroup));
  set(17, TextOf(general_.autoSendEnableCheckBox));
  set(18, TitleOf(general_.minResRadioGroup));
  set(25, [this](const QString& t) { general_.minIntervalLabel->setText(t + QStringLiteral(":")); });

  devconfig::ChannelWidgets& a = ch1_;
  devconfig::ChannelWidgets& b = ch2_;
  const std::pair<Target, Target> channelLines[] = {
      {TextOf(a.tagLabel), TextOf(b.tagLabel)},
      {TextOf(a.enableCheckBox), TextOf(b.enableCheckBox)},
      {TextOf(a.inputTypeLabel), TextOf(b.inputTypeLabel)},
      {TitleOf(a.viewGroupBox), TitleOf(b.viewGroupBox)},
      {TextOf(a.limSup.label), TextOf(b.limSup.label)},
      {TextOf(a.limInf.label), TextOf(b.limInf.label)},
      {TextOf(a.celsiusRadioButton), TextOf(b.celsiusRadioButton)},
      {TextOf(a.farenheitRadioButton), TextOf(b.farenheitRadioButton)},
      {TextOf(a.unitLabel), TextOf(b.unitLabel)},
      {TextOf(a.overflow.label), TextOf(b.overflow.label)},
      {TextOf(a.underflow.label), TextOf(b.underflow.label)},
      {TextOf(a.filterLabel), TextOf(b.filterLabel)},
      {TextOf(a.offset.label), TextOf(b.offset.label)},
  };
  for (size_t i = 0; i < std::size(channelLines); ++i) set(26 + i, Both(channelLines[i].first, channelLines[i].second));
  set(39, TextOf(a.dewPointCheckBox));

  set(40, TextOf(ambient_.tagLabel));
  set(41, TextOf(ambient_.ch3EnableCheckBox));
  set(42, TitleOf(ambient_.cjDegreesRadioGroup));
  set(43, TextOf(ambient_.offset.label));

  const devconfig::DigitalInputWidgets& d = digital_;
  const Target digitalLines[] = {
      TextOf(d.tagLabel),          TextOf(d.highValLabel),      TextOf(d.lowValLabel),
      TitleOf(d.specialFeaturesGroupBox), TextOf(d.countingCheckBox), TextOf(d.timingCheckBox),
      TextOf(d.frequencyCheckBox), TextOf(d.debounceCheckBox), TextOf(d.autoResetCheckBox),
      TextOf(d.resetValue.label),  TextOf(d.scaleLabel),       TextOf(d.baseTime.label),
      TextOf(d.decNumber.label),
  };
  for (size_t i = 0; i < std::size(digitalLines); ++i) set(44 + i, digitalLines[i]);

  set(64, TextOf(diag_.valueLabel));
  set(65, TextOf(diag_.serialNumberLabel));
  set(66, TextOf(diag_.fwVersionLabel));
  AddCalibrationLanguageTargets(targets);
  set(112, [this](const QString& t) { listView_->setHeaderLabels({t}); });

  ui::ApplyLanguageSection(ui::ProgramLanguage(), devconfig::kConfigFormHeading, targets);
  devconfig::TranslateInputTypeNames(ui::ProgramLanguage(), texts_);
}
