#pragma once
// Editing the spreadsheet formats and RTF styles that the dialog's list items carry, palette
// colour lookups, and moving list items within and between lists. None of it runs during an
// export: these change the objects the style pages show.
#include <cstdint>
#include <vector>

#include "export/rtf_style.h"
#include "export/vantrix_font.h"
#include "export/xls/xls_format.h"

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace vantrix {

void EditFontStyleXLS(TxlsFont& font, TxlsFontStyle style, bool on);

// On the RTF style (TrtfStyle) or the spreadsheet format (TxlsFormat) a list item carries; an
// item that is missing or carries nothing is left alone.
void RTFItemEditFontStyle(QTreeWidgetItem* item, TFontStyle style, bool on);
void RTFItemSetAlignment(QTreeWidgetItem* item, TrtfTextAlignment alignment);
void XLSItemEditFontStyle(QTreeWidgetItem* item, TxlsFontStyle style, bool on);
void XLSItemSetUnderline(QTreeWidgetItem* item, TxlsFontUnderline underline);
void XLSItemSetHorAlignment(QTreeWidgetItem* item, TxlsHorizontalAlignment alignment);
void XLSItemSetVertAlignment(QTreeWidgetItem* item, TxlsVerticalAlignment alignment);

// On the font and alignment a spreadsheet item reaches by its kind: a format or field format
// its own, a note format its own, a hyperlink its format's, a note its box format's. Other
// kinds and null are left alone.
TxlsFont* XLSCustomItemFont(TxlsCustomItem* item);
TxlsAlignment* XLSCustomItemAlignment(TxlsCustomItem* item);
void XLSCustomFormatEditFontStyle(TxlsCustomItem* item, TxlsFontStyle style, bool on);
void XLSCustomItemSetUnderline(TxlsCustomItem* item, TxlsFontUnderline underline);
void XLSCustomItemSetHorAlignment(TxlsCustomItem* item, TxlsHorizontalAlignment alignment);
void XLSCustomItemSetVertAlignment(TxlsCustomItem* item, TxlsVerticalAlignment alignment);

// The colour value of a palette entry; back, the first of the 40 named entries with that
// value (the user-defined entries clrColor1..clrColor16 are never the answer), clrBlack when
// none has it.
uint32_t ColorByXLSColor(TxlsColor color);
TxlsColor ColorToXLSColor(uint32_t color);

// The pressed look of a button's colour box: one pixel right and down, and back.
void IncLeftAndTop(QWidget* control);
void DecLeftAndTop(QWidget* control);

// Moves an item to another position of its list: the items between shift by one (caption,
// image and attached object go from neighbour to neighbour). Nothing for a negative or
// missing position, a missing item or the item's own position.
void SetListItemIndex(QTreeWidgetItem* item, int newIndex);
// Puts the content (caption, image, attached object) that the item at order[p] holds into the
// item at p, for every position of the list: order lists each position once.
void SetListOrder(QTreeWidget* list, const std::vector<int>& order);
// Copies an item (caption and attached object) into the target list, at the end for a
// negative index, and removes the source item when asked; the source list then selects the
// item now at the old position, else its last item, and nothing when it is left empty.
// The new item, or null when the item or the target is missing.
QTreeWidgetItem* MoveListItem(QTreeWidgetItem* item, QTreeWidget* target, bool deleteSource, int index);

}  // namespace vantrix
