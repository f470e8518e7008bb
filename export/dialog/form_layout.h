#pragma once
// Layout helpers of the export dialog's pages: compact grids of labelled controls.
#include <QBoxLayout>
#include <QGridLayout>
#include <initializer_list>

namespace vantrix::form {

inline QGridLayout* Grid(QWidget* parent, int margin = 4) {
  auto* grid = new QGridLayout(parent);
  grid->setContentsMargins(margin, margin, margin, margin);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  return grid;
}

inline QVBoxLayout* Column(QWidget* parent, int margin = 4) {
  auto* box = new QVBoxLayout(parent);
  box->setContentsMargins(margin, margin, margin, margin);
  box->setSpacing(3);
  return box;
}

// Widgets side by side; a null entry is a stretch.
inline QHBoxLayout* Line(std::initializer_list<QWidget*> widgets) {
  auto* line = new QHBoxLayout;
  line->setSpacing(3);
  for (QWidget* w : widgets) {
    if (w == nullptr)
      line->addStretch();
    else
      line->addWidget(w);
  }
  return line;
}

}  // namespace vantrix::form
