#include "export/dialog/progress_window.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "export/datetime_picture.h"
#include "export/format_settings.h"
#include "export/library_strings.h"
#include "export/vantrix3.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

inline constexpr int kCountRefreshMs = 40;

QLabel* BevelLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMargin(2);
  return label;
}

}  // namespace

QEvent::Type ExportProgressEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void PostExportProgress(QObject* window, int code) {
  if (window != nullptr) QCoreApplication::postEvent(window, new ExportProgressEvent(code));
}

TfmVantrix3Progress::TfmVantrix3Progress(QWidget* owner, TVantrix3* exporter)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), exporter_(exporter) {
  setObjectName(QStringLiteral("fmVantrix3Progress"));
  setModal(false);
  setFixedSize(301, 140);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* paInfo = new QFrame(this);
  paInfo->setObjectName(QStringLiteral("paInfo"));
  auto* grid = new QGridLayout(paInfo);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(3);
  laStatus_ = BevelLabel(paInfo, "laStatus");
  laStatusValue_ = BevelLabel(paInfo, "laStatusValue");
  laExported_ = BevelLabel(paInfo, "laExported");
  laExportedValue_ = BevelLabel(paInfo, "laExportedValue");
  laTime_ = BevelLabel(paInfo, "laTime");
  laTimeValue_ = BevelLabel(paInfo, "laTimeValue");
  laSpeed_ = BevelLabel(paInfo, "laSpeed");
  laSpeedValue_ = BevelLabel(paInfo, "laSpeedValue");
  QLabel* rows[][2] = {{laStatus_, laStatusValue_},
                       {laExported_, laExportedValue_},
                       {laTime_, laTimeValue_},
                       {laSpeed_, laSpeedValue_}};
  for (int r = 0; r < 4; ++r) {
    grid->addWidget(rows[r][0], r, 0);
    grid->addWidget(rows[r][1], r, 1);
  }
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 3);
  layout->addWidget(paInfo);
  auto* paButtons = new QWidget(this);
  paButtons->setObjectName(QStringLiteral("paButtons"));
  auto* buttons = new QHBoxLayout(paButtons);
  buttons->setContentsMargins(0, 0, 0, 0);
  bButton_ = new QPushButton(paButtons);
  bButton_->setObjectName(QStringLiteral("bButton"));
  buttons->addStretch();
  buttons->addWidget(bButton_);
  buttons->addStretch();
  layout->addWidget(paButtons);
  connect(bButton_, &QPushButton::clicked, this, &TfmVantrix3Progress::ButtonClick);

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("tmTimer"));
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, &TfmVantrix3Progress::TimerTick);

  // The captions are set here as well as on showing, so the window reads right before it is
  // first shown.
  setWindowTitle(Str(34491));
  laStatus_->setText(Str(34492));
  laTime_->setText(Str(34493));
  laSpeed_->setText(Str(34494));
  laExportedValue_->setText(QStringLiteral("0"));
  ShowTime();
}

void TfmVantrix3Progress::showEvent(QShowEvent* e) {
  setWindowTitle(Str(34491));
  laStatus_->setText(Str(34492));
  laTime_->setText(Str(34493));
  laSpeed_->setText(Str(34494));
  QDialog::showEvent(e);
}

bool TfmVantrix3Progress::event(QEvent* e) {
  if (e->type() == ExportProgressEvent::EventType()) {
    ExportProgress(static_cast<ExportProgressEvent*>(e)->Code());
    return true;
  }
  return QDialog::event(e);
}

void TfmVantrix3Progress::StartTimer() {
  if (!timer_->isActive()) timer_->start();
}

void TfmVantrix3Progress::StopTimer() {
  if (timer_->isActive()) timer_->stop();
}

