#pragma once
// The language file "Tervana.trl": plain code page 1252 text, one interface text per line.
// A section starts at a heading line ("# " + section name); the lines after it are that
// form's texts in an order fixed by the form. There is no end marker and no count, so a
// form reads positionally and must stop at the end of the list: a short or missing section
// leaves the form's remaining built-in texts in place.
//
// One program-wide list is loaded by the main window at its creation; every form consults it
// when it is created, and only when it was loaded.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

inline constexpr std::string_view kLanguageFileName = "Tervana.trl";

// The texts of one section: Text(1) is the line right after the heading.
class LanguageSection {
 public:
  LanguageSection() = default;
  LanguageSection(const std::vector<std::string>* lines, std::size_t headingIndex)
      : lines_(lines), heading_(headingIndex) {}

  bool Found() const { return lines_ != nullptr; }
  // Line n after the heading (n from 1), or null when the section or the list ends first.
  const std::string* Text(std::size_t n) const;
  // How many lines follow the heading up to the end of the list.
  std::size_t Available() const;

 private:
  const std::vector<std::string>* lines_ = nullptr;
  std::size_t heading_ = 0;
};

class LanguageList {
 public:
  // Replaces the list with the file's lines. True (and loaded) when the file was read;
  // a missing or unreadable file, or anything but a regular file (a named pipe, a device),
  // leaves the list empty and not loaded, and is never waited on.
  bool LoadFromFile(const std::string& path);
  // Replaces the list with the lines of a text held in memory, and marks it loaded.
  void LoadFromText(std::string_view bytes);
  void Clear();

  bool Loaded() const { return loaded_; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // The first line equal to the heading (whole line, byte for byte, case-sensitive).
  // An unloaded list finds nothing.
  LanguageSection Section(std::string_view heading) const;

 private:
  std::vector<std::string> lines_;
  bool loaded_ = false;
};

// Splits a text into lines at CR LF, LF or a lone CR; a final line end adds no empty line.
// A leading UTF-8 byte-order mark marks a file saved as UTF-8: it is dropped and the text
// converted to code page 1252, so such a file reads like the code page file it stands for.
std::vector<std::string> SplitLanguageText(std::string_view bytes);

// The program-wide list.
LanguageList& ProgramLanguage();

// Assigns a section's texts in order: target i receives line i + 1. A null target reads a
// line without using it (a position kept for the file's layout). Targets past the end of the
// section get nothing. Nothing happens unless the list is loaded and the heading is found.
// Returns how many targets received a text.
using LanguageTextTarget = std::function<void(const std::string&)>;
std::size_t ApplyLanguageSection(const LanguageList& list, std::string_view heading,
                                 const std::vector<LanguageTextTarget>& targets);
inline std::size_t ApplyLanguageSection(const LanguageList& list, std::string_view heading,
                                        std::initializer_list<LanguageTextTarget> targets) {
  return ApplyLanguageSection(list, heading, std::vector<LanguageTextTarget>(targets));
}

}  // namespace ui
