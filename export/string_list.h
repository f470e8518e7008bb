#pragma once
// The string lists of the export library's properties (exported fields, header and footer
// lines, and the "name=value" lists of captions, formats, widths, alignments and lengths), with
// the framework's lookups: names and texts compare without regard to case, a line's name is
// its text before the first "=" and its value the text after it.
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrix {

using TStrings = std::vector<std::string>;

std::string_view LineName(std::string_view line);
std::string_view LineValue(std::string_view line);
// The first line whose name is the given one; -1 when none.
int IndexOfName(const TStrings& lines, std::string_view name);
// The value of the first line of that name; false when there is none.
bool FindValue(const TStrings& lines, std::string_view name, std::string& value);
// The first line equal to the text; -1 when none.
int IndexOfText(const TStrings& lines, std::string_view text);

// The lines of a "name=value" list by name, for looking up many names in it: the value of the
// first line of a name, as FindValue gives it, without a walk through the list for each. It
// reads the list it was made from, which must outlive it unchanged.
class TNameIndex {
 public:
  explicit TNameIndex(const TStrings* lines = nullptr);
  // The value of the first line of that name; false when there is none (or no list).
  bool FindValue(std::string_view name, std::string& value) const;

 private:
  const TStrings* lines_;
  std::unordered_map<std::string, size_t> first_;  // by the name with its letters folded
};

// A "name=value" list changed line by line through an index of its names, so that setting n
// lines costs n look-ups. Set gives the first line of the name the value, or adds a line at
// the end when there is none; an empty value removes that first line instead. Removed lines
// leave the list when the editor goes.
class TNameValueEditor {
 public:
  explicit TNameValueEditor(TStrings& lines);
  ~TNameValueEditor();
  TNameValueEditor(const TNameValueEditor&) = delete;
  TNameValueEditor& operator=(const TNameValueEditor&) = delete;

  void Set(const std::string& name, const std::string& value);

 private:
  TStrings& lines_;
  std::vector<bool> removed_;
  std::unordered_map<std::string, std::deque<size_t>> byName_;  // each name's lines in list order
};

}  // namespace vantrix
