#pragma once
// The workbook model's items and their collections. An item knows the collection it belongs
// to (none for an item made on its own, as the export dialog makes them), and a collection
// knows its owner: the exporter component, one of its sheets, the dialog's option holder or a
// chart. What an item needs of its owner it asks through TxlsItemsOwner, so the model does not
// depend on the classes that own it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class IniFile;
}

namespace vantrix {

class TxlsFormat;
class TxlsNoteFormat;
class TxlsPictures;
class TxlsImages;
class TxlsCustomItem;

enum TxlsItemType {
  itFormat, itFieldFormat, itNoteFormat, itHyperlink, itNote, itChart, itSeries, itPicture, itImage, itGraphic,
  itCell, itMergedCells,
};

// The cells a written sheet uses, 0-based; -1 while unknown.
struct TxlsUsedRange {
  int FirstRow = -1, LastRow = -1, FirstCol = -1, LastCol = -1;
};

// What a sheet of an exporter tells the drawings placed on it.
class TxlsSheetLayout {
 public:
  virtual ~TxlsSheetLayout() = default;
  // The used range once the sheet has been written; nothing before.
  virtual std::optional<TxlsUsedRange> WrittenRange() const = 0;
  // Width in characters of the 0-based sheet column: an exported column's own width, else
  // the sheet's default column width.
  virtual int ColumnWidth(int col) const = 0;
  // Height in twips of the 0-based row: the height recorded for it, else the sheet's default.
  virtual int RowHeight(int row) const = 0;
};

class TxlsItemsOwner {
 public:
  virtual ~TxlsItemsOwner() = default;
  // A spreadsheet exporter component (its strip styles are named "StripStyle_<i>").
  virtual bool IsExporterComponent() const { return false; }
  // The format a new hyperlink starts with, when the owner has one.
  virtual const TxlsFormat* HyperlinkFormatForNewItems() const { return nullptr; }
  // The note format a new note starts with: the exporter's options' own.
  virtual const TxlsNoteFormat* NoteFormatForNewItems() const { return nullptr; }
  // The exporter component's pictures, for the owner's images (the component or its sheet).
  virtual const TxlsPictures* ComponentPictures() const { return nullptr; }
  // The sheet of an exporter that the owner is, for drawings placed on it.
  virtual const TxlsSheetLayout* SheetLayout() const { return nullptr; }
  // The images of every sheet of the exporter component that owns these pictures.
  virtual std::vector<const TxlsImages*> ComponentSheetImages() const { return {}; }
};

class TxlsCollectionBase {
 public:
  explicit TxlsCollectionBase(TxlsItemsOwner* owner) : owner_(owner) {}
  virtual ~TxlsCollectionBase() = default;
  TxlsCollectionBase(const TxlsCollectionBase&) = delete;
  TxlsCollectionBase& operator=(const TxlsCollectionBase&) = delete;

  TxlsItemsOwner* GetOwner() const { return owner_; }
  virtual size_t Count() const = 0;
  virtual TxlsCustomItem* ItemAt(size_t index) const = 0;
  int IndexOf(const TxlsCustomItem* item) const {
    for (size_t i = 0; i < Count(); ++i)
      if (ItemAt(i) == item) return static_cast<int>(i);
    return -1;
  }

 private:
  TxlsItemsOwner* owner_;
};

class TxlsCustomItem {
 public:
  explicit TxlsCustomItem(TxlsCollectionBase* collection) : collection_(collection) {}
  virtual ~TxlsCustomItem() = default;
  TxlsCustomItem(const TxlsCustomItem&) = delete;
  TxlsCustomItem& operator=(const TxlsCustomItem&) = delete;

  virtual TxlsItemType GetItemType() const = 0;
  // The name a list shows: by default the class name.
  virtual std::string GetDisplayName() const { return ClassName(); }
  virtual std::string ClassName() const = 0;
  // Into and from a section of an options file (pictures and images keep nothing there).
  virtual void SaveToIniFile(platform::IniFile& ini, const std::string& section) const = 0;
  virtual void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) = 0;

  TxlsCollectionBase* Collection() const { return collection_; }
  TxlsItemsOwner* Owner() const { return collection_ != nullptr ? collection_->GetOwner() : nullptr; }
  // The position in the collection; -1 without one.
  int Index() const { return collection_ != nullptr ? collection_->IndexOf(this) : -1; }

 private:
  TxlsCollectionBase* collection_;
};

// A collection of one item class. Items are made by Add (with the collection, so they can
// look at their neighbours and the owner while they are made) and copied by Assign.
template <class Item>
class TxlsCollection : public TxlsCollectionBase {
 public:
  using TxlsCollectionBase::TxlsCollectionBase;

  Item& Add() {
    auto item = std::make_unique<Item>(this);
    items_.push_back(std::move(item));
    return *items_.back();
  }
  size_t Count() const override { return items_.size(); }
  TxlsCustomItem* ItemAt(size_t index) const override { return items_.at(index).get(); }
  Item& GetItem(size_t index) const { return *items_.at(index); }
  Item& operator[](size_t index) const { return *items_.at(index); }
  // Copies the source into the item at the position.
  void SetItem(size_t index, const Item& source) { GetItem(index).Assign(source); }
  void Delete(size_t index) { items_.erase(items_.begin() + static_cast<ptrdiff_t>(index)); }
  void Clear() { items_.clear(); }
  // Makes this collection a copy of the source: as many items, each assigned from its peer.
  void Assign(const TxlsCollection& source) {
    if (&source == this) return;
    Clear();
    for (const auto& item : source.items_) Add().Assign(*item);
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace vantrix
