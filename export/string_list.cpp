#include "export/string_list.h"

#include "platform/cp1252_case.h"

namespace vantrix {

std::string_view LineName(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == line.npos ? line : line.substr(0, eq);
}

std::string_view LineValue(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == line.npos ? std::string_view() : line.substr(eq + 1);
}

int IndexOfName(const TStrings& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t eq = lines[i].find('=');
    if (eq != std::string::npos && platform::Cp1252SameText(std::string_view(lines[i]).substr(0, eq), name))
      return static_cast<int>(i);
  }
  return -1;
}

bool FindValue(const TStrings& lines, std::string_view name, std::string& value) {
  const int i = IndexOfName(lines, name);
  if (i < 0) return false;
  value = std::string(LineValue(lines[static_cast<size_t>(i)]));
  return true;
}

int IndexOfText(const TStrings& lines, std::string_view text) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (platform::Cp1252SameText(lines[i], text)) return static_cast<int>(i);
  return -1;
}

TNameIndex::TNameIndex(const TStrings* lines) : lines_(lines) {
  if (lines_ == nullptr) return;
  first_.reserve(lines_->size());
  for (size_t i = 0; i < lines_->size(); ++i) {
    const std::string_view line = (*lines_)[i];
    const size_t eq = line.find('=');
    if (eq != line.npos) first_.emplace(platform::Cp1252Folded(line.substr(0, eq)), i);  // the first one stays
  }
}

bool TNameIndex::FindValue(std::string_view name, std::string& value) const {
  const auto found = first_.find(platform::Cp1252Folded(name));
  if (found == first_.end() || found->second >= lines_->size()) return false;
  value = std::string(LineValue((*lines_)[found->second]));
  return true;
}

TNameValueEditor::TNameValueEditor(TStrings& lines) : lines_(lines), removed_(lines.size(), false) {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    const size_t eq = line.find('=');
    if (eq != line.npos) byName_[platform::Cp1252Folded(line.substr(0, eq))].push_back(i);
  }
}

TNameValueEditor::~TNameValueEditor() {
  size_t kept = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (removed_[i]) continue;
    if (kept != i) lines_[kept] = std::move(lines_[i]);
    ++kept;
  }
  lines_.resize(kept);
}

void TNameValueEditor::Set(const std::string& name, const std::string& value) {
  // A name holding "=" is the name of no line: its line is added, under the name before "=".
  std::deque<size_t>* at = nullptr;
  if (name.find('=') == std::string::npos) {
    const auto found = byName_.find(platform::Cp1252Folded(name));
    if (found != byName_.end() && !found->second.empty()) at = &found->second;
  }
  if (value.empty()) {
    if (at == nullptr) return;
    removed_[at->front()] = true;
    at->pop_front();
    return;
  }
  std::string line = name + "=" + value;
  if (at != nullptr) {
    lines_[at->front()] = std::move(line);
    return;
  }
  byName_[platform::Cp1252Folded(LineName(line))].push_back(lines_.size());
  lines_.push_back(std::move(line));
  removed_.push_back(false);
}

}  // namespace vantrix
