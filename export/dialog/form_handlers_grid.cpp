// The captions page: the check box that enables the grid, the caption-row edit, and the
// grid's title row and in-place editors: the field name column is read-only, the caption a
// plain text, the alignment a choice of the three alignment captions and the width a number
// that cannot go below 0. Which column holds what follows the chosen format.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

enum class CellKind { Name, Caption, Alignment, Width, None };

CellKind KindOf(TAllowedExport t, int column) {
  if (column == 0) return CellKind::Name;
  if (column == 1) return CellKind::Caption;
  const bool fourColumns = t == aeWord || t == aeRTF || t == aePDF || t == aeTXT;
  if (column == 2 && (fourColumns || t == aeHTML)) return CellKind::Alignment;
  if ((column == 3 && fourColumns) || (column == 2 && t == aeXLS)) return CellKind::Width;
  return CellKind::None;
}


class CaptionsGridDelegate : public QStyledItemDelegate {
 public:
  CaptionsGridDelegate(TVantrix3DialogF& form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

  // The title row looks like a fixed row, its title bold and centred in the cell.
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (index.row() != 0) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, option.palette.button());
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(option.palette.color(QPalette::ButtonText));
    const QString title = form_.CaptionsGridTitle(index.column());
    const QFontMetrics metrics(bold);
    const int x = r.left() + (r.width() - metrics.horizontalAdvance(title)) / 2;
    const int y = r.top() + (r.height() - metrics.height()) / 2;
    painter->drawText(QPoint(x, y + metrics.ascent()), title);
    painter->restore();
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (index.row() == 0) return nullptr;  // the title row
    switch (KindOf(form_.GetExportType(), index.column())) {
      case CellKind::Caption:
        return QStyledItemDelegate::createEditor(parent, option, index);
      case CellKind::Alignment: {
        auto* combo = new QComboBox(parent);
        const auto* align = form_.Control<QComboBox>("cbxColumnAlign");
        for (int i = 0; i < align->count(); ++i) combo->addItem(align->itemText(i));
        return combo;
      }
      case CellKind::Width: {
        auto* spin = new QSpinBox(parent);
        spin->setRange(0, 32767);
        return spin;
      }
      default:
        return nullptr;
    }
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      combo->setCurrentIndex(std::max(0, combo->findText(text)));
      return;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
      spin->setValue(std::max(0, text.toInt()));
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      model->setData(index, combo->currentText());
      return;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
      spin->interpretText();
      model->setData(index, QString::number(std::max(0, spin->value())));
      return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
  }

 private:
  TVantrix3DialogF& form_;
};

}  // namespace

void TVantrix3DialogF::ConnectCaptionsGrid() {
  auto* grid = Control<QTableWidget>("sgrCaptions");
  grid->setItemDelegate(new CaptionsGridDelegate(*this, grid));
  connect(Control<QCheckBox>("chAllowCaptions"), &QCheckBox::clicked, this, [this] { chAllowCaptionsClick(); });
  auto* captionRow = Control<QLineEdit>("edCaptionRow");
  form::EnterConfirms(captionRow);
  connect(captionRow, &QLineEdit::editingFinished, this, [this] { edCaptionRowExit(); });
}

// Row 0 holds no data: its titles are painted, so that they are never edited, saved or run.
// They are the library's texts, as every other text of the form, except the field name's,
// which the string table has none for.
QString TVantrix3DialogF::CaptionsGridTitle(int column) const {
  switch (KindOf(GetExportType(), column)) {
    case CellKind::Name: return QStringLiteral("Field name");
    case CellKind::Caption: return platform::FromCp1252(VantrixLoadStr(34110));
    case CellKind::Width: return platform::FromCp1252(VantrixLoadStr(34111));
    case CellKind::Alignment: return platform::FromCp1252(VantrixLoadStr(34112));
    default: return {};
  }
}

void TVantrix3DialogF::chAllowCaptionsClick() {
  SetAllowCaptions(Control<QCheckBox>("chAllowCaptions")->isChecked());
}

// A row below -1 counts as -1, no caption row; the grid's captions are read again either way.
void TVantrix3DialogF::edCaptionRowExit() {
  auto* edit = Control<QLineEdit>("edCaptionRow");
  bool ok = false;
  const int row = edit->text().trimmed().toInt(&ok);
  SetCaptionRow(ok ? std::max(row, -1) : opt_.CaptionRow);
  const QString shown = QString::number(opt_.CaptionRow);
  if (edit->text() != shown) {
    const QSignalBlocker block(edit);
    edit->setText(shown);
  }
  LoadStringGridCaption();
}

}  // namespace vantrix
