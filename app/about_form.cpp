#include "app/about_form.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/program_constants.h"
#include "ui/language_qt.h"
#include "app/tool_icons.h"

namespace app {

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      nomeSoftwareLabel_(new QLabel(QStringLiteral("Tervana"), this)),
      versaoSoftwareLabel_(new QLabel(QStringLiteral("Versão"), this)),
      btnOK_(new QPushButton(QStringLiteral("&OK"), this)) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("Sobre"));
  setFixedSize(345, 164);

  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(MakeLogoPixmap(64));
  image->setFixedSize(64, 64);
  nomeSoftwareLabel_->setObjectName(QStringLiteral("NomeSoftwareLabel"));
  QFont nameFont = nomeSoftwareLabel_->font();
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
  nameFont.setBold(true);
  nomeSoftwareLabel_->setFont(nameFont);
  versaoSoftwareLabel_->setObjectName(QStringLiteral("VersaoSoftwareLabel"));
  auto* companyLabel = new QLabel(QStringLiteral("Instrumentos de temperatura e umidade"), this);
  companyLabel->setObjectName(QStringLiteral("Label1"));
  auto* contactLabel = new QLabel(QStringLiteral("Suporte: consulte o seu fornecedor."), this);
  contactLabel->setObjectName(QStringLiteral("Label2"));
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(nomeSoftwareLabel_, 0, 1);
  layout->addWidget(versaoSoftwareLabel_, 1, 1);
  layout->addWidget(companyLabel, 2, 1);
  layout->addWidget(contactLabel, 3, 1);
  layout->addWidget(btnOK_, 4, 1, Qt::AlignRight);
  layout->setColumnStretch(1, 1);

  const QString version = QString::fromUtf8(ui::kVersionText.data(), static_cast<qsizetype>(ui::kVersionText.size()));
  versaoSoftwareLabel_->setText(versaoSoftwareLabel_->text() + QStringLiteral(" ") + version);
  if (ui::ProgramLanguage().Loaded()) {
    ui::ApplyLanguageTexts("# Nome Software", {ui::TextOf(nomeSoftwareLabel_)});
    ui::ApplyLanguageTexts("# Form About", {ui::TitleOf(this), [this, version](const QString& text) {
                                          versaoSoftwareLabel_->setText(text + QStringLiteral(" ") + version);
                                        }});
  }
}

}  // namespace app
