#include "export/dialog/xls_color_editor.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <QVBoxLayout>

#include "export/dialog/dialog_services.h"

namespace vantrix {

namespace {

constexpr const char* kColorNames[] = {
    "Black",      "Brown",        "Olive Green", "Dark Green",      "Dark Teal", "Dark Blue",  "Indigo",   "Gray-80%",
    "Dark Red",   "Orange",       "Dark Yellow", "Green",           "Teal",      "Blue",       "Blue-Gray", "Gray-50%",
    "Red",        "Light Orange", "Lime",        "Sea Green",       "Aqua",      "Light Blue", "Violet",   "Gray-40%",
    "Pink",       "Gold",         "Yellow",      "Bright Green",    "Turquoise", "Sky Blue",   "Plum",     "Gray-25%",
    "Rose",       "Tan",          "Light Yellow", "Liht Green",     "Light Turquoise", "Pale Blue", "Lavender", "White",
};
constexpr int kGridColors = kColorColumns * kColorRows;
static_assert(std::size(kColorNames) == kGridColors);

QRect CellRect(int index) {
  if (index < 0 || index >= kGridColors) return {};
  return QRect((index % kColorColumns) * kColorCellSize, (index / kColorColumns) * kColorCellSize, kColorCellSize,
               kColorCellSize);
}

void DrawSquare(QPainter& p, int index) {
  const QRect cell = CellRect(index);
  p.setPen(Qt::black);
  p.setBrush(ToQColor(XLSColorValue(static_cast<TxlsColor>(index))));
  p.drawRect(cell.left() + 3, cell.top() + 3, 15, 15);
}

void DrawSunkenEdge(QPainter& p, const QRect& cell) {
  if (cell.isEmpty()) return;
  const QRect r = cell.adjusted(0, 0, -1, -1);
  p.setBrush(Qt::NoBrush);
  p.setPen(QColor(128, 128, 128));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(Qt::white);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

QString XLSColorName(int index) {
  return index >= 0 && index < kGridColors ? QString::fromLatin1(kColorNames[index]) : QString();
}

int XLSColorIndexAt(const QPoint& point) {
  if (point.x() < 0 || point.y() < 0) return -1;
  const int col = point.x() / kColorCellSize, row = point.y() / kColorCellSize;
  if (col >= kColorColumns || row >= kColorRows) return -1;
  return row * kColorColumns + col;
}

TXLSColorBox::TXLSColorBox(TfmVantrix3XLSColorEditor* editor) : QWidget(editor), editor_(editor) {
  setObjectName(QStringLiteral("pbColors"));
  setFixedSize(177, 110);
  setMouseTracking(true);
}

void TXLSColorBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  for (int i = 0; i < kGridColors; ++i) DrawSquare(p, i);
  DrawSunkenEdge(p, editor_->ColorIndexToRect());
}

void TXLSColorBox::mousePressEvent(QMouseEvent* e) { editor_->ColorsMouseDown(e->position().toPoint(), false); }

void TXLSColorBox::mouseDoubleClickEvent(QMouseEvent* e) {
  editor_->ColorsMouseDown(e->position().toPoint(), true);
}

void TXLSColorBox::mouseMoveEvent(QMouseEvent* e) {
  const int index = XLSColorIndexAt(e->position().toPoint());
  if (index == hovered_) return;
  hovered_ = index;
  setToolTip(XLSColorName(index));
  // The tip of the previous cell goes, so that the new name shows at once.
  QToolTip::hideText();
}

TfmVantrix3XLSColorEditor::TfmVantrix3XLSColorEditor(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fmVantrix3XLSColorEditor"));
  setWindowTitle(QStringLiteral("Choose a color"));
  setFixedSize(177, 146);
  pbColors_ = new TXLSColorBox(this);
  pbColors_->move(0, 0);
  bOk_ = new QPushButton(QStringLiteral("OK"), this);
  bOk_->setObjectName(QStringLiteral("bOk"));
  bOk_->setDefault(true);
  bCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  bCancel_->setObjectName(QStringLiteral("bCancel"));
  bOk_->setGeometry(12, 114, 72, 26);
  bCancel_->setGeometry(92, 114, 72, 26);
  connect(bOk_, &QPushButton::clicked, this, &QDialog::accept);
  connect(bCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmVantrix3XLSColorEditor::SetSelectedColor(TxlsColor color) {
  selected_ = color;
  pbColors_->update();
}

QRect TfmVantrix3XLSColorEditor::ColorIndexToRect() const { return CellRect(static_cast<int>(selected_)); }

void TfmVantrix3XLSColorEditor::ColorsMouseDown(const QPoint& point, bool doubleClick) {
  const int index = XLSColorIndexAt(point);
  if (index < 0) return;
  SetSelectedColor(static_cast<TxlsColor>(index));
  if (doubleClick) accept();
}

TxlsColor RunXLSColorEditor(TxlsColor color, DialogServices& services, QWidget* parent) {
  return PickXLSColor(color, services, parent).value_or(color);
}

std::optional<TxlsColor> PickXLSColor(TxlsColor color, DialogServices& services, QWidget* parent) {
  TfmVantrix3XLSColorEditor editor(parent);
  editor.SetSelectedColor(color);
  if (services.RunModal(&editor) != QDialog::Accepted) return std::nullopt;
  return editor.SelectedColor();
}

}  // namespace vantrix
