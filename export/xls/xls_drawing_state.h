#pragma once
// What the drawings of a run share across its sheets: the shape ids handed out (the drawing
// group records them), the picture store that images name by position, and whether any chart
// was written (its ranges need the external sheet references).
#include <cstdint>
#include <string>
#include <vector>

#include "export/xls/mso_objects.h"
#include "export/xls/xls_picture.h"

namespace vantrix {

class TVantrix3XLS;

// The pictures the workbook stores: every picture of the exporter whose bytes can be had and
// whose type is known, in the exporter's order. A picture that cannot be stored is reported
// once and takes no place, so the positions images name are those of the pictures stored.
class TxlsPictureStore {
 public:
  struct Entry {
    std::vector<uint8_t> Bytes;
    TxlsPictureType Type = ptUndefined;
    uint32_t RefCount = 0;
  };

  // Reads the exporter's pictures, once.
  void Prepare(TVantrix3XLS& component);
  bool Prepared() const { return prepared_; }
  // The 1-based position of the picture named so (ignoring case) among those stored; 0 when
  // there is no such picture or it is not stored.
  int IndexOf(const std::string& name) const;
  // An image placed the picture of that position.
  void AddReference(int index) { entries_.at(static_cast<size_t>(index - 1)).RefCount++; }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  bool prepared_ = false;
  const TxlsPictures* pictures_ = nullptr;
  std::vector<int> storeIndex_;  // per exporter picture: its position in the store, or 0
  std::vector<Entry> entries_;
};

struct TxlsDrawingState {
  TmsoShapeIds ShapeIds;
  TxlsPictureStore Pictures;
  int ChartsWritten = 0;
};

}  // namespace vantrix
