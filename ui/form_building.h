#pragma once
// Small helpers the dialogs share to make their controls: object names are the controls'
// names ("Ch1TagEdit"), captions come as UTF-8 literals.
#include <QHBoxLayout>
#include <QSpinBox>
#include <QString>

namespace ui {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

template <class W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

inline QString NameOf(const char* prefix, const char* rest) {
  return QString::fromLatin1(prefix) + QString::fromLatin1(rest);
}

template <class Name>
QSpinBox* SpinBox(QWidget* parent, const Name& name, int min, int max, int value, int width) {
  auto* spin = Named(new QSpinBox(parent), name);
  spin->setRange(min, max);
  spin->setValue(value);
  spin->setFixedWidth(width);
  return spin;
}

// An edit with its arrows close beside it, for a row of a grid or a box.
inline QHBoxLayout* EditWithArrows(QWidget* edit, QWidget* arrows) {
  auto* pair = new QHBoxLayout;
  pair->setSpacing(0);
  pair->addWidget(edit);
  pair->addWidget(arrows);
  return pair;
}

}  // namespace ui
