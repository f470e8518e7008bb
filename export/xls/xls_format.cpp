#include "export/xls/xls_format.h"

#include <algorithm>

#include "export/xls/xls_xformat.h"
#include "platform/cp1252_case.h"

namespace vantrix {

bool TxlsBorders::IsEqual(const TxlsBorders* other) const {
  return other != nullptr && Left.IsEqual(&other->Left) && Right.IsEqual(&other->Right) && Top.IsEqual(&other->Top) &&
         Bottom.IsEqual(&other->Bottom) && DiagDown.IsEqual(&other->DiagDown) && DiagUp.IsEqual(&other->DiagUp);
}

bool TxlsBorders::AnyStyled() const {
  for (const TxlsBorder* b : {&Left, &Right, &Top, &Bottom, &DiagDown, &DiagUp})
    if (b->Style != bstNone) return true;
  return false;
}

// --- TxlsFormat --------------------------------------------------------------------------------

void TxlsFormat::Assign(const TxlsFormat& source) {
  if (&source == this) return;
  Font.Assign(source.Font);
  Borders = source.Borders;
  Fill = source.Fill;
  Alignment = source.Alignment;
  Wrap = source.Wrap;
  Rotation = source.Rotation;
}

bool TxlsFormat::IsEqual(const TxlsFormat* other) const {
  return other != nullptr && Font.IsEqual(&other->Font) && Borders.IsEqual(&other->Borders) &&
         Fill.IsEqual(&other->Fill) && Alignment.IsEqual(&other->Alignment) && Wrap == other->Wrap &&
         Rotation == other->Rotation;
}

void TxlsFormat::SetDefault() {
  Font.SetDefault();
  Borders.SetDefault();
  Fill.SetDefault();
  Alignment.SetDefault();
  Wrap = false;
}

bool TxlsFormat::IsDefault() const {
  const TxlsFont defaults;
  const bool fontDefault = Font.Size == defaults.Size && Font.Style.Empty() && Font.Color == clrBlack &&
                           Font.Script == fscNone && Font.Underline == fulNone && Font.Charset == defaults.Charset &&
                           Font.Name == defaults.Name;
  const bool bordersDefault = !Borders.AnyStyled();
  const bool fillDefault = Fill.Background == clrWhite && Fill.Pattern == ptNone && Fill.Foreground == clrBlack;
  return fontDefault && bordersDefault && fillDefault && Alignment.Horizontal == halGeneral &&
         Alignment.Vertical == valBottom && !Wrap;
}

void TxlsFormat::LoadFromTxlsXFormat(const TxlsXFormat& xf) {
  if (xf.Font != nullptr) Font.Assign(*xf.Font);
  Borders = xf.Borders;
  Fill = xf.Fill;
  Alignment = xf.Alignment;
  Wrap = xf.Wrap;
  Rotation = xf.Rotation;
}

std::string TxlsFormat::GetDisplayName() const {
  const TxlsItemsOwner* owner = Owner();
  if (owner != nullptr && owner->IsExporterComponent() && dynamic_cast<const TxlsFormats*>(Collection()) != nullptr)
    return "StripStyle_" + std::to_string(Index());
  return TxlsCustomItem::GetDisplayName();
}

bool TxlsFormats::IsEqual(const TxlsFormats& other) const {
  if (Count() != other.Count()) return false;
  for (size_t i = 0; i < Count(); ++i)
    if (!GetItem(i).IsEqual(&other.GetItem(i))) return false;
  return true;
}

// --- TxlsFieldFormat -------------------------------------------------------------------------

void TxlsFieldFormat::Assign(const TxlsFormat& source) {
  if (const auto* field = dynamic_cast<const TxlsFieldFormat*>(&source); field != nullptr && field != this) {
    FieldName = field->FieldName;
    Aggregate = field->Aggregate;
    Width = field->Width;
  }
  TxlsFormat::Assign(source);
}

void TxlsFieldFormat::SetDefault() {
  TxlsFormat::SetDefault();
  Width = 0;
  Aggregate = aggNone;
  FieldName.clear();
}

std::string TxlsFieldFormat::GetDisplayName() const {
  return FieldName.empty() ? TxlsFormat::GetDisplayName() : FieldName;
}

int TxlsFieldFormats::IndexByName(std::string_view name) const {
  for (size_t i = 0; i < Count(); ++i)
    if (platform::Cp1252SameText(GetItem(i).FieldName, name)) return static_cast<int>(i);
  return -1;
}

// --- TxlsNoteFormat --------------------------------------------------------------------------

TxlsNoteFormat::TxlsNoteFormat(TxlsCollectionBase* collection) : TxlsCustomItem(collection) { SetDefault(); }

void TxlsNoteFormat::Assign(const TxlsNoteFormat& source) {
  if (&source == this) return;
  Alignment = source.Alignment;
  BackgroundColor = source.BackgroundColor;
  ForegroundColor = source.ForegroundColor;
  FillType = source.FillType;
  Font.Assign(source.Font);
  Transparency = source.Transparency;
  Orientation = source.Orientation;
  Gradient = source.Gradient;
}

bool TxlsNoteFormat::IsEqual(const TxlsNoteFormat* other) const {
  return other != nullptr && Alignment.IsEqual(&other->Alignment) && BackgroundColor == other->BackgroundColor &&
         ForegroundColor == other->ForegroundColor && FillType == other->FillType && Font.IsEqual(&other->Font) &&
         Transparency == other->Transparency && Orientation == other->Orientation && Gradient == other->Gradient;
}

void TxlsNoteFormat::SetDefault() {
  Alignment.Horizontal = halLeft;
  Alignment.Vertical = valTop;
  BackgroundColor = kDefaultColor;
  ForegroundColor = kDefaultColor;
  FillType = nftSolid;
  Font.SetDefault();
  Font.Size = 8;
  Font.Style = {xfsBold};
  Font.Name = u"Tahoma";
  Transparency = 0;
  Orientation = xrtNoRotation;
  Gradient = ngrHorizontal;
}

void TxlsNoteFormat::SetTransparency(int percent) { Transparency = std::clamp(percent, 0, 100); }

void SetDefaultXLSCaption(TxlsFormat& format) {
  format.SetDefault();
  format.Font.Style.Include(xfsBold);
}

}  // namespace vantrix
