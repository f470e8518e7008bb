#pragma once
// The table as plain text on the clipboard, as Unicode text: separated by a character (a cell
// holding it, a quote or a line break goes in quotes, as CSV writes it, so a paste keeps it
// whole), or in right-aligned columns of fixed width.
#include <string>

#include "export/vantrix3_memory.h"

namespace vantrix {

enum TVantrixClipboardExportType { etSeparated, etFixed };

class TVantrix3Clipboard : public TVantrix3Memory {
 public:
  TVantrix3Clipboard();

  TVantrixClipboardExportType ExportType() const { return exportType_; }
  // The fixed layout measures its columns first (the width pass).
  void SetExportType(TVantrixClipboardExportType type);
  char Separator;  // the locale's list separator at construction
  int Spacing = 2;  // kept for the options; the run doesn't use it
  std::string ClipboardViewer = "Clipbrd.exe";  // likewise
  // Inherited and published here: Header, Footer, AllowCaptions, Captions, Formats,
  // UserFormats, OnFetchedRecord.

  const TVantrixFormats* OwnerFormats() const override { return &Formats(); }
  const TStrings* OwnerCaptions() const override { return &Captions; }
  const TStrings* OwnerUserFormats() const override { return &UserFormats; }

 protected:
  void BeginExport() override;
  std::string GetColCaption(int index) override;
  std::string GetCaptionRow() override;
  void WriteCaptionRow() override;
  std::string GetDataRow(bool formatted) override;
  void WriteDataRow() override;
  void EndExport() override;

 private:
  void AppendCell(int column, const std::string& text, std::string& out) const;

  TVantrixClipboardExportType exportType_ = etSeparated;
  std::string line_, cell_;
};

// The lines joined with CR LF, as a list's text is (a line break after each).
std::string LinesText(const TStrings& lines);

}  // namespace vantrix
