#pragma once
// The cell formats of the workbook model: border lines, fills, alignments, the cell format
// item TxlsFormat that bundles them with a font, per-field formats, strip styles and the look
// of a note box. The exporter's published formats, the export dialog and its options file all
// use these; during an export each distinct format becomes an XF record (xls_xformat.h).
#include <cstdint>
#include <string>

#include "export/string_list.h"
#include "export/xls/xls_collection.h"
#include "export/xls/xls_font.h"

namespace vantrix {

class TxlsXFormat;

// The ordinals of the alignments, border styles and patterns are the codes the XF record
// stores.
enum TxlsHorizontalAlignment { halGeneral, halLeft, halCenter, halRight, halFill };
enum TxlsVerticalAlignment { valTop, valCenter, valBottom, valJustify };
enum TxlsBorderStyle {
  bstNone, bstThin, bstMedium, bstDashed, bstDotted, bstThick, bstDouble, bstHair, bstMediumDashed, bstDashDot,
  bstMediumDashDot, bstDashDotDot, bstMediumDashDotDot, bstSlantedDashDot,
};
enum TxlsPattern {
  ptNone, ptSolid, ptChess, ptWhiteSpots, ptBlackSpots, ptBoldHorizontal, ptBoldVertical, ptBoldDiagRight,
  ptBoldDiagLeft, ptBoldChess, ptRingMail, ptThinGorizontal, ptThinVertical, ptThinDiagLeft, ptThinDiagRight,
  ptCells, ptCrissCross, ptThinSpots, ptThinThinSpots,
};
enum TxlsAggregate { aggNone, aggSum, aggAvg, aggMin, aggMax };
enum TxlsNoteFillType { nftSolid, nftGradient };
enum TxlsNoteGradient { ngrHorizontal, ngrVertical, ngrDiagonalUp, ngrDiagonalDown, ngrFromCorner, ngrFromCenter };
enum TxlsOrientation { xrtNoRotation, xlrTopToBottom, xlrCounterClockWise, xlrClockWise };
enum TxlsStripType { ssNone, ssCol, ssRow };

struct TxlsBorder {
  TxlsBorderStyle Style = bstNone;
  TxlsColor Color = clrBlack;

  void Assign(const TxlsBorder& source) { *this = source; }
  bool IsEqual(const TxlsBorder* other) const {
    return other != nullptr && Style == other->Style && Color == other->Color;
  }
  void SetDefault() { *this = TxlsBorder(); }
};

struct TxlsBorders {
  TxlsBorder Left, Right, Top, Bottom, DiagDown, DiagUp;

  void Assign(const TxlsBorders& source) { *this = source; }
  bool IsEqual(const TxlsBorders* other) const;
  void SetDefault() { *this = TxlsBorders(); }
  void SetLeft(const TxlsBorder& b) { Left = b; }
  void SetRight(const TxlsBorder& b) { Right = b; }
  void SetTop(const TxlsBorder& b) { Top = b; }
  void SetBottom(const TxlsBorder& b) { Bottom = b; }
  void SetDiagDown(const TxlsBorder& b) { DiagDown = b; }
  void SetDiagUp(const TxlsBorder& b) { DiagUp = b; }
  bool AnyStyled() const;
};

struct TxlsFill {
  TxlsColor Background = clrWhite;
  TxlsPattern Pattern = ptNone;
  TxlsColor Foreground = clrBlack;

  void Assign(const TxlsFill& source) { *this = source; }
  bool IsEqual(const TxlsFill* other) const {
    return other != nullptr && Background == other->Background && Pattern == other->Pattern &&
           Foreground == other->Foreground;
  }
  void SetDefault() { *this = TxlsFill(); }
};

struct TxlsAlignment {
  TxlsHorizontalAlignment Horizontal = halGeneral;
  TxlsVerticalAlignment Vertical = valBottom;

  void Assign(const TxlsAlignment& source) { *this = source; }
  bool IsEqual(const TxlsAlignment* other) const {
    return other != nullptr && Horizontal == other->Horizontal && Vertical == other->Vertical;
  }
  void SetDefault() { *this = TxlsAlignment(); }
};

// The format of a cell.
class TxlsFormat : public TxlsCustomItem {
 public:
  explicit TxlsFormat(TxlsCollectionBase* collection = nullptr) : TxlsCustomItem(collection) {}

