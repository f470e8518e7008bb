#pragma once
// What a user sees of a chart legend: the entries whose text does not show whole, cut short
// or out of the legend's view (a scroll away or below its edge).
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <string>
#include <vector>

#include "ui/chart_legend.h"

namespace testsupport {

// The texts (title and read-out, as shown now) of the entries not shown whole, in UTF-8.
inline std::vector<std::string> EntriesNotShownWhole(ui::ChartLegendView& legend) {
  std::vector<std::string> hidden;
  const QRect view = legend.viewport()->rect();
  const QFontMetrics metrics(legend.font());
  const QStyle* style = legend.style();
  // The style draws an entry's text this far inside the text's own rectangle.
  const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &legend) + 1;
  for (int row = 0; row < legend.model()->rowCount(); ++row) {
    const QModelIndex index = legend.model()->index(row, 0);
    const QString text = index.data().toString();
    QStyleOptionViewItem option;
    option.initFrom(&legend);
    option.rect = legend.visualRect(index);
    option.font = legend.font();
    option.fontMetrics = metrics;
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = legend.iconSize();
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &option, &legend);
    const bool whole = textRect.width() - 2 * textMargin >= metrics.horizontalAdvance(text);
    if (legend.isHidden() || !view.contains(option.rect) || !whole) hidden.push_back(text.toStdString());
  }
  return hidden;
}

}  // namespace testsupport
