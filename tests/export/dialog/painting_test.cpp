// The painting and style-editing functions of the dialog's style pages: pixels of the pattern
// and border samples and of the cell preview on QImage, palette lookups, and list item moves.
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

#include "export/dialog/dialog_services.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_editing.h"
#include "export/dialog/style_painting.h"
#include "export/xls/xls_link_note.h"
#include "fake_dialog_services.h"

using namespace vantrix;

namespace {

QImage WhiteImage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

std::set<std::pair<int, int>> DarkPixels(const QImage& image) {
  std::set<std::pair<int, int>> dark;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) dark.insert({x, y});
  return dark;
}

std::set<std::pair<int, int>> PatternPixels(int pattern) {
  QImage image = WhiteImage(12, 12);
  QPainter p(&image);
  p.setPen(QPen(Qt::black, 1));
  DrawPattern(p, pattern, 4, 4);
  p.end();
  std::set<std::pair<int, int>> cell;
  for (auto [x, y] : DarkPixels(image)) cell.insert({x - 4, y - 4});
  return cell;
}

bool IsDark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

}  // namespace

TEST(DrawPattern, CellsLeaveOutTheEndPointOfEverySegment) {
  using Cell = std::set<std::pair<int, int>>;
  EXPECT_EQ(PatternPixels(2), (Cell{{0, 0}, {2, 0}, {1, 1}, {3, 1}, {0, 2}, {2, 2}, {1, 3}, {3, 3}}));
  // (0,0)-(4,4) and (4,0)-(0,4): four pixels each, the corner (4,4) or (0,4) left out.
  EXPECT_EQ(PatternPixels(13), (Cell{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(PatternPixels(14), (Cell{{4, 0}, {3, 1}, {2, 2}, {1, 3}}));
  // One-pixel segments are their start point only.
  EXPECT_EQ(PatternPixels(17), (Cell{{0, 0}, {2, 2}}));
  EXPECT_TRUE(PatternPixels(0).empty());
  EXPECT_TRUE(PatternPixels(1).empty());
  EXPECT_TRUE(PatternPixels(19).empty());
}

TEST(DrawBorderStyle, DashesStartTenPixelsInAndStopShortOfTheEnd) {
  QImage image = WhiteImage(60, 9);
  QPainter p(&image);
  p.setPen(Qt::black);
  DrawBorderStyle(bstDashed, p, image.rect());
  p.end();
  // Dashes of 7 every 14 from x = 10 up to x = 50 (left out): 10-16, 24-30, 38-44.
  for (int x = 0; x < 60; ++x) {
    const bool dash = x >= 10 && x < 50 && (x - 10) % 14 < 7;
    EXPECT_EQ(IsDark(image, x, 4), dash) << "x = " << x;
  }
  EXPECT_FALSE(IsDark(image, 12, 3));
  EXPECT_FALSE(IsDark(image, 12, 5));
}

TEST(DrawBorderStyle, DoubleIsTwoLinesAroundTheMiddle) {
  QImage image = WhiteImage(60, 9);
  QPainter p(&image);
  p.setPen(Qt::black);
  DrawBorderStyle(bstDouble, p, image.rect());
  p.end();
  for (int x : {10, 30, 49}) {
    EXPECT_TRUE(IsDark(image, x, 3));
    EXPECT_FALSE(IsDark(image, x, 4));
    EXPECT_TRUE(IsDark(image, x, 5));
  }
  EXPECT_FALSE(IsDark(image, 50, 3));
  EXPECT_FALSE(IsDark(image, 9, 5));
}

TEST(DrawBorderStyle, NoneWritesItsWordInsteadOfALine) {
  QImage image = WhiteImage(80, 20);
  QPainter p(&image);
  p.setPen(Qt::black);
  DrawBorderStyle(bstNone, p, image.rect());
  p.end();
  const auto dark = DarkPixels(image);
  ASSERT_FALSE(dark.empty());
  int minX = 80, maxX = 0;
  for (auto [x, y] : dark) minX = std::min(minX, x), maxX = std::max(maxX, x);
  // Centred text, nowhere near the line's ends.
  EXPECT_GT(minX, 12);
  EXPECT_LT(maxX, 68);
  EXPECT_LE(std::abs((minX + maxX) / 2 - 40), 4);
}

TEST(DrawXLSCell, TextSitsFivePixelsFromTheEdgeItIsAlignedTo) {
  const auto redBounds = [](const TxlsFormat& format) {
    QImage image = WhiteImage(120, 60);
    QPainter p(&image);
    DrawXLSCell(p, image.rect(), format);
    p.end();
    QRect bounds;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 160 && c.green() < 100 && c.blue() < 100) bounds |= QRect(x, y, 1, 1);
      }
    return bounds;
  };
  TxlsFormat format;
  format.Font.Color = clrRed;
  format.Alignment = {halLeft, valTop};
  const QRect topLeft = redBounds(format);
  ASSERT_FALSE(topLeft.isEmpty());
  EXPECT_GE(topLeft.left(), 5);
  EXPECT_LE(topLeft.left(), 8);
  EXPECT_GE(topLeft.top(), 5);

  format.Alignment = {halRight, valBottom};
  const QRect bottomRight = redBounds(format);
  EXPECT_LE(bottomRight.right(), 120 - 5);
  EXPECT_GE(bottomRight.right(), 120 - 9);
  EXPECT_LE(bottomRight.bottom(), 60 - 5);
  EXPECT_GT(bottomRight.left(), topLeft.left() + 40);

  format.Alignment = {halCenter, valCenter};
  const QRect centred = redBounds(format);
  EXPECT_LE(std::abs(centred.center().x() - 60), 3);
  EXPECT_LE(std::abs(centred.center().y() - 30), 4);
}

TEST(DrawXLSCell, FillPatternAndBordersInPaletteColours) {
  TxlsFormat format;
  format.Fill.Background = clrYellow;
  format.Fill.Foreground = clrBlue;
  format.Fill.Pattern = ptThinGorizontal;  // pattern 11: the first row of every cell
  format.Borders.Top = {bstThin, clrRed};
  QImage image = WhiteImage(40, 30);
  QPainter p(&image);
  DrawXLSCell(p, image.rect(), format);
  p.end();
  EXPECT_EQ(image.pixelColor(5, 0), ToQColor(XLSColorValue(clrRed)));      // top border over the fill
  EXPECT_EQ(image.pixelColor(1, 24), ToQColor(XLSColorValue(clrBlue)));    // pattern row at y = 24
  EXPECT_EQ(image.pixelColor(1, 25), ToQColor(XLSColorValue(clrYellow)));  // background between
}

TEST(PaletteLookup, OnlyTheFortyNamedColoursAnswer) {
  for (int i = clrBlack; i <= clrWhite; ++i) {
    const auto c = static_cast<TxlsColor>(i);
    EXPECT_EQ(ColorToXLSColor(ColorByXLSColor(c)), ColorToXLSColor(XLSColorValue(c)));
  }
  EXPECT_EQ(ColorToXLSColor(ColorByXLSColor(clrRed)), clrRed);
  // A colour of the user-defined entries that no named entry has falls back to black.
  bool found = false;
  for (int i = clrColor1; i <= clrColor16 && !found; ++i) {
    const uint32_t value = XLSColorValue(static_cast<TxlsColor>(i));
    bool named = false;
    for (int n = clrBlack; n <= clrWhite; ++n) named |= XLSColorValue(static_cast<TxlsColor>(n)) == value;
    if (named) continue;
    found = true;
    EXPECT_EQ(ColorToXLSColor(value), clrBlack);
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(ColorToXLSColor(0x123457), clrBlack);
}

TEST(StyleEditing, CustomItemsReachTheirFontByKind) {
  TxlsHyperlink link;
  XLSCustomFormatEditFontStyle(&link, xfsItalic, true);
  EXPECT_TRUE(link.Format.Font.Style.Has(xfsItalic));
  TxlsNote note;
  XLSCustomItemSetUnderline(&note, fulDouble);
  XLSCustomItemSetHorAlignment(&note, halRight);
  EXPECT_EQ(note.Format.Font.Underline, fulDouble);
  EXPECT_EQ(note.Format.Alignment.Horizontal, halRight);
  TxlsFieldFormat field;
  XLSCustomFormatEditFontStyle(&field, xfsBold, true);
  XLSCustomFormatEditFontStyle(&field, xfsBold, false);
  EXPECT_TRUE(field.Font.Style.Empty());
  XLSCustomFormatEditFontStyle(nullptr, xfsBold, true);  // nothing to edit, nothing happens
}

class ListMoves : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 4; ++i) AddListItem(&list, QString(QChar('A' + i)), i, &objects[i]);
  }
  QString Captions(const QTreeWidget& l) const {
    QString s;
    for (int i = 0; i < l.topLevelItemCount(); ++i) s += l.topLevelItem(i)->text(0);
    return s;
  }
  QTreeWidget list, target;
  int objects[4] = {};
};

