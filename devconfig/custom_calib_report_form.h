#pragma once
// TCustomCalibReportForm: the calibration certificate of a probe. The configuration dialog's
// "Relatório..." hands it the selected probe; the user fills in the laboratory, owner,
// standards, remarks, ambient conditions and each point's uncertainty, and "Gerar relatório"
// saves a two-page RTF certificate (one page when the probe holds no point). One instance
// serves the whole program, made at start-up as the last form, so the user's entries survive
// from one opening to the next.
#include <QDialog>
#include <QString>

#include "devconfig/calibration_certificate.h"
#include "instrument/device_regs.h"
#include "ui/user_interaction.h"

class DeviceInterface;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class TConfigForm;

namespace platform {
class WallClock;
}

class TCustomCalibReportForm : public QDialog {
  Q_OBJECT

 public:
  // What FormCreate does: the texts, the captions copied from the configuration dialog (made
  // before this one), the language file's texts, the informative note in the remarks.
  TCustomCalibReportForm(ui::UserInteraction& ui, const TConfigForm& configForm, QWidget* parent = nullptr);

  // The probe whose points are reported: FormShow, then the modal run.
  void Execute(const DeviceInterface& device);
  void SetDevice(const DeviceInterface* device) { device_ = device; }
  void FormShow();
  void CreateReportBitBtnClick();

  // The certificate as "Gerar relatório" would save it now.
  devconfig::RtfDocument BuildDocument() const;
  const devconfig::CertificateTexts& Texts() const { return texts_; }
  // The clock that dates the certificate: the system's unless a test sets another.
  void SetWallClock(const platform::WallClock& clock) { clock_ = &clock; }
  const ui::FileDialogRequest& SaveDialog() const { return saveDialog_; }

 private:
  void BuildForm();
  void Translate();
  // Fills a grid with the channel's points, keeping the uncertainties typed into its rows.
  void FillGrid(QTableWidget* grid, const Channel& channel);
  devconfig::CertificateTable TableOf(const QTableWidget* grid, const QLineEdit* unit) const;
  QString Text(size_t n) const;

  ui::UserInteraction& ui_;
  const TConfigForm& configForm_;
  const DeviceInterface* device_ = nullptr;
  const platform::WallClock* clock_;
  devconfig::CertificateTexts texts_;
  ui::FileDialogRequest saveDialog_;

  QLabel* testerLabel_ = nullptr;
  QPlainTextEdit* testerMemo_ = nullptr;
  QLabel* calIdLabel_ = nullptr;
  QLineEdit* calIdEdit_ = nullptr;
  QLabel* dateLabel_ = nullptr;
  QLineEdit* dateEdit_ = nullptr;
  QLabel* ownerLabel_ = nullptr;
  QPlainTextEdit* ownerMemo_ = nullptr;
  QLabel* standardLabel_ = nullptr;
  QPlainTextEdit* standardMemo_ = nullptr;
  QLabel* obsLabel_ = nullptr;
  QPlainTextEdit* obsMemo_ = nullptr;
  QGroupBox* ambientGroupBox_ = nullptr;
  QLabel* tempLabel_ = nullptr;
  QLineEdit* tempEdit_ = nullptr;
  QLabel* rhLabel_ = nullptr;
  QLineEdit* rhEdit_ = nullptr;
  QTabWidget* pageControl_ = nullptr;
  QWidget* tempTabSheet_ = nullptr;
  QWidget* rhTabSheet_ = nullptr;
  QTableWidget* tempStringGrid_ = nullptr;
  QTableWidget* rhStringGrid_ = nullptr;
  QLabel* tempUnitLabel_ = nullptr;
  QLineEdit* tempUnitEdit_ = nullptr;
  QLabel* rhUnitLabel_ = nullptr;
  QLineEdit* rhUnitEdit_ = nullptr;
  QPushButton* createReportBitBtn_ = nullptr;
  QPushButton* fechaBitBtn_ = nullptr;
};
