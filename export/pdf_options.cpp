#include "export/pdf_options.h"

#include <utility>

namespace vantrix {

TVantrixPDFPageOptions::TVantrixPDFPageOptions() {
  SetMarginLeft(1.18);
  SetMarginBottom(0.79);
  SetMarginRight(0.59);
  SetMarginTop(0.79);
  format_ = pfUser;  // so that A4 is a change and sets its size
  SetFormat(pfA4);
}

void TVantrixPDFPageOptions::SetFormat(TVantrixPageFormat format) {
  if (format == format_) return;
  format_ = format;
  if (format == pfUser) return;
  width_ = InchToDot(GetPageFormatInchWidth(format));
  height_ = InchToDot(GetPageFormatInchHeight(format));
}

void TVantrixPDFPageOptions::SetOrientation(TVantrixPageOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  std::swap(width_, height_);
  const int left = marginLeft_, right = marginRight_, top = marginTop_, bottom = marginBottom_;
  if (orientation == poLandscape) {
    marginLeft_ = bottom;
    marginRight_ = top;
    marginTop_ = left;
    marginBottom_ = right;
  } else {
    marginLeft_ = top;
    marginRight_ = bottom;
    marginTop_ = right;
    marginBottom_ = left;
  }
}

void TVantrixPDFPageOptions::SetWidth(double value) {
  width_ = Units2Dot(units_, value);
  format_ = pfUser;
}

void TVantrixPDFPageOptions::SetHeight(double value) {
  height_ = Units2Dot(units_, value);
  format_ = pfUser;
}

TPDFBox TVantrixPDFPageOptions::GetMediaBox() const { return {0, 0, width_ - 1, height_ - 1}; }

TPDFBox TVantrixPDFPageOptions::GetTrimBox() const {
  return {marginLeft_, marginBottom_, width_ - marginRight_ - 1, height_ - marginTop_ - 1};
}

std::string TVantrixPDFPageOptions::PrintProblem() const {
  if (width_ < kMinPageDots || height_ < kMinPageDots)
    return "The PDF page of " + std::to_string(width_) + " x " + std::to_string(height_) +
           " points is too small to print on (the smallest page is " + std::to_string(kMinPageDots) + " x " +
           std::to_string(kMinPageDots) + " points).";
  const long long width = static_cast<long long>(width_) - marginLeft_ - marginRight_;
  const long long height = static_cast<long long>(height_) - marginTop_ - marginBottom_;
  if (width > 0 && height > 0) return {};
  return "The PDF page has no room to print inside its margins (" + std::to_string(width) + " x " +
         std::to_string(height) + " points).";
}

TPDFOptions::TPDFOptions() {
  HeaderFont.Name = "HeaderFont";
  CaptionFont.Name = "CaptionFont";
  DataFont.Name = "DataFont";
  FooterFont.Name = "FooterFont";
}

}  // namespace vantrix
