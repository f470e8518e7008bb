#include "display/display_text.h"

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }
}  // namespace

std::string TrimText(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> SplitSeriesTitles(std::string_view titles) {
  std::vector<std::string> pieces;
  for (;;) {
    size_t at = titles.find(kSeriesTitleEnd);
    if (at == std::string_view::npos) break;
    pieces.push_back(TrimText(titles.substr(0, at)));
    titles.remove_prefix(at + kSeriesTitleEnd.size());
  }
  return pieces;
}