TEST_F(ListMoves, LastItemToTheTopShiftsTheOthersDown) {
  SetListItemIndex(list.topLevelItem(3), 0);
  EXPECT_EQ(Captions(list), "DABC");
  EXPECT_EQ(ItemObject(list.topLevelItem(0)), &objects[3]);
  EXPECT_EQ(ItemImage(list.topLevelItem(0)), 3);
  EXPECT_EQ(ItemObject(list.topLevelItem(3)), &objects[2]);
  SetListItemIndex(list.topLevelItem(0), 4);  // no item there
  SetListItemIndex(list.topLevelItem(0), -1);
  EXPECT_EQ(Captions(list), "DABC");
}

TEST_F(ListMoves, MovingOutSelectsTheNeighbourOrNothingInAnEmptyList) {
  QTreeWidgetItem* moved = MoveListItem(list.topLevelItem(1), &target, true, -1);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(ItemObject(moved), &objects[1]);
  EXPECT_EQ(Captions(list), "ACD");
  EXPECT_EQ(list.currentItem(), list.topLevelItem(1));  // C took B's place
  MoveListItem(list.topLevelItem(2), &target, true, 0);
  EXPECT_EQ(Captions(target), "DB");
  EXPECT_EQ(list.currentItem(), list.topLevelItem(1));  // the list is shorter: its last item
  MoveListItem(list.topLevelItem(0), &target, true, -1);
  MoveListItem(list.topLevelItem(0), &target, true, -1);
  EXPECT_EQ(list.topLevelItemCount(), 0);
  EXPECT_TRUE(target.selectedItems().isEmpty());
  EXPECT_EQ(MoveListItem(nullptr, &target, true, -1), nullptr);
}

