// The language file: the input is the file's bytes. Lines hold no line end, a file without
// a byte-order mark loses no byte but its line ends, and a section hands out exactly the
// lines that follow its heading.
#include "fuzz/fuzz_target.h"
#include "ui/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ui::LanguageList list;
  list.LoadFromText(bytes);
  const std::vector<std::string>& lines = list.Lines();
  const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  size_t kept = 0;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    kept += line.size();
  }
  if (!utf8) {
    size_t breaks = 0;
    for (char c : bytes) breaks += c == '\r' || c == '\n';
    FUZZ_CHECK(kept + breaks == size);
    FUZZ_CHECK(lines.size() <= breaks + 1);
  }

  // Every heading-like line, and a heading that is not there.
  std::vector<std::string> headings{"# TMainForm", "# missing"};
  for (size_t i = 0; i < lines.size() && headings.size() < 40; ++i)
    if (lines[i].rfind("# ", 0) == 0) headings.push_back(lines[i]);
  for (const std::string& heading : headings) {
    std::vector<std::string> got;
    std::vector<ui::LanguageTextTarget> targets;
    for (int i = 0; i < 12; ++i) {
      if (i == 3) targets.emplace_back();  // a position kept for the layout
      else targets.emplace_back([&got](const std::string& text) { got.push_back(text); });
    }
    const size_t applied = ui::ApplyLanguageSection(list, heading, targets);
    FUZZ_CHECK(applied == got.size());
    const ui::LanguageSection section = list.Section(heading);
    if (!section.Found()) {
      FUZZ_CHECK(applied == 0);
      continue;
    }
    size_t n = 1;
    for (size_t i = 0; i < got.size(); ++i, ++n) {
      if (n == 4) ++n;
      const std::string* text = section.Text(n);
      FUZZ_CHECK(text != nullptr && *text == got[i]);
    }
    FUZZ_CHECK(section.Text(section.Available() + 1) == nullptr);
  }
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // A megabyte of line ends, and a UTF-8 file of long lines.
  std::string utf8 = "\xEF\xBB\xBF# TMainForm\r\n";
  for (int i = 0; i < 2000; ++i) utf8 += std::string(200, 'a') + "\xC3\xA7\xC3\xA3o\r\n";
  return {{"a megabyte of line ends", std::string(1 << 20, '\n')}, {"UTF-8 with a byte-order mark", utf8}};
}
