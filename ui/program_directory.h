#pragma once
// The program directory: where the language file, the help file and "lasttime.env" live.
// It is the directory of the executable; the entry function sets it at start-up, and tests
// point it at a folder of their own.
#include <string>
#include <string_view>

namespace ui {

// The directory, without a trailing separator ("" until set).
const std::string& ProgramDirectory();
void SetProgramDirectory(std::string directory);

// directory + "/" + fileName (or fileName alone while no directory is set).
std::string ProgramFilePath(std::string_view fileName);

}  // namespace ui
