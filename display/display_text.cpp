#include "display/display_text.h"
#include "platform/text_trim.h"

std::vector<std::string> SplitSeriesTitles(std::string_view titles) {
  std::vector<std::string> pieces;
  for (;;) {
    size_t at = titles.find(kSeriesTitleEnd);
    if (at == std::string_view::npos) break;
    pieces.push_back(platform::TrimBlanks(titles.substr(0, at)));
    titles.remove_prefix(at + kSeriesTitleEnd.size());
  }
  return pieces;
}
