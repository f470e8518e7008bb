#pragma once
// Plain text in four layouts: fixed-width text, comma-separated values, the Data Interchange
// Format and the symbolic link format. Written in code page 1252, as the rest of the program's
// files; numbers in DIF and SYLK cells are the values themselves, with "." as decimal mark,
// so the programs that read these files see numbers.
#include <string>

#include "export/vantrix3_text.h"

namespace vantrix {

enum TVantrixASCIIType { etTXT, etCSV, etDIF, etSYLK };

// The widest gap between text columns: blanks go after every cell, so a gap of millions (an
// options file may hold any number) would make a file of gigabytes from a few rows.
inline constexpr int kMaxTXTSpacing = 255;

class TVantrix3ASCII : public TVantrix3FormatText {
 public:
  TVantrix3ASCII();

  TVantrixASCIIType ExportType() const { return exportType_; }
  // Switching to the text layout turns the width pass on.
  void SetExportType(TVantrixASCIIType type);

  char CSVComma;             // the locale's list separator at construction
  char CSVQuote = '"';       // '\0': fields are never quoted
  bool CSVQuoteStrings = true;  // quote every field, not only those that need it
  int TXTSpacing = 1;        // blanks after each text column, at most kMaxTXTSpacing
  // Inherited and published here: AutoCalcColWidth (true), ColumnsAlign, ColumnsWidth,
  // OnFetchedRecord (each record of the DIF counting pass).

  void SaveProperties(platform::IniFile& ini) const override;
  void LoadProperties(const platform::IniFile& ini) override;

  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }

 protected:
  void BeginExport() override;
  std::string GetColCaption(int index) override;
  std::string GetCaptionRow() override;
  void WriteCaptionRow() override;
  std::string GetDataRow(bool formatted) override;
  void WriteDataRow() override;
  void EndExport() override;
  void RecordFetched();

 private:
  // One cell of the layout appended to out; `caption` for the caption row.
  void AppendCell(int column, const std::string& text, bool caption, bool numeric, std::string& out) const;
  void CountDifTuples();
  std::string DataRow();

  TVantrixASCIIType exportType_ = etTXT;
  int tupleCount_ = 0;
  std::string cell_, number_, line_;
};

}  // namespace vantrix
