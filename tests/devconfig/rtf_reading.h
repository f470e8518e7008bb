#pragma once
// Reading back the RTF we write with readers we did not write: a short RTF tokenizer of the
// tests' own in Python (paragraphs with their alignment, page breaks and formatted runs) and
// Debian's unrtf (the text as a word processor's reader sees it).
#include <sstream>
#include <string>
#include <vector>

#include "devconfig/rtf_document.h"
#include "platform/cp1252.h"
#include "tests/devconfig/tool_output.h"

namespace devconfigtest {

inline std::string FormatText(const devconfig::RtfFormat& f) {
  return std::to_string(f.size) + "/" + (f.bold ? "1" : "0") + "/" + (f.italic ? "1" : "0") + "/" +
         (f.underline ? "1" : "0");
}

inline std::string EscapedRunText(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '|') out += "\\|";
    else out += c;
  }
  return out;
}

// The document's paragraphs as the tokenizer prints them: "<l|c|r> <page> <mark>|<run>...",
// runs "size/b/i/u:text" in UTF-8, adjacent runs of one format joined.
inline std::vector<std::string> ParagraphLines(const devconfig::RtfDocument& doc) {
  std::vector<std::string> lines;
  for (const devconfig::RtfParagraph& p : doc.paragraphs) {
    const char align = p.alignment == devconfig::RtfAlignment::Center  ? 'c'
                       : p.alignment == devconfig::RtfAlignment::Right ? 'r'
                                                                       : 'l';
    std::string line = std::string(1, align) + " " + (p.pageBreakBefore ? "1" : "0") + " " + FormatText(p.mark);
    std::vector<std::pair<std::string, std::string>> runs;
    for (const devconfig::RtfRun& r : p.runs) {
      if (r.text.empty()) continue;
      const std::string f = FormatText(r.format);
      if (!runs.empty() && runs.back().first == f) {
        runs.back().second += r.text;
      } else {
        runs.emplace_back(f, r.text);
      }
    }
    for (const auto& [f, text] : runs) line += "|" + f + ":" + EscapedRunText(platform::Cp1252ToUtf8(text));
    lines.push_back(line);
  }
  return lines;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The file's paragraphs as the Python tokenizer reads them.
inline std::vector<std::string> TokenizedParagraphs(const std::string& path) {
  const ToolOutput r = RunTool("/usr/bin/python3 " + Quoted(TERVANA_RTF_PARAGRAPHS) + " " + Quoted(path));
  if (r.exitCode != 0) return {"tokenizer failed"};
  return Lines(r.out);
}

// The file's text as unrtf gives it, without unrtf's own comment lines, in UTF-8 (its text
// output holds the document's bytes of code page 1252).
inline std::string UnrtfText(const std::string& path) {
  const ToolOutput r = RunTool("unrtf --nopict --text " + Quoted(path) + " 2>/dev/null");
  if (r.exitCode != 0) return "unrtf failed";
  std::string text;
  for (const std::string& line : Lines(r.out)) {
    if (line.rfind("###", 0) == 0 || line.rfind("-----", 0) == 0) continue;
    text += line + "\n";
  }
  return platform::Cp1252ToUtf8(text);
}

}  // namespace devconfigtest
