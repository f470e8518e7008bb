#pragma once
// The file dialogs of the export dialog form, by the names the handlers know them: options
// files, spreadsheet and RTF style files, HTML templates, style sheets and background
// pictures. The export file's own dialog takes the chosen format's filter (ExportTypeFilters).
#include <string>
#include <string_view>

#include "export/dialog/dialog_services.h"

namespace vantrix {

// The request of the named dialog ("odOptions", "sdXLSStyle", ...); an unknown name gets a
// request for any file.
FileRequest FormFileDialog(std::string_view name);

// A chosen file's name as the file system spells it, for opening the file. A path is not
// text of the core: turned into code page 1252, a folder whose name holds an accented letter
// would name another folder, or none.
std::string FileSystemName(const QString& file);
QString FromFileSystemName(const std::string& name);

}  // namespace vantrix
