// The PDF page: grid spacings, the page (format, size, units, orientation, margins) and the
// four fonts with a live sample. Every value lives in the form's own PDF exporter, so a run
// takes the page exactly as it is shown; the setters write a control only when its text does
// not already mean the value, so typing is never disturbed.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "export/common_text.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/form_rules.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/list_items.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/vantrix3_pdf.h"

namespace vantrix {

namespace {

QString DecimalMark() { return QLocale().decimalPoint(); }

// Lengths and spacings are typed with "." or with the locale's decimal mark; the edits show
// the locale's. def for text that is no number.
double ParseDecimal(const QString& text, double def) {
  QString t = text.trimmed();
  if (DecimalMark() != QLatin1String(".")) t.replace(DecimalMark(), QLatin1String("."));
  return StrToDblDef(t.toStdString(), def);
}

QString FormatDecimal(double value, int places) {
  QString text = QString::number(value, 'f', places);
  if (places > 0 && DecimalMark() != QLatin1String(".")) text.replace(QLatin1Char('.'), DecimalMark());
  return text;
}

void ShowDecimal(QLineEdit* edit, double value, int places) {
  if (edit == nullptr) return;
  const QSignalBlocker block(edit);
  edit->setText(FormatDecimal(value, places));
}

// A changed value is shown unless the edit already means it (the user typing "1." for 1).
// Spacings beyond what a page can lay out are kept at the largest.
void StoreDecimal(double& stored, double value, QLineEdit* edit, int places) {
  if (!std::isfinite(value)) return;
  const double kept = std::clamp(value, 0.0, kPDFMaxSpacing);
  if (kept == stored && kept == value) return;
  stored = kept;
  if (edit != nullptr && !edit->text().isEmpty() && ParseDecimal(edit->text(), kept + 1) == kept) return;
  ShowDecimal(edit, kept, places);
}

void ShowComboIndex(QComboBox* combo, int index) {
  if (combo == nullptr || combo->currentIndex() == index) return;
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(index);
}

void AcceptDecimalMarks(QLineEdit* edit) {
  const QString pattern = QStringLiteral("[0-9]*(\\.|%1)?[0-9]*").arg(QRegularExpression::escape(DecimalMark()));
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

TPDFFont* CurrentPDFFont(const TVantrix3DialogF& form) {
  auto* list = form.Control<QTreeWidget>("lvPDFFonts");
  QTreeWidgetItem* item = list != nullptr ? list->currentItem() : nullptr;
  return item != nullptr ? ItemObjectAs<TPDFFont>(item) : nullptr;
}

constexpr const char* kMarginEdits[] = {"edPDFPageMarginLeft", "edPDFPageMarginRight", "edPDFPageMarginTop",
                                        "edPDFPageMarginBottom"};

}  // namespace

// --- grid spacings ------------------------------------------------------------------------

void TVantrix3DialogF::SetPDFColSpacing(double value) {
  StoreDecimal(PDFExp().Options().ColSpacing, value, Control<QLineEdit>("edPDFColSpacing"), 1);
}

void TVantrix3DialogF::SetPDFRowSpacing(double value) {
  StoreDecimal(PDFExp().Options().RowSpacing, value, Control<QLineEdit>("edPDFRowSpacing"), 1);
}

void TVantrix3DialogF::SetPDFGridLineWidth(int value) {
  const int kept = std::clamp(value, 0, kPDFMaxGridLineWidth);
  int& stored = PDFExp().Options().GridLineWidth;
  if (kept == stored && kept == value) return;
  stored = kept;
  auto* edit = Control<QLineEdit>("edPDFGridLineWidth");
  bool ok = false;
  if (edit == nullptr || (edit->text().toInt(&ok) == kept && ok)) return;
  const QSignalBlocker block(edit);
  edit->setText(QString::number(kept));
}

// --- the page -----------------------------------------------------------------------------

namespace {

int LengthPlaces(TVantrixUnits units) { return units == unInch ? 2 : 0; }

// A length in the page's units, kept within what a page can be (200 inches are a whole number
// of inches, millimetres and dots, so the bound is exact in each).
double PageLength(const TVantrixPDFPageOptions& page, double value) {
  return std::isfinite(value) ? std::clamp(value, 0.0, Dot2Units(page.Units(), kPDFMaxPageDots)) : 0.0;
}

}  // namespace

double TVantrix3DialogF::GetPDFPageWidth() const { return PDFExp().Options().PageOptions.Width(); }
double TVantrix3DialogF::GetPDFPageHeight() const { return PDFExp().Options().PageOptions.Height(); }
double TVantrix3DialogF::GetPDFPageMarginLeft() const { return PDFExp().Options().PageOptions.MarginLeft(); }
double TVantrix3DialogF::GetPDFPageMarginRight() const { return PDFExp().Options().PageOptions.MarginRight(); }
double TVantrix3DialogF::GetPDFPageMarginTop() const { return PDFExp().Options().PageOptions.MarginTop(); }
double TVantrix3DialogF::GetPDFPageMarginBottom() const { return PDFExp().Options().PageOptions.MarginBottom(); }

void TVantrix3DialogF::PDFShowOptions() {
  const TPDFOptions& pdf = PDFExp().Options();
  const TVantrixPDFPageOptions& page = pdf.PageOptions;
  ShowDecimal(Control<QLineEdit>("edPDFColSpacing"), pdf.ColSpacing, 1);
  ShowDecimal(Control<QLineEdit>("edPDFRowSpacing"), pdf.RowSpacing, 1);
  if (auto* grid = Control<QLineEdit>("edPDFGridLineWidth")) {
    const QSignalBlocker block(grid);
    grid->setText(QString::number(pdf.GridLineWidth));
  }
  ShowComboIndex(Control<QComboBox>("cbPDFPageFormat"), page.Format());
  ShowComboIndex(Control<QComboBox>("cbPDFPageUnits"), page.Units());
  ShowComboIndex(Control<QComboBox>("cbPDFPageOrientation"), page.Orientation());
  const int places = LengthPlaces(page.Units());
  const std::pair<const char*, double> lengths[] = {
      {"edPDFPageWidth", page.Width()},           {"edPDFPageHeight", page.Height()},
      {"edPDFPageMarginLeft", page.MarginLeft()}, {"edPDFPageMarginRight", page.MarginRight()},
      {"edPDFPageMarginTop", page.MarginTop()},   {"edPDFPageMarginBottom", page.MarginBottom()},
  };
  for (const auto& [name, value] : lengths) {
    auto* edit = Control<QLineEdit>(name);
    if (edit == nullptr) continue;
    const QSignalBlocker block(edit);
    edit->setText(FormatDecimal(value, places));
  }
}

void TVantrix3DialogF::SetPDFPageFormat(TVantrixPageFormat format) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  if (format == page.Format()) return;
  // The format's portrait size, whatever the orientation: choosing a format means its sheet.
  page.SetFormat(format);
  PDFShowOptions();
}

// A size of its own makes the page a user page, even when it stays the same in dots.
void TVantrix3DialogF::SetPDFPageWidth(double value) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  value = PageLength(page, value);
  if (Units2Dot(page.Units(), value) != page.WidthDots()) page.SetWidth(value);
  page.SetFormat(pfUser);
  PDFShowOptions();
}

