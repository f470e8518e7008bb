#pragma once
// The spreadsheet cell-format editor of the export dialog form: the font, border, fill and
// aggregate sheets beside the field, element and strip-style lists, with the colour boxes,
// the owner-drawn border and pattern combos and the sample cell. An edit changes the current
// item's format and is copied to every other selected item of the list; on the cells page of
// the extensions the same sheets edit the selected extra cell's format.
#include <QObject>
#include <functional>
#include <initializer_list>

#include "export/dialog/style_lists.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vantrix {

class TVantrix3DialogF;
class TxlsFormat;
// Which values the selected items do not share.
struct TXLSMixedValues;

class TXLSFormatEditor : public QObject {
 public:
  // Connects the sheets, the lists and the painted controls of the form.
  explicit TXLSFormatEditor(TVantrix3DialogF& form);
  ~TXLSFormatEditor() override;

  // The list of the data-format tab's active sheet; null while another tab is shown.
  QTreeWidget* CurrXLSListView() const;
  // The item the editor shows and changes: the current list's focused item when it is
  // selected, else its first selected item; null with nothing selected.
  QTreeWidgetItem* CurrXLSItem() const;
  // The format being edited: the current item's on the data-format tab, the selected extra
  // cell's on the extensions tab; null otherwise.
  TxlsFormat* CurrXLSFormat() const;

  // A list's selection into the editor: one item shows its values, several the current one's
  // with the values they do not share left empty. Lists not shown are left alone.
  void lstXLSFieldsChange(QTreeWidget* list);
  // The format being edited shown again (a sheet or tab turned to, a coupled change).
  void ShowCurrent();
  void ShowXLSListItem(const TxlsFormat* format);
  void ShowXLSListItemM(QTreeWidget* list, QTreeWidgetItem* current);

  void btnXLSResetItemClick();
  void btnXLSResetAllClick();
  void rgXLSFunctionClick(int index);

  // The sheets' handlers; each does nothing without a format being edited.
  void cbxXLSFontChange(const QString& text);
  void cbxXLSFontSizeChange(const QString& text);
  void btnFontColorClick();
  void FontStyleClick(int button, bool down);
  void UnderlineClick(int button, bool down);
  void HorizontalClick(int button, bool down);
  void VerticalClick(int button, bool down);
  // Sides in the order top, bottom, left, right.
  void BorderColorClick(int side);
  void BorderClick(int side, bool down);
  void BorderChange(int side);
  void btnFillBackgroundClick();
  void btnFillForegroundClick();
  void cmbPatternChange();

 private:
  void ConnectLists();
  void ConnectFontSheet();
  void ConnectBorderAndFillSheets();
  void ConnectPainting();
  // The change on the format being edited, then copied to the selected items, the hyperlinks
  // refreshed and the named controls and the sample repainted. False without a format.
  bool Edit(const std::function<void(TxlsFormat&)>& change, TListItemCopier copy,
            std::initializer_list<const char*> repaint = {});
  void CopyToSelected(TListItemCopier copy);
  void RefreshHyperlinks();
  void ShowValues(const TxlsFormat& format, const TXLSMixedValues& mixed);
  void ShowToggles(const TxlsFormat& format);
  void Repaint(std::initializer_list<const char*> names);
  void RepaintAll();

  TVantrix3DialogF& form_;
};

}  // namespace vantrix
