#include "app/overwrite_choice_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/language_qt.h"

namespace app {

TOverwriteChoiceForm::TOverwriteChoiceForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label1_(new QLabel(QStringLiteral("Este arquivo já existe!"), this)),
      label2_(new QLabel(
          QStringLiteral("Deseja adicionar mais dados, sobrescrever o arquivo ou cancelar o histórico?"), this)),
      appendButton_(new QPushButton(QStringLiteral("&Adicionar"), this)),
      overwriteButton_(new QPushButton(QStringLiteral("&Sobrescrever"), this)),
      cancelButton_(new QPushButton(QStringLiteral("&Cancelar"), this)),
      timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("OverwriteChoiceForm"));
  setWindowTitle(QStringLiteral("Arquivo já existente!"));
  setModal(true);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setAlignment(Qt::AlignCenter);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setAlignment(Qt::AlignCenter);
  label2_->setWordWrap(true);
  appendButton_->setObjectName(QStringLiteral("AppendButton"));
  overwriteButton_->setObjectName(QStringLiteral("OverwriteButton"));
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  // Enter presses the focused button, so the focused button is the default one.
  for (QPushButton* button : {appendButton_, overwriteButton_, cancelButton_}) button->setAutoDefault(true);
  timer_->setObjectName(QStringLiteral("Timer"));
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, &TOverwriteChoiceForm::TimerTimer);
  connect(appendButton_, &QPushButton::clicked, this, &TOverwriteChoiceForm::AppendButtonClick);
  connect(overwriteButton_, &QPushButton::clicked, this, &TOverwriteChoiceForm::OverwriteButtonClick);
  connect(cancelButton_, &QPushButton::clicked, this, &TOverwriteChoiceForm::CancelButtonClick);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(appendButton_);
  buttons->addWidget(overwriteButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  layout->addWidget(label2_);
  layout->addLayout(buttons);
  setMinimumWidth(460);

  appendCaption_ = appendButton_->text();
  if (ui::ProgramLanguage().Loaded()) {
    ui::ApplyLanguageTexts("# Form de Escolha da Sobrescrita",
                       {ui::TitleOf(this), ui::TextOf(label1_), ui::TextOf(label2_), ui::Into(appendCaption_), ui::TextOf(overwriteButton_),
                        ui::TextOf(cancelButton_)});
  }
  UpdateAppendCaption();
}

int TOverwriteChoiceForm::Execute() {
  exec();
  return result_;
}

void TOverwriteChoiceForm::showEvent(QShowEvent* event) {
  // A stale "overwrite" from an earlier showing must never truncate a history file: the
  // answer is "append" until a button says otherwise.
  result_ = kAppend;
  appendButton_->setFocus();
  countDown_ = kCountDownSeconds;
  timer_->start();
  UpdateAppendCaption();
  QDialog::showEvent(event);
}

void TOverwriteChoiceForm::UpdateAppendCaption() {
  appendButton_->setText(appendCaption_ + QStringLiteral("   [") + QString::number(countDown_) + QStringLiteral("]"));
}

void TOverwriteChoiceForm::TimerTimer() {
  countDown_ -= 1;
  UpdateAppendCaption();
  if (countDown_ <= 0) appendButton_->click();
}

void TOverwriteChoiceForm::AppendButtonClick() {
  result_ = kAppend;
  accept();
}

void TOverwriteChoiceForm::OverwriteButtonClick() {
  result_ = kOverwrite;
  accept();
}

void TOverwriteChoiceForm::CancelButtonClick() {
  result_ = kCancel;
  accept();
}

void TOverwriteChoiceForm::done(int code) {
  // Esc and a window-manager close end here too, with the result still "append".
  timer_->stop();
  QDialog::done(code);
}

}  // namespace app
