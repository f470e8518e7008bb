#pragma once
// A titled group of mutually exclusive choices laid out in columns, whose items are texts
// added and cleared at run time, with "no item" as a possible state.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace ui {

class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& title, int columns, QWidget* parent);

  void SetItems(const QStringList& items);
  void Clear() { SetItems({}); }
  int Count() const { return static_cast<int>(buttons_.size()); }
  QString ItemText(int index) const;
  // -1: no item chosen.
  int ItemIndex() const;
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const;

 signals:
  // The user (or a test acting for the user) chose an item.
  void Clicked(int index);

 private:
  QButtonGroup* group_;
  QGridLayout* grid_;
  QList<QRadioButton*> buttons_;
  int columns_;
};

}  // namespace ui
