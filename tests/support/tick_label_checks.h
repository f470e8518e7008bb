#pragma once
// What a user sees of an axis's tick labels: the neighbours that run into one another.
#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <qcustomplot.h>
#include <string>
#include <vector>

namespace testsupport {

namespace detail {

struct LabelExtent {
  double start, end;
  QString label;
};

// The tick labels the axis draws, in screen order along it: its ticks inside its range, as laid
// out at the last replot, less those the plot leaves out because its border would cut them.
// Each is measured as the axis draws it: in its tick label font, every line of the label,
// centred on its tick.
inline std::vector<LabelExtent> TickLabelsDrawn(const QCPAxis& axis) {
  const QVector<double> ticks = axis.tickVector();
  const QVector<QString> labels = axis.tickVectorLabels();
  const QFontMetrics metrics(axis.tickLabelFont());
  const bool across = axis.orientation() == Qt::Horizontal;
  const QRect viewport = axis.parentPlot()->viewport();
  const double first = across ? viewport.left() : viewport.top();
  const double last = across ? viewport.right() : viewport.bottom();
  std::vector<LabelExtent> drawn;
  for (qsizetype i = 0; i < ticks.size() && i < labels.size(); ++i) {
    if (!axis.range().contains(ticks[i])) continue;
    const QRect size = metrics.boundingRect(0, 0, 0, 0, Qt::TextDontClip | Qt::AlignHCenter, labels[i]);
    const double length = across ? size.width() : size.height();
    const double centre = axis.coordToPixel(ticks[i]);
    if (centre - length / 2 < first || centre + length / 2 > last) continue;
    drawn.push_back({centre - length / 2, centre + length / 2, QString(labels[i]).replace(QLatin1Char('\n'), QLatin1Char(' '))});
  }
  std::sort(drawn.begin(), drawn.end(), [](const LabelExtent& a, const LabelExtent& b) { return a.start < b.start; });
  return drawn;
}

}  // namespace detail

// The neighbouring tick labels the axis draws that run into one another, as "a | b" in UTF-8.
inline std::vector<std::string> TickLabelsRunTogether(const QCPAxis& axis) {
  const std::vector<detail::LabelExtent> drawn = detail::TickLabelsDrawn(axis);
  std::vector<std::string> together;
  for (size_t i = 1; i < drawn.size(); ++i)
    if (drawn[i].start < drawn[i - 1].end)
      together.push_back((drawn[i - 1].label + QStringLiteral(" | ") + drawn[i].label).toStdString());
  return together;
}

// How many tick labels the axis draws.
inline int TickLabelsShown(const QCPAxis& axis) { return static_cast<int>(detail::TickLabelsDrawn(axis).size()); }

// The tick labels the axis draws, in UTF-8, their lines joined by a blank.
inline std::vector<std::string> TickLabelsShownText(const QCPAxis& axis) {
  std::vector<std::string> shown;
  for (const detail::LabelExtent& label : detail::TickLabelsDrawn(axis)) shown.push_back(label.label.toStdString());
  return shown;
}

}  // namespace testsupport
