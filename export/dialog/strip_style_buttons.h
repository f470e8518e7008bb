#pragma once
// The tool buttons of a strip-style list (spreadsheet or RTF): the lists differ only in their
// names, how they renumber, which buttons they enable and which style file they read and write.
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace vantrix {

class TVantrix3DialogF;

using TStripStyleStep = void (*)(TVantrix3DialogF&);

// Clears the selection and selects and focuses the item (none for null).
void SelectOnly(QTreeWidget* list, QTreeWidgetItem* item);
void DeleteSelectedStripStyles(TVantrix3DialogF& form, QTreeWidget* list, TStripStyleStep renumber,
                               TStripStyleStep showButtons);
void MoveStripStyle(TVantrix3DialogF& form, QTreeWidget* list, int step, TStripStyleStep showButtons);
// The form's file dialog of that name, then the style file saved (a failure told with its
// reason) or loaded.
void SaveStripStyles(TVantrix3DialogF& form, const char* dialogName,
                     bool (*save)(TVantrix3DialogF&, const std::string&, std::string*));
void LoadStripStyles(TVantrix3DialogF& form, const char* dialogName,
                     void (*load)(TVantrix3DialogF&, const std::string&));

}  // namespace vantrix