void TfmVantrix3Progress::ExportProgress(int code) {
  switch (code) {
    case kProgressBegin: StartTimer(); SetStatus(estBegin); break;
    case kProgressFetched: StartTimer(); SetStatus(estFetching); SetFetchedRows(fetched_ + 1); break;
    case kProgressSkipped: StartTimer(); SetStatus(estSkipping); SetSkippedRows(skipped_ + 1); break;
    case kProgressExported: StartTimer(); SetStatus(estExporting); SetExportedRows(exported_ + 1); break;
    case kProgressPause: StopTimer(); FlushCount(); SetStatus(estPause); break;
    case kProgressContinue: StartTimer(); SetStatus(estContinue); break;
    case kProgressAbort: StopTimer(); FlushCount(); SetStatus(estAbort); break;
    case kProgressEnd: StopTimer(); FlushCount(); SetStatus(estEnd); break;
    case kProgressClose: CloseWithResult(); break;
    default: break;
  }
}

// The three counts share one label: it shows the count that changed last.
void TfmVantrix3Progress::ShowCount(int& counter, int count) {
  counter = count;
  lastCount_ = &counter;
  if (!isVisible() || !countShown_.isValid() || countShown_.hasExpired(kCountRefreshMs)) FlushCount();
}

void TfmVantrix3Progress::FlushCount() {
  if (lastCount_ == nullptr) return;
  laExportedValue_->setText(QString::number(*lastCount_));
  countShown_.start();
}

void TfmVantrix3Progress::SetFetchedRows(int count) { ShowCount(fetched_, count); }
void TfmVantrix3Progress::SetSkippedRows(int count) { ShowCount(skipped_, count); }
void TfmVantrix3Progress::SetExportedRows(int count) { ShowCount(exported_, count); }

void TfmVantrix3Progress::SetStatus(TVantrixStatus status) {
  // A run repeats its status once per row: the texts are already shown.
  if (status == status_ && !laStatusValue_->text().isEmpty()) return;
  status_ = status;
  switch (status) {
    case estBegin:
      laStatusValue_->setText(Str(34495));
      bButton_->setText(Str(34503));
      break;
    case estSkipping:
      laStatusValue_->setText(Str(34496));
      laExported_->setText(Str(34497));
      break;
    case estFetching:
      laStatusValue_->setText(Str(34500));
      laExported_->setText(Str(34501));
      break;
    case estExporting:
      laStatusValue_->setText(Str(34498));
      laExported_->setText(Str(34499));
      break;
    case estPause: laStatusValue_->setText(Str(34502)); break;
    case estContinue:
      laStatusValue_->setText(Str(34498));
      bButton_->setText(Str(34503));
      break;
    case estAbort:
      laStatusValue_->setText(Str(34505));
      bButton_->setText(Str(34504));
      break;
    case estEnd:
      laStatusValue_->setText(Str(34506));
      bButton_->setText(Str(34504));
      break;
  }
}

void TfmVantrix3Progress::ShowTime() {
  const std::string text =
      FormatDateTime(VantrixLoadStr(34508), elapsedSeconds_ / 86400.0, DefaultFormatSettings());
  laTimeValue_->setText(platform::FromCp1252(text));
}

void TfmVantrix3Progress::TimerTick() {
  ++elapsedSeconds_;
  ShowTime();
  FlushCount();
  const long long rows = static_cast<long long>(exported_) + fetched_ + skipped_;
  const long long speed = elapsedSeconds_ > 0 ? rows / elapsedSeconds_ : 0;
  laSpeedValue_->setText(platform::FromCp1252(
      FormatLibraryText(VantrixLoadStr(34507), {std::to_string(speed)})));
}

void TfmVantrix3Progress::ButtonClick() {
  if (runReturned_ || status_ == estPause || status_ == estAbort || status_ == estEnd) {
    CloseWithResult();
    return;
  }
  if (exporter_ != nullptr) exporter_->Abort();
}

void TfmVantrix3Progress::SetRunReturned() { runReturned_ = true; }

void TfmVantrix3Progress::reject() { ButtonClick(); }

void TfmVantrix3Progress::CloseWithResult() {
  modalResult_ = 1;
  StopTimer();
  hide();
}

}  // namespace vantrix
