#pragma once
// The about box: program name and version.
#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QLabel* NomeSoftwareLabel() const { return nomeSoftwareLabel_; }
  QLabel* VersaoSoftwareLabel() const { return versaoSoftwareLabel_; }

 private:
  QLabel* nomeSoftwareLabel_;
  QLabel* versaoSoftwareLabel_;
  QPushButton* btnOK_;
};

}  // namespace app
