#pragma once
// The option holders of the export dialog: one object per format's group of options, which
// the dialog edits, keeps in its options file and copies into the exporter it runs. They carry
// values only. Assign copies from a holder of the same class; any other raises EConvertError,
// as the framework's copying does.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "export/html_types.h"
#include "export/library_strings.h"
#include "export/page_units.h"
#include "export/pdf_options.h"
#include "export/rtf_style.h"
#include "export/string_list.h"
#include "export/vantrix_font.h"

namespace vantrix {

// The framework's error for a copy between objects that cannot be copied into each other.
class EConvertError : public EVantrixError {
 public:
  using EVantrixError::EVantrixError;
};

class TVantrixOptions {
 public:
  // The owner names the object that holds the options; it is never dereferenced.
  explicit TVantrixOptions(const void* owner) : owner_(owner) {}
  TVantrixOptions(const TVantrixOptions&) = delete;
  TVantrixOptions& operator=(const TVantrixOptions&) = delete;
  virtual ~TVantrixOptions() = default;

  const void* GetOwner() const { return owner_; }
  virtual const char* ClassName() const { return "TVantrixOptions"; }
  // Raises EConvertError ("Cannot assign a <source class> to a <this class>"); every holder
  // copies from its own class and defers anything else to here.
  virtual void Assign(const TVantrixOptions& source);

 private:
  const void* owner_;
};

class TVantrixRTFOptions : public TVantrixOptions {
 public:
  explicit TVantrixRTFOptions(const void* owner);
  const char* ClassName() const override { return "TVantrixRTFOptions"; }
  void Assign(const TVantrixOptions& source) override;

  TStrings CaptionAligns;
  TrtfStyle CaptionStyle, DataStyle, FooterStyle, HeaderStyle;
  TVantrixPageOrientation PageOrientation = poPortrait;
  TrtfStyles StripStyles{this};
  TrtfStripType StripType = stNone;

  void SetCaptionAligns(const TStrings& lines) { CaptionAligns = lines; }
  void SetCaptionStyle(const TrtfStyle& style) { CaptionStyle.Assign(style); }
  void SetDataStyle(const TrtfStyle& style) { DataStyle.Assign(style); }
  void SetFooterStyle(const TrtfStyle& style) { FooterStyle.Assign(style); }
  void SetHeaderStyle(const TrtfStyle& style) { HeaderStyle.Assign(style); }
  void SetStripStyles(const TrtfStyles& styles) { StripStyles.Assign(styles); }
};

class TVantrixXMLOptions : public TVantrixOptions {
 public:
  using TVantrixOptions::TVantrixOptions;
  const char* ClassName() const override { return "TVantrixXMLOptions"; }
  void Assign(const TVantrixOptions& source) override;

  bool Standalone = true;
  std::string Encoding;
};

class TVantrixSQLOptions : public TVantrixOptions {
 public:
  using TVantrixOptions::TVantrixOptions;
  const char* ClassName() const override { return "TVantrixSQLOptions"; }
  void Assign(const TVantrixOptions& source) override;

  std::string TableName;
  bool CreateTable = false;
  int CommitRecCount = 0;
  bool CommitAfterScript = false;
  std::string CommitStatement = "COMMIT WORK;";
  char StatementTerm = ';';
};

// Colours are 0x00BBGGRR.
class TVantrixHTMLTableOptions : public TVantrixOptions {
 public:
  using TVantrixOptions::TVantrixOptions;
  const char* ClassName() const override { return "TVantrixHTMLTableOptions"; }
  void Assign(const TVantrixOptions& source) override;

  int BorderWidth = 1;
  int CellPadding = 4;
  int CellSpacing = 1;
  TStrings AdvancedAttributes;
  uint32_t HeadersRowBgColor = 0x0000FF;
  uint32_t HeadersRowFontColor = 0xFFFFFF;
  uint32_t TableBgColor = 0xEC7A00;
  uint32_t TableFontColor = 0xFFFFFF;
  uint32_t OddRowBgColor = 0xCE6B00;
  uint32_t BorderColor = 0xFFFFFF;
  std::string BackgroundFileName;

