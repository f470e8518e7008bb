#include "export/html_writer.h"

#include <filesystem>
#include <system_error>

#include "export/common_text.h"
#include "export/html_options.h"

namespace vantrix {

void AppendHTMLEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '"': out += "&quot;"; break;
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out.push_back(c);
    }
  }
}

std::string HTMLEscaped(std::string_view text) {
  std::string out;
  AppendHTMLEscaped(out, text);
  return out;
}

std::string URLReference(std::string_view fileName, std::string_view alsoEncoded) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(fileName.size());
  for (const char c : fileName) {
    const auto byte = static_cast<unsigned char>(c);
    // Space and the control bytes are <= 0x20; DEL and every byte of a non-ASCII letter >= 0x7F.
    if (byte <= 0x20 || byte >= 0x7F || std::string_view("\"%#?<>").find(c) != std::string_view::npos ||
        alsoEncoded.find(c) != std::string_view::npos) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out.push_back(c);
    }
  }
  return out;
}

namespace {

bool IsFontNameLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') return true;
  // Code page 1252's letters: the accented ones of 0xC0..0xFF but the signs of multiplication
  // and division, and the few with a case pair in 0x80..0x9F.
  if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
  return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

// An identifier begins with neither a digit nor '-' followed by a digit or another '-'.
bool BeginsIdentifier(std::string_view word) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (word.empty() || digit(word[0])) return false;
  return !(word[0] == '-' && word.size() > 1 && (digit(word[1]) || word[1] == '-'));
}

}  // namespace

std::string CSSFontFamily(std::string_view name) {
  std::string out;
  bool quoted = false;
  size_t wordStart = 0;
  const auto endWord = [&] {
    if (out.size() > wordStart && !BeginsIdentifier(std::string_view(out).substr(wordStart))) quoted = true;
  };
  for (const char c : name) {
    if (c == ' ' || c == '\t') {
      if (!out.empty() && out.back() != ' ') {
        endWord();
        out.push_back(' ');
        wordStart = out.size();
      }
    } else if (IsFontNameLetter(static_cast<unsigned char>(c))) {
      out.push_back(c);
    }
  }
  endWord();
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return quoted && !out.empty() ? '"' + out + '"' : out;
}

void TVantrixHTMLWriter::WriteTITLE(std::string_view title) { WriteLn(" <Title>" + HTMLEscaped(title) + "</Title>"); }

void TVantrixHTMLWriter::WriteCSSLink(std::string_view file) {
  WriteLn(" <link rel=\"stylesheet\" type=\"text/css\" href=\"" + HTMLEscaped(URLReference(file)) + "\">");
}

void TVantrixHTMLWriter::WriteTABLE(int border, int padding, int spacing, const std::string& backgroundFile) {
  std::string line = "<Table Border=\"" + std::to_string(border) + "\" Cellpadding=\"" + std::to_string(padding) +
                     "\" Cellspacing=\"" + std::to_string(spacing) + "\"";
  std::error_code error;
  if (!backgroundFile.empty() && std::filesystem::exists(backgroundFile, error))
    line += " Background=\"" + HTMLEscaped(URLReference(backgroundFile)) + "\"";
  WriteLn(line + ">");
}

void TVantrixHTMLWriter::WriteCaptionRowTD(std::string_view text) {
  Write("    <td class=\"ThRows\">");
  Write(text);
  WriteLn("</td>");
}

void TVantrixHTMLWriter::WriteOddRowTD(std::string_view cell) {
  Write("    <td class=\"TrOdd\"");
  Write(cell);
  WriteLn("</td>");
}

void TVantrixHTMLWriter::WriteEvenRowTD(std::string_view cell) {
  Write("    <td class=\"TrRows\"");
  Write(cell);
  WriteLn("</td>");
}

std::string TVantrixHTMLWriter::AlignToStr(TVantrixColAlign align) const {
  switch (align) {
    case ecaCenter: return "Center";
    case ecaRight: return "Right";
    default: return "Left";
  }
}

TStrings TVantrixHTMLWriter::LocationLinks(const TVantrixHTMLNavigation& titles, const std::string& baseFileName,
                                           int count, int current, bool top, bool withIndex) {
  const std::string base = std::filesystem::path(baseFileName).filename().string();
  const int prior = current == 1 ? count : current - 1;
  const int next = current == count ? 1 : current + 1;
  auto link = [&base](int file, const std::string& text) {
    return "    <td><a href=\"" + HTMLEscaped(URLReference(AddNumberToFileName(base, file, 2))) + "\">" + HTMLEscaped(text) +
           "</a></td>";
  };
  auto number = [](int file) { return (file < 10 ? "0" : "") + std::to_string(file); };
  TStrings list;
  if (!top) list.push_back("<br>");
  list.push_back("<Table Border=\"0\" Cellpadding=\"4\" Cellspacing=\"1\">");
  list.push_back("  <tr>");
  if (withIndex)
    list.push_back("    <td><a href=\"" + HTMLEscaped(URLReference(base)) + "\">" + HTMLEscaped(titles.IndexLinkTitle) +
                   "</a></td>");
  list.push_back(link(1, titles.FirstLinkTitle));
  list.push_back(link(prior, titles.PriorLinkTitle));
  for (int file = 1; file <= count; ++file)
    list.push_back(file == current ? "    <td><b>" + number(file) + "</b></td>" : link(file, number(file)));
  list.push_back(link(next, titles.NextLinkTitle));
  list.push_back(link(count, titles.LastLinkTitle));
  list.push_back("  </tr>");
  list.push_back("</Table>");
  if (top) list.push_back("<br>");
  return list;
}

}  // namespace vantrix
