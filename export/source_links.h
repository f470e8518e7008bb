#pragma once
// The five row sources an exporter, a spreadsheet sheet and the export dialog can each be
// pointed at. The links are weak: a source destroyed while linked leaves an empty link, which
// the run then refuses (34014) instead of reaching a freed object.
#include <QPointer>

#include "export/custom_source.h"
#include "export/data_source.h"
#include "export/model_source.h"

namespace vantrix {

class TVantrixSourceLinks {
 public:
  TVantrixModelSource* DataSet() const { return dataSet_.data(); }
  void SetDataSet(TVantrixModelSource* source) { dataSet_ = source; }
  TVantrixCustomSource* CustomSource() const { return customSource_.data(); }
  void SetCustomSource(TVantrixCustomSource* source) { customSource_ = source; }
  TVantrixModelSource* ListView() const { return listView_.data(); }
  void SetListView(TVantrixModelSource* source) { listView_ = source; }
  TVantrixModelSource* DBGrid() const { return dbGrid_.data(); }
  void SetDBGrid(TVantrixModelSource* source) { dbGrid_ = source; }
  TVantrixModelSource* StringGrid() const { return stringGrid_.data(); }
  void SetStringGrid(TVantrixModelSource* source) { stringGrid_ = source; }

  // What the data-source layer takes: the chosen kind and the sources still alive.
  TVantrixSourceRefs SourceRefs(TVantrixSource kind) const {
    TVantrixSourceRefs refs;
    refs.source = kind;
    refs.dataSet = dataSet_.data();
    refs.customSource = customSource_.data();
    refs.dbGrid = dbGrid_.data();
    refs.listView = listView_.data();
    refs.stringGrid = stringGrid_.data();
    return refs;
  }

 protected:
  ~TVantrixSourceLinks() = default;

 private:
  QPointer<TVantrixModelSource> dataSet_, listView_, dbGrid_, stringGrid_;
  QPointer<TVantrixCustomSource> customSource_;
};

}  // namespace vantrix
