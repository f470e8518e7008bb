// The style lists the form starts with: the spreadsheet's five fixed formats, one field format
// per column and the strip styles; the RTF base and strip styles. Each item carries its own
// copy, which the form keeps until it closes (an item deleted by an editor leaves its object
// to the form), and the run copies the items back into the exporter.
#include <QTreeWidget>

#include "export/dialog/list_items.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "export/xls/xls_format.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

void SelectFirst(QTreeWidget* list) {
  if (list != nullptr && list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
}

}  // namespace

TxlsCustomItem* TVantrix3DialogF::AdoptXLSItem(std::unique_ptr<TxlsCustomItem> item) {
  xlsItems_.push_back(std::move(item));
  return xlsItems_.back().get();
}

TrtfStyle* TVantrix3DialogF::AdoptRTFStyle(std::unique_ptr<TrtfStyle> style) {
  rtfStyles_.push_back(std::move(style));
  return rtfStyles_.back().get();
}

void TVantrix3DialogF::FillStyleLists() {
  const TVantrixXLSOptions& xls = dialog_.XLSOptions;
  auto* options = Control<QTreeWidget>("lstXLSOptions");
  auto* fields = Control<QTreeWidget>("lstXLSFields");
  auto* styles = Control<QTreeWidget>("lstXLSStyles");
  auto* rtfBase = Control<QTreeWidget>("lstRTFBaseStyles");
  auto* rtfStrip = Control<QTreeWidget>("lstRTFStripStyles");
  for (QTreeWidget* list : {options, fields, styles, rtfBase, rtfStrip}) {
    const QSignalBlocker block(list);
    list->clear();
  }
  const auto addFormat = [this](QTreeWidget* list, const QString& caption, const TxlsFormat& from, int image) {
    auto copy = std::make_unique<TxlsFormat>();
    copy->Assign(from);
    AddListItem(list, caption, image, static_cast<TxlsCustomItem*>(AdoptXLSItem(std::move(copy))));
  };
  const std::pair<int, const TxlsFormat*> fixed[] = {
      {34243, &xls.HeaderFormat}, {34244, &xls.CaptionFormat},    {34246, &xls.AggregateFormat},
      {34247, &xls.FooterFormat}, {34248, &xls.HyperlinkFormat},
  };
  for (const auto& [id, format] : fixed) addFormat(options, Str(id), *format, 3);

  const std::pair<int, const TrtfStyle*> base[] = {
      {34154, &dialog_.RTFOptions.HeaderStyle},
      {34155, &dialog_.RTFOptions.CaptionStyle},
      {34156, &dialog_.RTFOptions.DataStyle},
      {34157, &dialog_.RTFOptions.FooterStyle},
  };
  for (const auto& [id, style] : base)
    AddListItem(rtfBase, Str(id), 3, AdoptRTFStyle(std::make_unique<TrtfStyle>(*style)));

  const TVantrixColumns& columns = dialog_.Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    auto format = std::make_unique<TxlsFieldFormat>();
    const int known = xls.FieldFormats.IndexByName(columns[i].Name);
    // Assigned first and named after: assigning copies the source's name, which may be empty.
    if (known >= 0)
      format->Assign(xls.FieldFormats[static_cast<size_t>(known)]);
    else
      format->Assign(xls.DataFormat);
    format->FieldName = columns[i].Name;
    AddListItem(fields, platform::FromCp1252(columns[i].Name), columns[i].IsBlob ? 0 : 1,
                static_cast<TxlsCustomItem*>(AdoptXLSItem(std::move(format))));
  }
  for (size_t i = 0; i < xls.StripStyles.Count(); ++i)
    addFormat(styles, Str(34252) + QString::number(styles->topLevelItemCount()), xls.StripStyles[i], 2);
  for (int i = 0; i < dialog_.RTFOptions.StripStyles.Count(); ++i)
    AddListItem(rtfStrip, Str(34158) + QString::number(rtfStrip->topLevelItemCount()), 2,
                AdoptRTFStyle(std::make_unique<TrtfStyle>(dialog_.RTFOptions.StripStyles[i])));
  for (QTreeWidget* list : {options, fields, styles, rtfBase, rtfStrip}) SelectFirst(list);
}

}  // namespace vantrix
