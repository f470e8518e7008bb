#pragma once
// A rich-text document as paragraphs of formatted runs, and its RTF text: a header with code
// page 1252 and one font, each paragraph with its alignment, each run with its size, bold,
// italic and underline, tabs as "\tab", a page break where a paragraph asks for one, and the
// text escaped so that no user text can end a group or start a control word. No Qt: the text
// stays code page 1252 bytes.
#include <string>
#include <vector>

namespace devconfig {

enum class RtfAlignment { Left, Center, Right };

struct RtfFormat {
  int size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const RtfFormat&) const = default;
};

struct RtfRun {
  std::string text;  // code page 1252; a tab is a tab stop
  RtfFormat format;
  bool operator==(const RtfRun&) const = default;
};

struct RtfParagraph {
  RtfAlignment alignment = RtfAlignment::Left;
  // The paragraph mark's format: it sets the height of an empty paragraph.
  RtfFormat mark;
  bool pageBreakBefore = false;  // the paragraph starts a new page
  std::vector<RtfRun> runs;

  std::string Text() const;  // the runs' texts joined
  bool operator==(const RtfParagraph&) const = default;
};

struct RtfDocument {
  std::string fontName = "Arial";
  std::vector<RtfParagraph> paragraphs;
};

std::string WriteRtf(const RtfDocument& document);

}  // namespace devconfig
