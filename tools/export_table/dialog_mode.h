#pragma once
// export_table --dialog: the export dialog on the generated table.
#include <string>

namespace exporttable {

// Runs the dialog for a person; with a directory, saves a PNG of every page and inner page
// there instead of waiting. The process's exit code.
int RunExportDialog(int argc, char** argv, int rows, const std::string& screenshotDir);

}  // namespace exporttable