void TVantrix3DialogF::SetPDFPageHeight(double value) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  value = PageLength(page, value);
  if (Units2Dot(page.Units(), value) != page.HeightDots()) page.SetHeight(value);
  page.SetFormat(pfUser);
  PDFShowOptions();
}

void TVantrix3DialogF::SetPDFPageMarginLeft(double value) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  page.SetMarginLeft(PageLength(page, value));
  PDFShowOptions();
}

void TVantrix3DialogF::SetPDFPageMarginRight(double value) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  page.SetMarginRight(PageLength(page, value));
  PDFShowOptions();
}

void TVantrix3DialogF::SetPDFPageMarginTop(double value) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  page.SetMarginTop(PageLength(page, value));
  PDFShowOptions();
}

void TVantrix3DialogF::SetPDFPageMarginBottom(double value) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  page.SetMarginBottom(PageLength(page, value));
  PDFShowOptions();
}

// The margins are read back from what the edits now show, so that they are what the user
// sees (whole millimetres, inches to two places); the page size keeps its dots.
void TVantrix3DialogF::SetPDFPageUnits(TVantrixUnits units) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  if (units == page.Units()) return;
  page.SetUnits(units);
  PDFShowOptions();
  void (TVantrix3DialogF::*setters[])(double) = {
      &TVantrix3DialogF::SetPDFPageMarginLeft, &TVantrix3DialogF::SetPDFPageMarginRight,
      &TVantrix3DialogF::SetPDFPageMarginTop, &TVantrix3DialogF::SetPDFPageMarginBottom};
  const double current[] = {page.MarginLeft(), page.MarginRight(), page.MarginTop(), page.MarginBottom()};
  for (int i = 0; i < 4; ++i) {
    auto* edit = Control<QLineEdit>(kMarginEdits[i]);
    (this->*setters[i])(edit != nullptr ? ParseDecimal(edit->text(), current[i]) : current[i]);
  }
}

