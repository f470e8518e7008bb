#pragma once
// The list side of the dialog's style editors: copying one attribute of the current item's
// format to another item, resetting items to their defaults, renumbering strip styles, the
// strip-style files (".xst" for the spreadsheet, ".rst" for RTF), and bringing the
// spreadsheet's field-format list in line with the exported fields.
//
// The current item is the list item whose format the editor shows and changes. Spreadsheet
// list items carry a TxlsCustomItem (a format or a field format), RTF list items a TrtfStyle.
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace vantrix {

class TVantrix3DialogF;
class TxlsFormat;
class TrtfStyle;

// The format or style a list item carries; null when it carries none of that kind.
TxlsFormat* XLSItemFormat(const QTreeWidgetItem* item);
TrtfStyle* RTFItemStyle(const QTreeWidgetItem* item);

// A font size typed into a size box: a number kept within 1..409 points (the largest a
// spreadsheet font record holds), whenNoNumber for text that is no number.
int XLSFontSizeFromText(const QString& text, int whenNoNumber = 10);

// Each copies one attribute from the current item's format to the item's; nothing when the
// item is the current one or either carries no format.
using TListItemCopier = void (*)(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFont(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFontSize(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFontColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFontBold(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFontItalic(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFontStrikeOut(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFontUnderline(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemHorAlignment(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemVertAlignment(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderTop(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderBottom(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderLeft(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderRight(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderTopColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderBottomColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderLeftColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemBorderRightColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFillPattern(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFillBackground(QTreeWidgetItem* current, QTreeWidgetItem* item);
void XLSUpdateItemFillForeground(QTreeWidgetItem* current, QTreeWidgetItem* item);
// Field formats only.
void XLSUpdateItemAggregate(QTreeWidgetItem* current, QTreeWidgetItem* item);

void RTFUpdateItemFont(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemFontSize(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemFontColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemFontBold(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemFontItalic(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemFontStrikeOut(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemFontUnderline(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemBackgroundColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemHighlightColor(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemAllowBackground(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemAllowHighlight(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemAlignment(QTreeWidgetItem* current, QTreeWidgetItem* item);

// Whether the item is the caption element ("CAPTION", any case), which resets keep bold.
bool IsCaptionElement(const QTreeWidgetItem* item);
// Whether the item is the hyperlink element (the fifth of the element list), which resets
// give the hyperlink look (blue, underlined) that is its default.
bool IsHyperlinkElement(const QTreeWidgetItem* item);
// The item's format back to its defaults: the caption element's bold, the hyperlink
// element's blue and underlined, plain defaults for any other.
void ResetXLSItemFormat(QTreeWidgetItem* item);

// Unless the item is the current one, the item's format back to its defaults
// (ResetXLSItemFormat, or the caption element's for RTF).
void XLSUpdateItemSetDefault(QTreeWidgetItem* current, QTreeWidgetItem* item);
void RTFUpdateItemSetDefault(QTreeWidgetItem* current, QTreeWidgetItem* item);

// Asks whether every format of a style list is to go back to its defaults (No is the default
// answer); false when the answer is No.
bool ConfirmResetAll(TVantrix3DialogF& form);

// Every item of the list back to its defaults, the caption element bold, current included
// when it exists; the current item's row is selected again and changed runs for it.
using TListItemChanged = std::function<void(QTreeWidgetItem*)>;
void XLSResetAllItems(QTreeWidget* list, QTreeWidgetItem* current, const TListItemChanged& changed = {});
void RTFResetAllItems(QTreeWidget* list, QTreeWidgetItem* current, const TListItemChanged& changed = {});
// The same over several lists (stopping at a missing one), without selecting (options being
// loaded).
void XLSResetAllItems_A(std::initializer_list<QTreeWidget*> lists, QTreeWidgetItem* current);
void RTFResetAllItems_A(std::initializer_list<QTreeWidget*> lists, QTreeWidgetItem* current);

// Item i of a strip-style list captioned "ITEM_" and i + 1; the selection kept.
void RenumStyles(QTreeWidget* list);
void XLSRenumStyles(TVantrix3DialogF& form);
void RTFRenumStyles(TVantrix3DialogF& form);
// Delete, up, down and save enabled as the strip-style list's selection allows.
void XLSShowStyleButtons(TVantrix3DialogF& form);
void RTFShowStyleButtons(TVantrix3DialogF& form);

// The strip-style list into a style file (every section of the file replaced): item i in the
// section "XLS_STYLE_" i, or "RTF_STRIP_STYLE_" i. False when the file could not be written,
// and then reason (when given) says why, as the system or the INI file puts it.
bool XLSSaveStyle(TVantrix3DialogF& form, const std::string& fileName, std::string* reason = nullptr);
bool RTFSaveStyle(TVantrix3DialogF& form, const std::string& fileName, std::string* reason = nullptr);
// The strip-style list from a style file: one item per section with the prefix (any case), in
// file order, captioned "ITEM_" with the rest of the section name; the first selected. A file
// that cannot be read raises EVantrixError and leaves the list as it was.
void XLSLoadStyle(TVantrix3DialogF& form, const std::string& fileName);
void RTFLoadStyle(TVantrix3DialogF& form, const std::string& fileName);

// The field-format list in the order of the exported fields, exported ones marked (image 1)
// and the rest not (image 0); with no field exported, every field but a blob column marked.
void CorrectXLSFieldsList(TVantrix3DialogF& form);

}  // namespace vantrix
