#include "ui/language_file.h"

#include "platform/cp1252.h"
#include "platform/regular_file.h"

namespace ui {

const std::string* LanguageSection::Text(std::size_t n) const {
  if (lines_ == nullptr || n == 0) return nullptr;
  const std::size_t index = heading_ + n;
  if (index >= lines_->size()) return nullptr;
  return &(*lines_)[index];
}

std::size_t LanguageSection::Available() const {
  if (lines_ == nullptr) return 0;
  return lines_->size() - heading_ - 1;
}

std::vector<std::string> SplitLanguageText(std::string_view bytes) {
  std::string converted;
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    converted = platform::Utf8ToCp1252(bytes.substr(kUtf8Bom.size()));
    bytes = converted;
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

bool LanguageList::LoadFromFile(const std::string& path) {
  Clear();
  std::string bytes;
  if (!platform::ReadRegularFile(path, bytes)) return false;
  lines_ = SplitLanguageText(bytes);
  loaded_ = true;
  return true;
}

void LanguageList::LoadFromText(std::string_view bytes) {
  lines_ = SplitLanguageText(bytes);
  loaded_ = true;
}

void LanguageList::Clear() {
  lines_.clear();
  loaded_ = false;
}

LanguageSection LanguageList::Section(std::string_view heading) const {
  if (!loaded_) return {};
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i] == heading) return LanguageSection(&lines_, i);
  }
  return {};
}

LanguageList& ProgramLanguage() {
  static LanguageList list;
  return list;
}

std::size_t ApplyLanguageSection(const LanguageList& list, std::string_view heading,
                                 const std::vector<LanguageTextTarget>& targets) {
  const LanguageSection section = list.Section(heading);
  if (!section.Found()) return 0;
  std::size_t applied = 0;
  std::size_t n = 1;
  for (const LanguageTextTarget& target : targets) {
    const std::string* text = section.Text(n++);
    if (text == nullptr) break;
    if (target) {
      target(*text);
      ++applied;
    }
  }
  return applied;
}

}  // namespace ui
