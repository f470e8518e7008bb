#pragma once
// The PDF exporter's options: the page (format, size, orientation and margins, kept in dots
// and read and written in the chosen unit) and the fonts, spacing and rules of the table.
#include <cstdint>
#include <string>

#include "export/page_units.h"
#include "export/pdf_font.h"

namespace vantrix {

class TVantrixPDFPageOptions {
 public:
  // A4 portrait in inches, margins left 1.18, bottom 0.79, right 0.59, top 0.79.
  TVantrixPDFPageOptions();

  // Which unit the lengths below are read and written in; changing it converts nothing.
  TVantrixUnits Units() const { return units_; }
  void SetUnits(TVantrixUnits units) { units_ = units; }

  TVantrixPageFormat Format() const { return format_; }
  // A new format other than pfUser takes its portrait size, whatever the orientation.
  void SetFormat(TVantrixPageFormat format);
  TVantrixPageOrientation Orientation() const { return orientation_; }
  // A new orientation swaps width and height and turns the margins with the page.
  void SetOrientation(TVantrixPageOrientation orientation);

  // Lengths in Units; a width or height of its own makes the format pfUser.
  double Width() const { return Dot2Units(units_, width_); }
  double Height() const { return Dot2Units(units_, height_); }
  double MarginLeft() const { return Dot2Units(units_, marginLeft_); }
  double MarginRight() const { return Dot2Units(units_, marginRight_); }
  double MarginTop() const { return Dot2Units(units_, marginTop_); }
  double MarginBottom() const { return Dot2Units(units_, marginBottom_); }
  void SetWidth(double value);
  void SetHeight(double value);
  void SetMarginLeft(double value) { marginLeft_ = Units2Dot(units_, value); }
  void SetMarginRight(double value) { marginRight_ = Units2Dot(units_, value); }
  void SetMarginTop(double value) { marginTop_ = Units2Dot(units_, value); }
  void SetMarginBottom(double value) { marginBottom_ = Units2Dot(units_, value); }

  // The same in dots.
  int WidthDots() const { return width_; }
  int HeightDots() const { return height_; }
  int MarginLeftDots() const { return marginLeft_; }
  int MarginRightDots() const { return marginRight_; }
  int MarginTopDots() const { return marginTop_; }
  int MarginBottomDots() const { return marginBottom_; }

  // 0 0 width-1 height-1, and the page inside its margins.
  TPDFBox GetMediaBox() const;
  TPDFBox GetTrimBox() const;
  // Why nothing can be printed on the page, for the user; empty when it can. A page is at
  // least kMinPageDots a side, so that its box (one less) is the 3 points a side readers take
  // as the smallest page (an empty box they replace with a page of their own), and its
  // margins leave room between them.
  static constexpr int kMinPageDots = 4;
  std::string PrintProblem() const;

  void Assign(const TVantrixPDFPageOptions& other) { *this = other; }
  bool operator==(const TVantrixPDFPageOptions&) const = default;

 private:
  TVantrixUnits units_ = unInch;
  TVantrixPageFormat format_ = pfA4;
  int width_ = 0, height_ = 0;
  TVantrixPageOrientation orientation_ = poPortrait;
  int marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
};

class TPDFOptions {
 public:
  TPDFOptions();

  TVantrixPDFPageOptions PageOptions;
  TPDFFont HeaderFont, CaptionFont, DataFont, FooterFont;  // named after their role
  double RowSpacing = 1.0;  // the gap between two text lines, in font sizes
  double ColSpacing = 3.0;  // the gap between columns, in average characters
  int GridLineWidth = 1;    // points
  uint32_t GridLineColor = 0;

  void SetPageOptions(const TVantrixPDFPageOptions& options) { PageOptions.Assign(options); }
  void SetHeaderFont(const TPDFFont& font) { HeaderFont.Assign(font); }
  void SetCaptionFont(const TPDFFont& font) { CaptionFont.Assign(font); }
  void SetDataFont(const TPDFFont& font) { DataFont.Assign(font); }
  void SetFooterFont(const TPDFFont& font) { FooterFont.Assign(font); }
  void Assign(const TPDFOptions& other) { *this = other; }
};

}  // namespace vantrix