  TxlsFont Font;
  TxlsBorders Borders;
  TxlsFill Fill;
  TxlsAlignment Alignment;
  bool Wrap = false;
  uint8_t Rotation = 0;  // the XF record's text rotation code
  std::string FieldName;

  // Font, borders, fill, alignment, wrap and rotation (not the field name).
  virtual void Assign(const TxlsFormat& source);
  // Copies the font; null leaves it as it is.
  void SetFont(const TxlsFont* font) {
    if (font != nullptr) Font.Assign(*font);
  }
  void SetBorders(const TxlsBorders& b) { Borders = b; }
  void SetFill(const TxlsFill& f) { Fill = f; }
  void SetAlignment(const TxlsAlignment& a) { Alignment = a; }
  // False for null; else font, borders, fill, alignment, wrap and rotation equal.
  bool IsEqual(const TxlsFormat* other) const;
  // Every part to its default and no wrap; the rotation stays.
  virtual void SetDefault();
  // Whether the default cell XF (15) serves: the default font (name exactly "arial"), no
  // border style (border colours not compared), a white unpatterned fill with the default
  // black foreground, general/bottom alignment and no wrap; the rotation is not compared.
  bool IsDefault() const;
  // Takes the XF's font (when it has one), borders, fill, alignment, wrap and rotation.
  void LoadFromTxlsXFormat(const TxlsXFormat& xf);

  // "StripStyle_<index>" for a strip style of an exporter component.
  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsFormat"; }
  TxlsItemType GetItemType() const override { return itFormat; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

// The strip styles.
class TxlsFormats : public TxlsCollection<TxlsFormat> {
 public:
  using TxlsCollection::TxlsCollection;
  // The same count and pairwise equal formats in order.
  bool IsEqual(const TxlsFormats& other) const;
  // Item i into the section prefix + i.
  void SaveToIniFile(platform::IniFile& ini, const std::string& prefix) const;
  // Clears the collection, then loads one item from every section whose name starts with the
  // prefix (ignoring case), in file order.
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& prefix);
};

class TxlsFieldFormat : public TxlsFormat {
 public:
  explicit TxlsFieldFormat(TxlsCollectionBase* collection = nullptr) : TxlsFormat(collection) {}

  int Width = 0;
  TxlsAggregate Aggregate = aggNone;

  // From another field format also the field name, aggregate and width.
  void Assign(const TxlsFormat& source) override;
  void SetDefault() override;
  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsFieldFormat"; }
  TxlsItemType GetItemType() const override { return itFieldFormat; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

class TxlsFieldFormats : public TxlsCollection<TxlsFieldFormat> {
 public:
  using TxlsCollection::TxlsCollection;
  // The first item whose field name is the name, ignoring case; -1 when none.
  int IndexByName(std::string_view name) const;
};

// The look of a note's box.
class TxlsNoteFormat : public TxlsCustomItem {
 public:
  static constexpr uint32_t kDefaultColor = 0xE1FFFF;

  explicit TxlsNoteFormat(TxlsCollectionBase* collection = nullptr);

  TxlsAlignment Alignment;
  uint32_t BackgroundColor = kDefaultColor;  // colour values, not palette colours
  uint32_t ForegroundColor = kDefaultColor;
  TxlsNoteFillType FillType = nftSolid;
  TxlsFont Font;
  int Transparency = 0;  // percent, 0..100
  TxlsOrientation Orientation = xrtNoRotation;
  TxlsNoteGradient Gradient = ngrHorizontal;

  void Assign(const TxlsNoteFormat& source);
  bool IsEqual(const TxlsNoteFormat* other) const;
  void SetDefault();
  void SetAlignment(const TxlsAlignment& a) { Alignment = a; }
  void SetFont(const TxlsFont& font) { Font.Assign(font); }
  // Keeps the transparency within 0..100.
  void SetTransparency(int percent);

  std::string ClassName() const override { return "TxlsNoteFormat"; }
  TxlsItemType GetItemType() const override { return itNoteFormat; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

// A cell format's caption defaults: the defaults with a bold font.
void SetDefaultXLSCaption(TxlsFormat& format);

}  // namespace vantrix
