#include "export/library_strings.h"

#include <cerrno>
#include <cstdio>

#include "platform/regular_file.h"

namespace vantrix {
namespace {

constexpr size_t kMaxTextLength = 1023;

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == 'n' || next == 't' || next == '\\') {
        out.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : '\\');
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

bool ParseId(std::string_view text, int& id) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 6) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  id = value;
  return id >= kFirstLibraryString && id <= kLastLibraryString;
}

std::string Cut(std::string text) {
  if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
  return text;
}

}  // namespace

std::string TVantrixLocale::LoadStr(int id) const {
  if (hook_) {
    std::string answer;
    hook_(id, answer);
    if (!answer.empty()) return answer;
  }
  if (loaded_) {
    auto found = replacement_.find(id);
    if (found != replacement_.end()) return found->second;
  }
  return Cut(std::string(BuiltInLibraryString(id)));
}

bool TVantrixLocale::LoadDll(const std::string& path) {
  UnloadDll();
  std::string text;
  if (!platform::ReadRegularFile(path, text)) return false;
  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest = eol == rest.npos ? std::string_view() : rest.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t eq = line.find('=');
    int id = 0;
    if (eq == line.npos || !ParseId(line.substr(0, eq), id)) continue;
    replacement_[id] = Cut(Unescape(line.substr(eq + 1)));
  }
  loaded_ = true;
  return true;
}

void TVantrixLocale::UnloadDll() {
  replacement_.clear();
  loaded_ = false;
}

TVantrixLocale& VantrixLocale() {
  static TVantrixLocale locale;
  return locale;
}

std::string VantrixLoadStr(int id) { return VantrixLocale().LoadStr(id); }

std::string FormatLibraryText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size()) {
      const char kind = pattern[i + 1];
      if (kind == '%') {
        out.push_back('%');
        ++i;
        continue;
      }
      if ((kind == 's' || kind == 'd') && next != args.end()) {
        out.append(*next++);
        ++i;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

void RaiseLibraryError(int id, std::string_view argument) {
  throw EVantrixError(FormatLibraryText(VantrixLoadStr(id), {argument}));
}

}  // namespace vantrix
