#pragma once
// A PDF 1.3 file written straight onto the export's output while the exporter draws: text in
// the standard Type 1 fonts, straight lines and filled rectangles in RGB. Objects are numbered
// as they are written and their offsets kept; the end writes the outline root, the fonts, the
// resources, the page tree, the pages, the catalog, the cross-reference table and the trailer.
// Nothing is compressed, nothing embedded. Lines end with CR alone.
//
// Text is code page 1252, which the fonts' WinAnsiEncoding shows; the five bytes that code
// page leaves undefined go out as "?". Each font declares its real widths (PDFFontWidths),
// which are what text is measured in. Parentheses and backslashes are escaped here, when a
// string is written, so callers measure and pass the text as it is.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/pdf_font.h"
#include "export/string_list.h"
#include "export/writer.h"

namespace vantrix {

class OutputStream;

class TPDFDocument {
 public:
  // The stream must be empty: offsets count from its first byte.
  explicit TPDFDocument(OutputStream& stream);
  TPDFDocument(const TPDFDocument&) = delete;
  TPDFDocument& operator=(const TPDFDocument&) = delete;

  // A new object number; the next object starts at the present end of the file.
  int AddObj();
  void WriteStr2PDF(std::string_view text);
  unsigned long long Position() const { return position_; }

  // Starts the file: no pages, objects or fonts; width and spacing 1, both colours black.
  void BeginDoc();
  // Closes the open page (if any) and opens a new one.
  void NewPage();
  void EndPage();
  // Registers a copy of the font under its Name; raises EVantrixError ("Font %s already
  // exists") for a name already registered. Returns its index.
  int AddFont(const TPDFFont& font);
  void SetFont(const TPDFFont& font) { Font.Assign(font); }
  void SetTextFont(const TPDFFont& font) { Font.Assign(font); }

  // One line of text at (x, y) in the colour, which stays current.
  void StringOut(int x, int y, std::string_view text, uint32_t color);
  // Line i at y - round(i * LineSpacing * font size), in the current fill colour.
  void TextOut(int x, int y, const TStrings& lines);
  void Line(double x1, double y1, double x2, double y2, uint32_t color);
  void FillRect(double x, double y, double w, double h, uint32_t color);
  // Always write the operator; return the previous colour. Only the three low bytes count.
  uint32_t ChangeLineColor(uint32_t color);
  uint32_t ChangeFillColor(uint32_t color);
  // Closes the last page and writes everything that follows the pages.
  void EndDoc();

  int ObjNumber() const { return static_cast<int>(offsets_.size()); }
  int PageCount() const { return static_cast<int>(pages_.size()); }

  TPDFFont Font;
  double LineWidth = 1.0;
  double LineSpacing = 1.0;
  uint32_t LineColor = 0;
  uint32_t FillColor = 0;
  TPDFBox MediaBox{0, 0, 612, 792};
  TPDFBox TrimBox{50, 50, 562, 742};
  const TPDFBox& GetMediaBox() const { return MediaBox; }
  const TPDFBox& GetTrimBox() const { return TrimBox; }
  void SetMediaBox(const TPDFBox& box) { MediaBox.Assign(box); }
  void SetTrimBox(const TPDFBox& box) { TrimBox.Assign(box); }

 private:
  void WriteColor(uint32_t color, std::string_view op);

  OutputStream& stream_;
  unsigned long long position_ = 0;
  std::vector<int> pages_;  // the content-stream object of every page begun
  unsigned long long contentStart_ = 0;
  std::vector<unsigned long long> offsets_;  // object n at n-1
  std::vector<TPDFFont> fonts_;
  std::string buffer_;
};

// The PDF exporter's writer: the document on the export's stream.
class TVantrixPDFWriter : public TVantrixWriter {
 public:
  TVantrixPDFWriter(TVantrix3& exporter, OutputStream& stream) : TVantrixWriter(exporter, stream), document_(stream) {}
  TPDFDocument& PDFDocument() { return document_; }

 private:
  TPDFDocument document_;
};

// The text as a PDF literal string holds it: "(", ")" and "\" escaped, the bytes code page
// 1252 leaves undefined as "?", line breaks and tabs as blanks.
void AppendPDFString(std::string& out, std::string_view text);

}  // namespace vantrix
