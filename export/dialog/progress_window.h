#pragma once
// The small window an export run shows: records fetched, skipped and exported, the status,
// the elapsed time and the speed, and one button that cancels the run or, once it is over,
// closes the window. The run only posts progress events to it, so the exporter's loop never
// waits for the window.
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>

class QLabel;
class QPushButton;
class QTimer;

namespace vantrix {

class TVantrix3;

enum TVantrixStatus { estBegin, estSkipping, estFetching, estExporting, estPause, estContinue, estAbort, estEnd };

// Progress codes a run posts.
enum TVantrixProgressCode {
  kProgressBegin = 1, kProgressFetched, kProgressSkipped, kProgressExported, kProgressPause, kProgressContinue,
  kProgressAbort, kProgressEnd, kProgressClose,
};

// The progress message: an event type of its own, carrying the code.
class ExportProgressEvent : public QEvent {
 public:
  explicit ExportProgressEvent(int code) : QEvent(EventType()), code_(code) {}
  int Code() const { return code_; }
  static QEvent::Type EventType();

 private:
  int code_;
};

// Posts the code to the window (nothing when it is gone).
void PostExportProgress(QObject* window, int code);

class TfmVantrix3Progress : public QDialog {
  Q_OBJECT

 public:
  TfmVantrix3Progress(QWidget* owner, TVantrix3* exporter);

  // What a progress code does; codes outside 1..9 are ignored.
  void ExportProgress(int code);
  void SetFetchedRows(int count);
  void SetSkippedRows(int count);
  void SetExportedRows(int count);
  void SetStatus(TVantrixStatus status);
  TVantrixStatus Status() const { return status_; }
  void ShowTime();
  // One second of the timer.
  void TimerTick();
  // The button: cancels a run in progress, closes the window once the run is over.
  void ButtonClick();
  // The run has returned: from now on the button closes the window whatever the state (no
  // end code comes after an abort during preparation, and Abort would be pointless).
  void SetRunReturned();
  // 1 once the window was closed by the button or by the close code, else 0.
  int ModalResult() const { return modalResult_; }
  // Escape and the window's close act as the button: hidden during a run, the window would
  // leave the run's caller waiting for a close that nobody can give.
  void reject() override;

  int ExportedRows() const { return exported_; }
  int FetchedRows() const { return fetched_; }
  int SkippedRows() const { return skipped_; }
  int ElapsedSeconds() const { return elapsedSeconds_; }
  QTimer* Timer() const { return timer_; }

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void ShowCount(int& counter, int count);
  // Shows the count that changed last.
  void FlushCount();
  void StartTimer();
  void StopTimer();
  void CloseWithResult();

  QLabel *laStatus_, *laStatusValue_, *laExported_, *laExportedValue_, *laTime_, *laTimeValue_, *laSpeed_,
      *laSpeedValue_;
  QPushButton* bButton_;
  QTimer* timer_;
  TVantrix3* exporter_;
  int exported_ = 0, fetched_ = 0, skipped_ = 0;
  TVantrixStatus status_ = estBegin;
  int elapsedSeconds_ = 0;
  // A shown window writes its count label at most every few milliseconds (a run sends a code
  // per row); every other code and every tick shows the count that changed last.
  QElapsedTimer countShown_;
  const int* lastCount_ = nullptr;
  int modalResult_ = 0;
  bool runReturned_ = false;
};

}  // namespace vantrix
