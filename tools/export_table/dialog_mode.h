#pragma once
// export_table --dialog: the export dialog on the generated table.
#include <string>

namespace exporttable {

// Runs the dialog for a person; with a directory, saves a PNG of every page and inner page
// there instead of waiting. With a format (its file extension, or "clipboard") and an output
// file, drives the dialog instead: chooses the format, types the file name, presses Start
// and the progress window's button at the end, as a person would, and then, given a file to
// save the options to, saves them from the Tools menu. With an options file, the dialog opens
// with it loaded. The process's exit code.
int RunExportDialog(int argc, char** argv, int rows, const std::string& screenshotDir,
                    const std::string& runFormat = {}, const std::string& output = {},
                    const std::string& optionsFile = {}, const std::string& saveOptionsFile = {});

}  // namespace exporttable
