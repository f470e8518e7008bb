#pragma once
// Hyperlinks and cell notes placed by cell (columns and rows from 1; 0 means not set).
#include <cstdint>
#include <string>
#include <vector>

#include "export/string_list.h"
#include "export/xls/xls_bytes.h"
#include "export/xls/xls_format.h"

namespace vantrix {

enum TxlsHyperlinkStyle { hlsURL, hlsLocalFile };

class TxlsHyperlink : public TxlsCustomItem {
 public:
  // Starts with the owner's hyperlink format when it has one, else the default format.
  explicit TxlsHyperlink(TxlsCollectionBase* collection = nullptr);

  int Col = 0;
  TxlsFormat Format;
  int Row = 0;
  TxlsHyperlinkStyle Style = hlsURL;
  WideString Target;
  WideString Title;
  WideString ScreenTip;

  void Assign(const TxlsHyperlink& source);
  // Inside a sheet (column 1..256, row 1..65,536) with a title and a target.
  bool IsValid() const;
  // The target path as the local-file link stores it: its 8-bit form (code page 1252).
  std::string GetShortTarget() const;
  // The HLINK record body: the cell range, the standard-link header, the title, then the URL
  // moniker, or the file moniker with the 8-bit path (NUL-terminated) and the UTF-16 path.
  std::vector<uint8_t> GetBody() const;
  // GetBody's size, without building it.
  uint32_t GetSize() const;

  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsHyperlink"; }
  TxlsItemType GetItemType() const override { return itHyperlink; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

class TxlsHyperlinks : public TxlsCollection<TxlsHyperlink> {
 public:
  using TxlsCollection::TxlsCollection;
};

class TxlsNote : public TxlsCustomItem {
 public:
  // Starts with the owner's note format when it has one, else the note-format defaults.
  explicit TxlsNote(TxlsCollectionBase* collection = nullptr);

  int Row = 0;
  int Col = 0;
  TStrings Lines;
  TxlsNoteFormat Format;

  void Assign(const TxlsNote& source);
  // The lines as one text, each ended by CR LF.
  std::string LinesText() const;
  // Inside a sheet with room for the box beside it (column 1..255, row 1..65,536), with text.
  bool IsValid() const;
  // The note box: from column Col (the one right of the cell) and two rows above the note's
  // row, three columns wide and five rows high; offsets 0.
  TMSO_Anchor GetAnchor() const;

  std::string ClassName() const override { return "TxlsNote"; }
  TxlsItemType GetItemType() const override { return itNote; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

class TxlsNotes : public TxlsCollection<TxlsNote> {
 public:
  using TxlsCollection::TxlsCollection;
};

// The sheet's limits as the records hold them.
inline constexpr int kXLSMaxCols = 256;
inline constexpr int kXLSMaxRows = 65536;

}  // namespace vantrix
