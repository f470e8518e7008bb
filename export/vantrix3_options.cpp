#include "export/vantrix3_options.h"

#include "export/common_text.h"

namespace vantrix {
namespace {

// The source as this holder's own class, or the base's refusal.
template <typename T>
const T* SameClass(const TVantrixOptions& source) {
  return dynamic_cast<const T*>(&source);
}

}  // namespace

void TVantrixOptions::Assign(const TVantrixOptions& source) {
  throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a " + ClassName());
}

TVantrixRTFOptions::TVantrixRTFOptions(const void* owner) : TVantrixOptions(owner) {
  SetDefaultRTFCaption(CaptionStyle);
}

void TVantrixRTFOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixRTFOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  if (other == this) return;
  SetCaptionAligns(other->CaptionAligns);
  SetCaptionStyle(other->CaptionStyle);
  SetDataStyle(other->DataStyle);
  SetFooterStyle(other->FooterStyle);
  SetHeaderStyle(other->HeaderStyle);
  PageOrientation = other->PageOrientation;
  SetStripStyles(other->StripStyles);
  StripType = other->StripType;
}

void TVantrixXMLOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixXMLOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  Standalone = other->Standalone;
  Encoding = other->Encoding;
}

void TVantrixSQLOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixSQLOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  TableName = other->TableName;
  CreateTable = other->CreateTable;
  CommitRecCount = other->CommitRecCount;
  CommitAfterScript = other->CommitAfterScript;
  CommitStatement = other->CommitStatement;
  StatementTerm = other->StatementTerm;
}

void TVantrixHTMLTableOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixHTMLTableOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  BorderWidth = other->BorderWidth;
  CellPadding = other->CellPadding;
  CellSpacing = other->CellSpacing;
  SetAdvancedAttributes(other->AdvancedAttributes);
  HeadersRowBgColor = other->HeadersRowBgColor;
  HeadersRowFontColor = other->HeadersRowFontColor;
  TableBgColor = other->TableBgColor;
  TableFontColor = other->TableFontColor;
  OddRowBgColor = other->OddRowBgColor;
  BorderColor = other->BorderColor;
  BackgroundFileName = other->BackgroundFileName;
}

TVantrixHTMLPageOptions::TVantrixHTMLPageOptions(const void* owner) : TVantrixOptions(owner) {
  TextFont.name = "Arial";
  TextFont.color = 0xFFFFFF;
}

void TVantrixHTMLPageOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixHTMLPageOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  Title = other->Title;
  BackgroundColor = other->BackgroundColor;
  SetTextFont(other->TextFont);
  DefaultOptions = other->DefaultOptions;
  LinkColor = other->LinkColor;
  VLinkColor = other->VLinkColor;
  ALinkColor = other->ALinkColor;
  BackgroundFileName = other->BackgroundFileName;
  SetAdvancedAttributes(other->AdvancedAttributes);
  UsingCSS = other->UsingCSS;
  CSSFileName = other->CSSFileName;
  OverwriteCSSFile = other->OverwriteCSSFile;
  BoolAsCheckBox = other->BoolAsCheckBox;
}

void TVantrixHTMLMultiFileOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixHTMLMultiFileOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  FileRecCount = other->FileRecCount;
  GenerateIndex = other->GenerateIndex;
  IndexLinkTemplate = other->IndexLinkTemplate;
  NavigationOnTop = other->NavigationOnTop;
  NavigationOnBottom = other->NavigationOnBottom;
  IndexLinkTitle = other->IndexLinkTitle;
  FirstLinkTitle = other->FirstLinkTitle;
  PriorLinkTitle = other->PriorLinkTitle;
  NextLinkTitle = other->NextLinkTitle;
  LastLinkTitle = other->LastLinkTitle;
}

void TVantrixTXTOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixTXTOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  AutoCalcColWidth = other->AutoCalcColWidth;
  ColSpacing = other->ColSpacing;
}

TVantrixCSVOptions::TVantrixCSVOptions(const void* owner) : TVantrixOptions(owner), Comma(GetListSeparator()) {}

void TVantrixCSVOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixCSVOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  Comma = other->Comma;
  Quote = other->Quote;
  QuoteStrings = other->QuoteStrings;
}

TVantrixPDFOptions::TVantrixPDFOptions(const void* owner) : TVantrixOptions(owner) {
  HeaderFont.Name = "HeaderFont";
  CaptionFont.Name = "CaptionFont";
  DataFont.Name = "DataFont";
  FooterFont.Name = "FooterFont";
}

void TVantrixPDFOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixPDFOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  SetPageOptions(other->PageOptions);
  SetHeaderFont(other->HeaderFont);
  SetCaptionFont(other->CaptionFont);
  SetDataFont(other->DataFont);
  SetFooterFont(other->FooterFont);
  RowSpacing = other->RowSpacing;
  ColSpacing = other->ColSpacing;
  GridLineWidth = other->GridLineWidth;
}

void TVantrixAccessOptions::Assign(const TVantrixOptions& source) {
  const auto* other = SameClass<TVantrixAccessOptions>(source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  TableName = other->TableName;
  CreateTable = other->CreateTable;
}

}  // namespace vantrix
