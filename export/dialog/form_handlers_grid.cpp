// The captions grid's in-place editors: the field name column is read-only, the caption a
// plain text, the alignment a choice of the three alignment captions and the width a number
// that cannot go below 0. Which column holds what follows the chosen format.
#include <QComboBox>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "export/dialog/vantrix3_dialog_form.h"

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
}

}  // namespace vantrix
