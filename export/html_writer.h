#pragma once
// The HTML exporter's writer: one tag a line, and the navigation bar of a multi-file export.
#include <string>
#include <string_view>

#include "export/string_list.h"
#include "export/writer.h"

namespace vantrix {

class TVantrixHTMLNavigation;

// The text with the double quote, ampersand, less-than and greater-than sign as entities.
void AppendHTMLEscaped(std::string& out, std::string_view text);
std::string HTMLEscaped(std::string_view text);

// A file name as a page or style sheet refers to it. Names are kept as the file system
// spells them (UTF-8 bytes), but a page in code page 1252 would have its reader take those
// bytes for other letters and look for another file: every byte of 0x80 and above is
// percent-encoded, as are control bytes and those that would end or change the reference
// (space, '"', '%', '#', '?', '<', '>'), with `alsoEncoded` for the caller's context. '/'
// and the other ASCII characters stay, so a plain name reads as it always did. An attribute
// still needs HTMLEscaped for its '&'.
std::string URLReference(std::string_view fileName, std::string_view alsoEncoded = {});

// A font name as the value of a style sheet's font-family: only letters (those of code page
// 1252 too), digits, '-', '_' and single blanks between words are kept, so that a name taken
// from a template or an options file can end no declaration, rule or style element
// ("Arial;}</style><script>" gives "Arialstylescript"). A name with a word that cannot begin a
// CSS identifier (a digit, '-' and a digit, "--") is quoted. Empty when nothing is left.
std::string CSSFontFamily(std::string_view name);

class TVantrixHTMLWriter : public TVantrixWriter {
 public:
  using TVantrixWriter::TVantrixWriter;

  void StartHTML() { WriteLn("<HTML>"); }
  void EndHTML() { WriteLn("</HTML>"); }
  void StartHEAD() { WriteLn("<HEAD>"); }
  void EndHEAD() { WriteLn("</HEAD>"); }
  void StartBODY() { WriteLn("<BODY>"); }
  void EndBODY() { WriteLn("</BODY>"); }
  void StartSTYLE() { WriteLn("<Style type=\"text/css\">"); }
  void EndSTYLE() { WriteLn("</STYLE>"); }
  void StartUL() { WriteLn("<UL>"); }
  void EndUL() { WriteLn("</UL>"); }
  void LI() { WriteLn("<LI>"); }
  void StartFORM() { WriteLn("<Form>"); }
  void EndFORM() { WriteLn("</Form>"); }
  void EndTABLE() { WriteLn("</Table>"); }
  // The bytes are code page 1252, and the page says so.
  void WriteCharset() { WriteLn(" <META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"); }
  void WriteTITLE(std::string_view title);
  void WriteCSSLink(std::string_view file);
  // With the background attribute only when that file exists.
  void WriteTABLE(int border, int padding, int spacing, const std::string& backgroundFile);
  void WriteCaptionRowTD(std::string_view text);
  // The cell text begins with its attributes and the closing ">".
  void WriteOddRowTD(std::string_view cell);
  void WriteEvenRowTD(std::string_view cell);
  std::string AlignToStr(TVantrixColAlign align) const override;

  // The bar of file `current` (from 1) of `count`, linking the numbered names of the base
  // file (without its folder): index (when asked), first, prior, every file (the current one
  // bold), next, last; prior of the first is the last and next of the last the first. The
  // bottom bar starts with a line break, the top one ends with one. The titles are text, as
  // the page's title is: a title from an options file holds no markup of the page.
  static TStrings LocationLinks(const TVantrixHTMLNavigation& titles, const std::string& baseFileName, int count,
                                int current, bool top, bool withIndex);
};

}  // namespace vantrix