  void SetAdvancedAttributes(const TStrings& lines) { AdvancedAttributes = lines; }
};

class TVantrixHTMLPageOptions : public TVantrixOptions {
 public:
  explicit TVantrixHTMLPageOptions(const void* owner);
  const char* ClassName() const override { return "TVantrixHTMLPageOptions"; }
  void Assign(const TVantrixOptions& source) override;

  std::string Title;
  uint32_t BackgroundColor = 0x993333;
  TVantrixFont TextFont;  // Arial, white
  TDefaultOptions DefaultOptions = DefaultOptionsOf({doFontSize});
  uint32_t LinkColor = 0x7DEF69;
  uint32_t VLinkColor = 0xFF00FF;
  uint32_t ALinkColor = 0x00FF00;
  std::string BackgroundFileName;
  TStrings AdvancedAttributes;
  TUsingCSS UsingCSS = usInternal;
  std::string CSSFileName;
  bool OverwriteCSSFile = true;
  bool BoolAsCheckBox = false;

  void SetTextFont(const TVantrixFont& font) { TextFont = font; }
  void SetAdvancedAttributes(const TStrings& lines) { AdvancedAttributes = lines; }
};

class TVantrixHTMLMultiFileOptions : public TVantrixOptions {
 public:
  using TVantrixOptions::TVantrixOptions;
  const char* ClassName() const override { return "TVantrixHTMLMultiFileOptions"; }
  void Assign(const TVantrixOptions& source) override;

  int FileRecCount = 0;
  bool GenerateIndex = false;
  std::string IndexLinkTemplate;
  bool NavigationOnTop = true;
  bool NavigationOnBottom = true;
  std::string IndexLinkTitle = "Index";
  std::string FirstLinkTitle = "First";
  std::string PriorLinkTitle = "Prior";
  std::string NextLinkTitle = "Next";
  std::string LastLinkTitle = "Last";
};

class TVantrixTXTOptions : public TVantrixOptions {
 public:
  using TVantrixOptions::TVantrixOptions;
  const char* ClassName() const override { return "TVantrixTXTOptions"; }
  void Assign(const TVantrixOptions& source) override;

  bool AutoCalcColWidth = true;
  int ColSpacing = 1;
};

class TVantrixCSVOptions : public TVantrixOptions {
 public:
  // Comma starts as the user's list separator.
  explicit TVantrixCSVOptions(const void* owner);
  const char* ClassName() const override { return "TVantrixCSVOptions"; }
  void Assign(const TVantrixOptions& source) override;

  char Comma;
  char Quote = '"';
  bool QuoteStrings = true;
};

class TVantrixPDFOptions : public TVantrixOptions {
 public:
  explicit TVantrixPDFOptions(const void* owner);
  const char* ClassName() const override { return "TVantrixPDFOptions"; }
  void Assign(const TVantrixOptions& source) override;

  TVantrixPDFPageOptions PageOptions;
  TPDFFont HeaderFont, CaptionFont, DataFont, FooterFont;
  double RowSpacing = 1.0;
  double ColSpacing = 3.0;
  int GridLineWidth = 1;

  void SetPageOptions(const TVantrixPDFPageOptions& options) { PageOptions.Assign(options); }
  void SetHeaderFont(const TPDFFont& font) { HeaderFont.Assign(font); }
  void SetCaptionFont(const TPDFFont& font) { CaptionFont.Assign(font); }
  void SetDataFont(const TPDFFont& font) { DataFont.Assign(font); }
  void SetFooterFont(const TPDFFont& font) { FooterFont.Assign(font); }
};

// Kept for the options file; no exporter reads it.
class TVantrixAccessOptions : public TVantrixOptions {
 public:
  using TVantrixOptions::TVantrixOptions;
  const char* ClassName() const override { return "TVantrixAccessOptions"; }
  // Copies the table name and the create flag, never the password.
  void Assign(const TVantrixOptions& source) override;

  std::string Password;
  std::string TableName = "EXPORT_TABLE";
  bool CreateTable = true;
};

}  // namespace vantrix
