#pragma once
// A LaTeX document holding the table in one tabular environment. The text is written in the
// input code page the document declares (1252 unless another is set), and every character
// LaTeX would take as a command, or typeset as another character, is written so that it
// prints as itself.
#include <memory>
#include <string>

#include "export/charset_converter.h"
#include "export/vantrix3_text.h"

namespace vantrix {

enum TLaTeXVersion { LaTeX209, LaTeX2e };
enum TLaTeXDocStyle { dsArticle, dsBook };

class TLaTeXOptions {
 public:
  TLaTeXVersion LaTeXVersion = LaTeX2e;
  TLaTeXDocStyle DocumentStyle = dsArticle;
  std::string DocumentParams = "a4paper";
  std::string Languages = "english";  // babel's options; empty: no babel
  int CodePage() const { return codePage_; }
  // Below 1: 1252 (Linux has no code page of its own to take instead).
  void SetCodePage(int codePage) { codePage_ = codePage < 1 ? 1252 : codePage; }
  void Assign(const TLaTeXOptions& other) { *this = other; }

 private:
  int codePage_ = 1252;
};

// The converter and the converted output come before the writer that writes into them.
struct TVantrixLaTeXOutput {
  TVantrixLaTeXOutput(OutputStream& target, int codePage);
  CharsetConverter converter;
  ConvertingOutputStream converted;
};

class TVantrixLaTeXWriter : private TVantrixLaTeXOutput, public TVantrixWriter {
 public:
  // Raises EVantrixError for a code page this system can't write.
  TVantrixLaTeXWriter(TVantrix3& exporter, OutputStream& stream, int codePage);

  void BeginEnv(const std::string& name, const std::string& parameters);
  void EndEnv(const std::string& name);
  void HLine();
  void NewLine();
  void UsePackage(const std::string& name, const std::string& options);
};

// The text as LaTeX source that prints it: # $ % & _ { } with a backslash, the backslash,
// "~", "^" and "|" as text commands, "<" and ">" in math, '"' as two apostrophes (the same
// closing quote, and safe from languages that make '"' a command), the few code page 1252
// characters LaTeX has only in math (µ ± × ÷ ¬ ¹ ² ³) in math, and the bytes code page 1252
// leaves undefined dropped. Every letter stays itself: the document's T1 fonts print them.
void AppendLaTeXEscaped(std::string_view text, std::string& out);

class TVantrix3LaTeX : public TVantrix3FormatText {
 public:
  TLaTeXOptions& Options() { return options_; }
  const TLaTeXOptions& Options() const { return options_; }
  void SetOptions(const TLaTeXOptions& options) { options_.Assign(options); }
  TStrings Preambula;  // lines after the packages
  static std::string StyleToStr(TLaTeXDocStyle style) { return style == dsBook ? "book" : "article"; }

  void NormalString(std::string& text) const override;

 protected:
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void BeginExport() override;
  std::string GetColCaption(int index) override;
  std::string GetCaptionRow() override;
  void WriteCaptionRow() override;
  std::string GetDataRow(bool formatted) override;
  void WriteDataRow() override;
  void EndExport() override;
  std::bitset<256> GetSpecialCharacters() const override;

 private:
  TVantrixLaTeXWriter& Writer() const;
  void WriteRow(const std::string& row);

  TLaTeXOptions options_;
  bool tabularOpen_ = false;
  std::string line_, cell_;
};

}  // namespace vantrix