TEST_F(ListMoves, WalksOverSelectedItemsInEitherDirection) {
  list.setSelectionMode(QAbstractItemView::MultiSelection);
  list.topLevelItem(0)->setSelected(true);
  list.topLevelItem(2)->setSelected(true);
  QString seen;
  ForAllListViewItems(&list, true, false, [&](QTreeWidgetItem* item) { seen += item->text(0); });
  EXPECT_EQ(seen, "CA");
  seen.clear();
  ForAllListViewItems(&list, false, true, [&](QTreeWidgetItem* item) { seen += item->text(0); });
  EXPECT_EQ(seen, "ABCD");
  // Items without a spreadsheet item are passed over.
  TxlsFormat format;
  SetItemObject(list.topLevelItem(1), static_cast<TxlsCustomItem*>(&format));
  SetItemObject(list.topLevelItem(0), nullptr);
  SetItemObject(list.topLevelItem(2), nullptr);
  SetItemObject(list.topLevelItem(3), nullptr);
  int count = 0;
  ForAllListViewCustomItems(&list, false, true, [&](TxlsCustomItem* item) {
    EXPECT_EQ(item, &format);
    ++count;
  });
  EXPECT_EQ(count, 1);
}

TEST(MemoCaret, ColumnAndLineOfTheSelectionsEnd) {
  QPlainTextEdit memo;
  memo.setPlainText("first\nsecond line\nthird");
  QTextCursor cursor = memo.textCursor();
  cursor.setPosition(2);
  cursor.setPosition(6 + 4, QTextCursor::KeepAnchor);
  memo.setTextCursor(cursor);
  EXPECT_EQ(GetMemoCaretPos(&memo), QPoint(4, 1));
}

TEST(DrawRTFSample, HighlightOnlyBehindTheTextAndOnlyWhenItDiffers) {
  TrtfStyle style;
  style.BackgroundColor = 0x00FFFF;  // yellow
  style.HighlightColor = 0xFF0000;   // blue
  style.AllowHighlight = true;
  QImage image = WhiteImage(100, 40);
  QPainter p(&image);
  DrawRTFSample(p, image.rect(), style);
  p.end();
  EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 0));
  bool blue = false;
  for (int x = 30; x < 70; ++x) blue |= image.pixelColor(x, 20) == QColor(0, 0, 255);
  EXPECT_TRUE(blue);
  style.AllowBackground = false;
  style.HighlightColor = style.BackgroundColor;
  QImage plain = WhiteImage(100, 40);
  QPainter q(&plain);
  DrawRTFSample(q, plain.rect(), style);
  q.end();
  EXPECT_EQ(plain.pixelColor(2, 2), QColor(Qt::white));
  EXPECT_NE(plain.pixelColor(50, 2), QColor(255, 255, 0));
}

TEST(PaintSampleFont, FramedWhiteBoxWithBlackTextUnlessColourIsAsked) {
  TVantrixFont font;
  font.color = 0x0000FF;  // red
  font.size = 14;
  const auto hasRed = [](const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 80) return true;
    return false;
  };
  for (bool useColor : {false, true}) {
    QImage image(160, 40, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter p(&image);
    PaintSampleFont(font, p, image.rect(), useColor);
    p.end();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(159, 39), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(hasRed(image), useColor);
  }
}

TEST(SelectFontForPaintBox, OnlyAConfirmedChoiceChangesTheFont) {
  testsupport::FakeDialogServices services;
  TVantrixFont font;
  EXPECT_FALSE(SelectFontForPaintBox(services, font, nullptr));
  EXPECT_EQ(font, TVantrixFont());
  TVantrixFont chosen;
  chosen.name = "Courier New";
  services.fonts.push_back(chosen);
  EXPECT_TRUE(SelectFontForPaintBox(services, font, nullptr));
  EXPECT_EQ(font.name, "Courier New");
}