void TVantrix3DialogF::SetPDFPageOrientation(TVantrixPageOrientation orientation) {
  TVantrixPDFPageOptions& page = PDFExp().Options().PageOptions;
  if (orientation == page.Orientation()) return;
  page.SetOrientation(orientation);  // swaps the size and turns the margins with the sheet
  PDFShowOptions();
}

std::string TVantrix3DialogF::PDFPageProblem() const { return PDFExp().Options().PageOptions.PrintProblem(); }

// --- the fonts ----------------------------------------------------------------------------

void TVantrix3DialogF::PDFFillFontList() {
  auto* list = Control<QTreeWidget>("lvPDFFonts");
  if (list == nullptr) return;
  TPDFOptions& pdf = PDFExp().Options();
  {
    const QSignalBlocker block(list);
    list->clear();
    const std::pair<const char*, TPDFFont*> fonts[] = {{"Header Font", &pdf.HeaderFont},
                                                      {"Caption Font", &pdf.CaptionFont},
                                                      {"Data Font", &pdf.DataFont},
                                                      {"Footer Font", &pdf.FooterFont}};
    for (const auto& [caption, font] : fonts) AddListItem(list, QString::fromLatin1(caption), -1, font);
    list->setCurrentItem(list->topLevelItem(0));
  }
  PDFShowFontInfo();
}

void TVantrix3DialogF::PDFShowFontInfo() {
  const TPDFFont* font = CurrentPDFFont(*this);
  if (font == nullptr) return;
  ShowComboIndex(Control<QComboBox>("cbPDFFontName"), font->BaseFont);
  ShowComboIndex(Control<QComboBox>("cbPDFFontEncoding"), font->FontEncoding);
  if (auto* size = Control<QLineEdit>("edPDFFontSize")) {
    const QSignalBlocker block(size);
    size->setText(QString::number(font->FontSize));
  }
  PDFShowExample();
}

