#pragma once
// The export library's numbered texts (ids 34000 to 34509): format names, file filters,
// messages and the export dialog's captions. Every one is fetched through VantrixLoadStr, so
// that a host can translate the whole library: by a hook, or by a replacement file of
// "id=text" lines loaded with LoadDll. Texts are code page 1252 bytes.
#include <functional>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantrix {

inline constexpr int kFirstLibraryString = 34000;
inline constexpr int kLastLibraryString = 34509;

// Ids the engine itself raises with.
inline constexpr int kStrSourceNotAssigned = 34014;  // "Export source (%s) is not assigned"
inline constexpr int kStrSourceClosed = 34016;       // "Export source (%s) is closed"
inline constexpr int kStrSourceEmpty = 34017;        // "Export source (%s) is empty"
inline constexpr int kStrNoResultFileName = 34023;   // "Result file name not present"
inline constexpr int kStrCannotCreateDir = 34025;    // "Directory "%s" not found and cannot be created"

// A hook may answer for an id by setting the text; an empty answer falls back to the tables.
using TLocalizeEvent = std::function<void(int stringId, std::string& result)>;

class TVantrixLocale {
 public:
  // The text of an id: the hook's answer when it gives one, else the loaded replacement file's
  // text for the id (a file that leaves an id out keeps the built-in text, so a partial
  // translation loses nothing), else the built-in table. An id nobody knows gives an empty
  // text. Texts are cut to 1023 characters, as the fixed buffer of the original cut them.
  std::string LoadStr(int id) const;

  // Replaces the texts by those of a file of "id=text" lines (code page 1252; the text is
  // taken exactly after the first "=", blanks included; "\n", "\t" and "\\" stand for a line
  // break, a tab and a backslash; lines that are not an id in range are ignored). A previous
  // file is dropped first. False, with nothing loaded, when the file cannot be read or is no
  // regular file (a named pipe or a device is never waited on).
  bool LoadDll(const std::string& path);
  void UnloadDll();
  bool Loaded() const { return loaded_; }

  void SetHook(TLocalizeEvent hook) { hook_ = std::move(hook); }
  const TLocalizeEvent& Hook() const { return hook_; }

 private:
  bool loaded_ = false;
  std::map<int, std::string> replacement_;
  TLocalizeEvent hook_;
};

// The one locale object of the process.
TVantrixLocale& VantrixLocale();
std::string VantrixLoadStr(int id);

// The built-in text of an id, empty when the table has none.
std::string_view BuiltInLibraryString(int id);
// Every id the built-in table holds, ascending (for tests and tools).
std::vector<int> BuiltInLibraryStringIds();

// The framework's Format for the library's messages: "%s" and "%d" take the arguments in
// order, "%%" is one "%"; a directive without an argument is left as written.
std::string FormatLibraryText(std::string_view pattern, std::initializer_list<std::string_view> args);

// The library's error: its text is code page 1252 (what() gives the bytes).
class EVantrixError : public std::runtime_error {
 public:
  explicit EVantrixError(const std::string& message) : std::runtime_error(message) {}
};

// Raises the library string id formatted with one argument.
[[noreturn]] void RaiseLibraryError(int id, std::string_view argument);

}  // namespace vantrix
