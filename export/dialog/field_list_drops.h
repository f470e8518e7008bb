#pragma once
// Dragging fields between the available and the exported field lists, and within the
// available list. A drop moves the whole list item, so a field keeps its column index (which
// the run reads to leave blob columns out) and its picture.
class QObject;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantrix {

class TVantrix3DialogF;

// A drop is taken from a list view only.
bool FieldsListDragOver(const QObject* source);
// From the available list itself: its selected item goes to the place of the item dropped on
// (none: nothing). From the exported list: its selected item goes back among the available
// fields in column order.
void lstAvailableFieldsDragDrop(TVantrix3DialogF& form, QObject* source, QTreeWidgetItem* target);
// The source list's selected item (from either list) goes to the end of the exported fields.
void lstExportedFieldsDragDrop(TVantrix3DialogF& form, QObject* source);
// Lets both lists drag and take drops through the handlers above.
void ConnectFieldListDrops(TVantrix3DialogF& form);

}  // namespace vantrix