// The screen has none of the PDF base fonts: the sample uses the nearest common face.
void TVantrix3DialogF::PDFShowExample() {
  const TPDFFont* font = CurrentPDFFont(*this);
  auto* sample = Control<QLabel>("paPDFSample");
  auto* names = Control<QComboBox>("cbPDFFontName");
  if (font == nullptr || sample == nullptr || names == nullptr) return;
  const QString name = names->currentText().toUpper();
  QFont shown = sample->font();
  shown.setPointSize(std::max(1, font->FontSize));
  shown.setBold(name.contains(QLatin1String("BOLD")));
  shown.setItalic(name.contains(QLatin1String("OBLIQUE")) || name.contains(QLatin1String("ITALIC")));
  if (name.contains(QLatin1String("COURIER")))
    shown.setFamily(QStringLiteral("Courier New"));
  else if (name.contains(QLatin1String("TIMES")))
    shown.setFamily(QStringLiteral("Times New Roman"));
  else if (name.contains(QLatin1String("SYMBOL")))
    shown.setFamily(QStringLiteral("Symbol"));
  else
    shown.setFamily(QStringLiteral("Arial"));
  sample->setFont(shown);
  QPalette palette = sample->palette();
  const uint32_t c = font->FontColor;
  palette.setColor(QPalette::WindowText, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  sample->setPalette(palette);
}

void TVantrix3DialogF::ConnectPDFHandlers() {
  for (const char* name : {"edPDFColSpacing", "edPDFRowSpacing", "edPDFPageWidth", "edPDFPageHeight",
                           "edPDFPageMarginLeft", "edPDFPageMarginRight", "edPDFPageMarginTop", "edPDFPageMarginBottom"})
    AcceptDecimalMarks(Control<QLineEdit>(name));

  // Spacings and the grid line follow each keystroke; what is no number counts as the
  // dialog's own value.
  connect(Control<QLineEdit>("edPDFColSpacing"), &QLineEdit::textEdited, this,
          [this](const QString& text) { SetPDFColSpacing(ParseDecimal(text, dialog_.PDFOptions.ColSpacing)); });
  connect(Control<QLineEdit>("edPDFRowSpacing"), &QLineEdit::textEdited, this,
          [this](const QString& text) { SetPDFRowSpacing(ParseDecimal(text, dialog_.PDFOptions.RowSpacing)); });
  connect(Control<QLineEdit>("edPDFGridLineWidth"), &QLineEdit::textEdited, this, [this](const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    SetPDFGridLineWidth(ok ? value : dialog_.PDFOptions.GridLineWidth);
  });

  connect(Control<QComboBox>("cbPDFPageFormat"), &QComboBox::activated, this, [this](int index) {
    if (index >= pfLetter && index <= pfUser) SetPDFPageFormat(static_cast<TVantrixPageFormat>(index));
  });
  connect(Control<QComboBox>("cbPDFPageUnits"), &QComboBox::activated, this, [this](int index) {
    if (index >= unInch && index <= unDot) SetPDFPageUnits(static_cast<TVantrixUnits>(index));
  });
  connect(Control<QComboBox>("cbPDFPageOrientation"), &QComboBox::activated, this, [this](int index) {
    if (index == poPortrait || index == poLandscape) SetPDFPageOrientation(static_cast<TVantrixPageOrientation>(index));
  });

  // Lengths are taken when the edit is left or on Enter (which then starts no export); what is
  // no number keeps the current value.
  const struct {
    const char* edit;
    void (TVantrix3DialogF::*setter)(double);
    double (TVantrix3DialogF::*getter)() const;
  } lengths[] = {
      {"edPDFPageWidth", &TVantrix3DialogF::SetPDFPageWidth, &TVantrix3DialogF::GetPDFPageWidth},
      {"edPDFPageHeight", &TVantrix3DialogF::SetPDFPageHeight, &TVantrix3DialogF::GetPDFPageHeight},
      {"edPDFPageMarginLeft", &TVantrix3DialogF::SetPDFPageMarginLeft, &TVantrix3DialogF::GetPDFPageMarginLeft},
      {"edPDFPageMarginRight", &TVantrix3DialogF::SetPDFPageMarginRight, &TVantrix3DialogF::GetPDFPageMarginRight},
      {"edPDFPageMarginTop", &TVantrix3DialogF::SetPDFPageMarginTop, &TVantrix3DialogF::GetPDFPageMarginTop},
      {"edPDFPageMarginBottom", &TVantrix3DialogF::SetPDFPageMarginBottom,
       &TVantrix3DialogF::GetPDFPageMarginBottom},
  };
  for (const auto& l : lengths) {
    auto* edit = Control<QLineEdit>(l.edit);
    connect(edit, &QLineEdit::editingFinished, this, [this, l, edit] {
      (this->*l.setter)(ParseDecimal(edit->text(), (this->*l.getter)()));
    });
    form::EnterConfirms(edit);
  }

  // Fonts.
  connect(Control<QTreeWidget>("lvPDFFonts"), &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) {
            if (item != nullptr && ItemObject(item) != nullptr) PDFShowFontInfo();
          });
  connect(Control<QComboBox>("cbPDFFontName"), &QComboBox::activated, this, [this](int index) {
    TPDFFont* font = CurrentPDFFont(*this);
    if (font == nullptr || index < poHelvetica || index > poZapfDingbats) return;
    font->BaseFont = static_cast<TPDFFontName>(index);
    PDFShowExample();
  });
  connect(Control<QComboBox>("cbPDFFontEncoding"), &QComboBox::activated, this, [this](int index) {
    TPDFFont* font = CurrentPDFFont(*this);
    if (font != nullptr && index >= poStandardEncoding && index <= poPDFDocEncoding)
      font->FontEncoding = static_cast<TPDFFontEncoding>(index);
  });
  // A size of 0 would write a font that draws nothing: the smallest is 1 point; a size beyond
  // the largest is kept at it and shown so.
  connect(Control<QLineEdit>("edPDFFontSize"), &QLineEdit::textEdited, this, [this](const QString& text) {
    TPDFFont* font = CurrentPDFFont(*this);
    if (font == nullptr) return;
    bool ok = false;
    const qlonglong size = text.toLongLong(&ok);
    font->FontSize = ok ? static_cast<int>(std::clamp<qlonglong>(size, 1, kPDFMaxFontSize)) : 10;
    if (ok && size > kPDFMaxFontSize) {
      auto* edit = Control<QLineEdit>("edPDFFontSize");
      const QSignalBlocker block(edit);
      edit->setText(QString::number(font->FontSize));
    }
    PDFShowExample();
  });
  const auto chooseColor = [this] {
    TPDFFont* font = CurrentPDFFont(*this);
    if (font == nullptr) return;
    const std::optional<uint32_t> chosen = dialog_.Services().ChooseColor(this, font->FontColor);
    if (!chosen || *chosen == font->FontColor) return;
    font->FontColor = *chosen;
    PDFShowExample();
  };
  connect(Control<QPushButton>("sbPDFFontColor"), &QPushButton::clicked, this, chooseColor);
  form::ClickCalls(Control<QLabel>("paPDFSample"), chooseColor);
}

}  // namespace vantrix
