#pragma once
// A language file for the tests that puts a recognisable text on every line of every section
// the main window, the about box and the append-or-overwrite dialog read.
#include <QString>
#include <string>

namespace apptest {

// Line n of a section: "<tag> <n> ação" (with a non-ASCII text, so the code page shows).
QString TestText(const char* tag, int n);

// The file's bytes in code page 1252 with the given line end.
std::string MakeTestLanguageFile(const std::string& lineEnd = "\r\n");

// Writes bytes to dir/Tervana.trl.
void WriteLanguageFile(const QString& dir, const std::string& bytes);

}  // namespace apptest
