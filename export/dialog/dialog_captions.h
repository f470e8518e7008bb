#pragma once
// Every text of the export dialog form comes from the library's string table: one table of
// (control, kind of assignment, string ids) and a short applier, so that a replacement string
// table translates the whole dialog.
#include <vector>

class QWidget;

namespace vantrix {

enum class TCaptionKind {
  Caption,     // the caption or text (a tab page: its tab's text; a menu item: its text)
  Hint,        // the tool tip of a button that shows no caption
  Items,       // the items of a radio group or combo box, replaced one by one from item 0
  ItemsAdded,  // the items of a radio group or combo box, cleared and added in this order
};

struct TCaptionEntry {
  const char* name;
  TCaptionKind kind;
  std::vector<int> ids;
};

inline std::vector<int> Ids(int first, int count) {
  std::vector<int> ids;
  for (int i = 0; i < count; ++i) ids.push_back(first + i);
  return ids;
}

const std::vector<TCaptionEntry>& DialogCaptionTable();

// Writes each entry's texts into the form's control of that name. A control the form lacks is
// skipped; a combo box keeps the item it showed when that item still exists.
void ApplyCaptions(QWidget* form, const std::vector<TCaptionEntry>& table);

}  // namespace vantrix
