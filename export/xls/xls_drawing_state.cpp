#include "export/xls/xls_drawing_state.h"

#include "export/xls/vantrix3_xls.h"

namespace vantrix {

void TxlsPictureStore::Prepare(TVantrix3XLS& component) {
  if (prepared_) return;
  prepared_ = true;
  pictures_ = &component.Pictures;
  for (const auto& picture : component.Pictures) {
    Entry entry;
    std::string problem;
    entry.Type = picture->GetPictureData(entry.Bytes, &problem);
    if (entry.Type == ptUndefined || entry.Bytes.empty()) {
      storeIndex_.push_back(0);
      component.ReportLeftOut("Picture " + picture->Name() + " left out: " +
                              (problem.empty() ? std::string("it holds no picture") : problem));
      continue;
    }
    entries_.push_back(std::move(entry));
    storeIndex_.push_back(static_cast<int>(entries_.size()));
  }
}

int TxlsPictureStore::IndexOf(const std::string& name) const {
  int index = -1;
  if (pictures_ == nullptr || !pictures_->Find(name, index)) return 0;
  return index >= 0 && static_cast<size_t>(index) < storeIndex_.size() ? storeIndex_[static_cast<size_t>(index)] : 0;
}

}  // namespace vantrix
