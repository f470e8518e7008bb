#pragma once
// What an exporter asks of the desktop after a run: open the result in the program the user
// has for it, print it, or put text on the clipboard. Replaceable, so tests and headless tools
// never reach the desktop.
#include <string>

namespace vantrix {

class TVantrixShell {
 public:
  virtual ~TVantrixShell() = default;
  // Empty when it worked, else why not (code page 1252 text). Paths are in the file system's
  // encoding.
  virtual std::string Open(const std::string& path) = 0;
  virtual std::string Print(const std::string& path) = 0;
  virtual std::string SetClipboardText(const std::string& cp1252Text) = 0;
};

// The desktop's: opens with the desktop's default program, prints PDF and plain text (txt,
// csv, sql) with lp and reports other formats as not printable here, and uses the GUI's
// clipboard (reported as unavailable without a GUI application).
TVantrixShell& DefaultVantrixShell();

}  // namespace vantrix
