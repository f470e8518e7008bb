#include "controls/digit_display.h"

#include <QImage>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/gdi_canvas.h"
#include "controls/rounding.h"

namespace controls {

namespace {

// Lit segments of the characters, bit s-1 for segment s (1 top, 2 upper left, 3 upper right,
// 4 middle, 5 lower left, 6 lower right, 7 bottom, 8 colon). Letters are approximations.
constexpr uint8_t Bits(std::initializer_list<int> segments) {
  uint8_t bits = 0;
  for (int s : segments) bits = static_cast<uint8_t>(bits | 1u << (s - 1));
  return bits;
}

constexpr uint8_t kDigits[10] = {
    Bits({1, 2, 3, 5, 6, 7}), Bits({3, 6}),          Bits({1, 3, 4, 5, 7}), Bits({1, 3, 4, 6, 7}),
    Bits({2, 3, 4, 6}),       Bits({1, 2, 4, 6, 7}), Bits({1, 2, 4, 5, 6, 7}), Bits({1, 3, 6}),
    Bits({1, 2, 3, 4, 5, 6, 7}), Bits({1, 2, 3, 4, 6, 7}),
};
constexpr uint8_t kMinus = Bits({4});
constexpr uint8_t kColon = Bits({8});
constexpr uint8_t kLetters[26] = {
    Bits({1, 2, 3, 4, 5, 6}), Bits({2, 4, 5, 6, 7}), Bits({1, 2, 5, 7}),    Bits({3, 4, 5, 6, 7}),  // A B C D
    Bits({1, 2, 4, 5, 7}),    Bits({1, 2, 4, 5}),    Bits({1, 2, 4, 5, 6, 7}), Bits({2, 4, 5, 6}),  // E F G H
    Bits({3, 6}),             Bits({3, 6, 7}),       Bits({2, 3, 4, 5, 6}), Bits({2, 5, 7}),        // I J K L
    Bits({4, 5, 6}),          Bits({4, 5, 6}),       Bits({4, 5, 6, 7}),    Bits({1, 2, 3, 4, 5}),  // M N O P
    Bits({1, 2, 3, 4, 6}),    Bits({4, 5}),          Bits({1, 2, 4, 6, 7}), Bits({2, 4, 5}),        // Q R S T
    Bits({2, 3, 5, 6, 7}),    Bits({2, 3, 5, 6, 7}), Bits({2, 3, 5, 6, 7}), Bits({2, 3, 4, 5, 6}),  // U V W X
    Bits({2, 3, 4, 6}),       Bits({1, 3, 4, 5, 7}),                                                // Y Z
};

bool Lit(uint8_t segments, int s) { return (segments >> (s - 1) & 1u) != 0; }

bool IsAccepted(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '-' || c == ' ' || c == '.' || c == ':';
}

class QtAnimationTimer : public AnimationTimer {
 public:
  QtAnimationTimer() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto onTimeout = onTimeout_) onTimeout();
    });
  }
  void Start(int milliseconds, std::function<void()> onTimeout) override {
    onTimeout_ = std::move(onTimeout);
    timer_.start(milliseconds);
  }
  void Stop() override { timer_.stop(); }

 private:
  QTimer timer_;
  std::function<void()> onTimeout_;
};

// Where the cells and segments go. Anything that leaves no room for a cell (no cells, no
// segment thickness, no dot pitch, a control too small) leaves only the background.
struct Geometry {
  bool drawable = false;
  bool dots = false;
  int cells = 0;       // DigitNum
  int shownCells = 0;  // the cells that can reach the control (fewer for absurd settings)
  int sp = 0, cw = 0, ch = 0, gx = 0, gy = 0, hl = 0, vl = 0, t = 0, pitch = 0;

  int X0(int i) const { return (i - 1) * (sp + cw) + sp; }
};

Geometry ComputeGeometry(int width, int height, int digitNum, int digitSpacing, bool dots, int dotSpacing,
                         int segmentSize, int gapX, int gapY) {
  Geometry g;
  if (digitNum < 1 || segmentSize < 1 || width < 1 || height < 1) return g;
  const int64_t n = digitNum, t = segmentSize;
  const int64_t sp = int64_t{digitSpacing} + (dots ? 0 : 1);
  const int64_t avail = width - 1 - sp;
  int64_t cw = 0, ch = 0, gx = 0, gy = 0, pitch = 0;
  if (!dots) {
    cw = (avail - n * sp) / n;
    ch = height - 1;
    gx = gapX;
    gy = gapY;
  } else {
    pitch = t + dotSpacing;
    // A dot as tall as the control leaves no room for a cell; on a fine grid its rows would
    // be drawn over and over by every overlapping dot.
    if (pitch < 1 || t >= height) return g;
    cw = pitch * (((sp + avail) / n - sp + dotSpacing) / pitch) - dotSpacing;
    ch = 2 * pitch * (((height - 1 - t) / 2) / pitch) + t;
  }
  if (cw < 1 || ch < 1 || sp + cw < 1) return g;
  // Spacing and gaps beyond any screen would only overflow the coordinates.
  constexpr int64_t kLimit = 1 << 24;
  for (int64_t v : {sp, cw, gx, gy, t}) {
    if (v > kLimit || v < -kLimit) return g;
  }
  g.drawable = true;
  g.dots = dots;
  g.cells = digitNum;
  g.sp = static_cast<int>(sp);
  g.cw = static_cast<int>(cw);
  g.ch = static_cast<int>(ch);
  g.gx = static_cast<int>(gx);
  g.gy = static_cast<int>(gy);
  g.t = segmentSize;
  g.pitch = static_cast<int>(pitch);
  g.hl = g.cw - 2 * g.gx;
  g.vl = g.ch / 2 - 2 * g.gy;
  g.shownCells = static_cast<int>(std::clamp<int64_t>((width - sp) / (sp + cw) + 2, 0, n));
  return g;
}

struct Colors {
  QColor on, off, back;
};

// One segment (1..8) of the cell at x0, lit or unlit; `segments` are the cell's lit ones.
class SegmentPainter {
 public:
  SegmentPainter(draw::GdiCanvas& canvas, const Geometry& g) : c_(canvas), g_(g) {}

  void SetColor(const QColor& color) {
    c_.pen = draw::Pen{color, 1, draw::PenStyle::Solid, false};
    c_.brush = draw::Brush{color, draw::BrushStyle::Solid};
    color_ = color;
  }

  void Segment(int s, int x0, uint8_t segments) {
    const int T = g_.t, half = g_.ch / 2;
    const int lowerY = g_.dots ? half - T / 2 : half + g_.gy;
    const bool lit = Lit(segments, s);
    // An unlit dot segment leaves out an end dot that a lit neighbour shares.
    auto any = [&](std::initializer_list<int> list) {
      if (lit) return false;
      for (int n : list)
        if (Lit(segments, n)) return true;
      return false;
    };
    switch (s) {
      case 1: Horizontal(x0 + g_.gx, 0, T, any({2}), any({3})); break;
      case 7: Horizontal(x0 + g_.gx, g_.ch, -T, any({5}), any({6})); break;
      case 4: Middle(x0 + g_.gx, half - T / 2, any({2, 5}), any({3, 6})); break;
      case 2: Vertical(x0, g_.gy, T, any({1}), any({4, 5})); break;
      case 3: Vertical(x0 + g_.cw, g_.gy, -T, any({1}), any({4, 6})); break;
      case 5: Vertical(x0, lowerY, T, any({2, 4}), any({7})); break;
      case 6: Vertical(x0 + g_.cw, lowerY, -T, any({3, 4}), any({7})); break;
      case 8: Colon(x0); break;
      default: break;
    }
  }

  void Point(int x0, int sp) {
    const int d = std::min(g_.t, sp - 2);
    if (d <= 0) return;
    const int x = x0 - (sp + d) / 2;
    if (g_.dots) Ellipse(x, g_.ch - d, x + d, g_.ch);
    else c_.Rectangle(x, g_.ch - d, x + d, g_.ch);
  }

 private:
  void Horizontal(int x, int y, int t, bool skipFirst, bool skipLast) {
    const int T = g_.t, len = g_.hl;
    if (g_.dots) return DotRun(x, y, len, t, true, skipFirst, skipLast);
    const int q = draw::Round(t / 4.0);
    c_.Polygon(QPolygon({{x, y + q}, {x + T / 2, y}, {x + len - T / 2, y}, {x + len, y + q},
                         {x + len - T, y + t}, {x + T, y + t}}));
  }

  void Middle(int x, int y, bool skipFirst, bool skipLast) {
    const int T = g_.t, len = g_.hl, t = T;
    if (g_.dots) return DotRun(x, y, len, t, true, skipFirst, skipLast);
    const int h = draw::Round(t / 2.0);
    c_.Polygon(QPolygon({{x, y + h}, {x + T, y}, {x + len - T, y}, {x + len, y + h},
                         {x + len - T, y + t}, {x + T, y + t}}));
  }

  void Vertical(int x, int y, int t, bool skipFirst, bool skipLast) {
    const int T = g_.t, len = g_.vl;
    if (g_.dots) return DotRun(x, y, len, t, false, skipFirst, skipLast);
    const int q = draw::Round(t / 4.0);
    c_.Polygon(QPolygon({{x + q, y}, {x, y + T / 2}, {x, y + len - T / 2}, {x + q, y + len},
                         {x + t, y + len - T}, {x + t, y + T}}));
  }

  void DotRun(int x, int y, int len, int t, bool horizontal, bool skipFirst, bool skipLast) {
    if (len <= 0) return;
    const int T = g_.t, count = (len + g_.pitch - 1) / g_.pitch;
    for (int j = 0; j < count; ++j) {
      if ((j == 0 && skipFirst) || (j == count - 1 && skipLast)) continue;
      const int at = (horizontal ? x : y) + j * g_.pitch;
      if (horizontal) Ellipse(at, y, at + T, y + t);
      else Ellipse(x, at, x + t, at + T);
    }
  }

  void Colon(int x0) {
    const int w = g_.hl / 3, h = g_.vl / 3, half = g_.ch / 2;
    const int x = x0 + (g_.cw - w) / 2;
    Ellipse(x, half - 2 * h, x + w, half - h);
    Ellipse(x, half + h, x + w, half + 2 * h);
  }

  // A filled ellipse in the box from (left, top) up to but excluding (right, bottom), outline
  // and inside in one colour: every pixel whose centre lies inside, row by row. Dots of two
  // pixels are whole squares, so a dot grid stays even at the smallest sizes.
  void Ellipse(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double a = (right - left) / 2.0, b = (bottom - top) / 2.0;
    QPainter& painter = c_.Painter();
    for (int y = top; y < bottom; ++y) {
      const double dy = (y + 0.5 - cy) / b;
      if (dy * dy > 1) continue;
      const double half = a * std::sqrt(1 - dy * dy);
      const int x0 = static_cast<int>(std::ceil(cx - half - 0.5));
      const int x1 = static_cast<int>(std::floor(cx + half - 0.5));
      if (x1 >= x0) painter.fillRect(QRect(x0, y, x1 - x0 + 1, 1), color_);
    }
  }

  draw::GdiCanvas& c_;
  const Geometry& g_;
  QColor color_;
};

// Draws the cells of `now`; with `before`, only what differs from it (the screen shows
// `before`). Decimal points first, then the segments in the given order, `steps` of them.
void DrawingPass(draw::GdiCanvas& canvas, const Geometry& g, const Colors& colors, const DigitCells& now,
                 const DigitCells* before, const std::array<int, 8>& order, int steps) {
  SegmentPainter painter(canvas, g);
  const int n = g.cells;
  for (int i = 1; i <= g.shownCells; ++i) {
    const bool lit = now.PointAt(i, n);
    if (before != nullptr && before->PointAt(i, n) == lit) continue;
    painter.SetColor(lit ? colors.on : colors.off);
    painter.Point(g.X0(i), g.sp);
  }
  // The gap after the last cell only ever holds a point that ends the text; when it goes, the
  // background comes back.
  if (g.shownCells == n) {
    const bool lit = now.PointAt(n + 1, n);
    const bool was = before != nullptr && before->PointAt(n + 1, n);
    if (lit || was) {
      painter.SetColor(lit ? colors.on : colors.back);
      painter.Point(g.X0(n + 1), g.sp);
    }
  }
  for (int k = 1; k <= steps; ++k) {
    const int s = order[k - 1];
    for (int i = 1; i <= g.shownCells; ++i) {
      const char c = now.CharAt(i, n);
      if (before != nullptr && before->CharAt(i, n) == c) continue;
      const uint8_t segments = DigitSegments(c);
      painter.SetColor(Lit(segments, s) ? colors.on : colors.off);
      painter.Segment(s, g.X0(i), segments);
    }
  }
}

std::string Latin(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

DigitCells DigitCells::Split(const std::string& text) {
  DigitCells cells;
  bool afterPoint = false;
  for (char c : text) {
    if (c == '.') {
      cells.points += '.';
      if (afterPoint) cells.chars += ' ';
      afterPoint = true;
    } else {
      cells.chars += c;
      if (!afterPoint) cells.points += ' ';
      afterPoint = false;
    }
  }
  // Points at the end have no cell after them: the last one follows the last cell instead of
  // sliding the others one cell to the left.
  if (cells.points.size() > cells.chars.size()) {
    cells.trailingPoint = cells.points.back() == '.';
    cells.points.pop_back();
  }
  return cells;
}

char DigitCells::CharAt(int i, int cells) const {
  const int64_t offset = int64_t{cells} - static_cast<int64_t>(chars.size());
  const int64_t index = offset > 0 ? i - offset - 1 : i - 1;
  if (i < 1 || i > cells || index < 0 || index >= static_cast<int64_t>(chars.size())) return ' ';
  return chars[static_cast<size_t>(index)];
}

bool DigitCells::PointAt(int i, int cells) const {
  const int64_t size = static_cast<int64_t>(chars.size());
  if (i == int64_t{cells} + 1) return trailingPoint && size <= cells;
  const int64_t offset = int64_t{cells} - size;
  const int64_t index = offset > 0 ? i - offset - 1 : i - 1;
  if (i < 1 || i > cells || index < 0 || index >= static_cast<int64_t>(points.size())) return false;
  return points[static_cast<size_t>(index)] == '.';
}

uint8_t DigitSegments(char c) {
  if (c >= '0' && c <= '9') return kDigits[c - '0'];
  if (c >= 'A' && c <= 'Z') return kLetters[c - 'A'];
  if (c == '-') return kMinus;
  if (c == ':') return kColon;
  return 0;
}

std::array<int, 8> AnimationOrder(TLCDAnimation animation) {
  switch (animation) {
    case anSpiral: return {8, 4, 2, 1, 3, 6, 7, 5};
    case anUp: return {7, 6, 5, 8, 4, 3, 2, 1};
    case anLeft: return {6, 3, 7, 8, 4, 1, 5, 2};
    case anRight: return {2, 5, 1, 8, 4, 7, 3, 6};
    default: return {1, 2, 3, 8, 4, 5, 6, 7};
  }
}

TDigitDisplay::TDigitDisplay(QWidget* parent)
    : QWidget(parent), timer_(std::make_unique<QtAnimationTimer>()), clock_(&platform::MonotonicClock::System()) {
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(92, 34);
}

TDigitDisplay::~TDigitDisplay() = default;

std::function<void(QWidget*, const QString&)>& TDigitDisplay::AboutPresenter() {
  static std::function<void(QWidget*, const QString&)> presenter = [](QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("TDigitDisplay"), text, QMessageBox::Ok);
  };
  return presenter;
}

QString TDigitDisplay::AboutText() {
  return QStringLiteral("TDigitDisplay: seven-segment LCD and LED digit display.");
}

void TDigitDisplay::SetAnimationTimer(std::unique_ptr<AnimationTimer> timer) {
  if (timer_) timer_->Stop();
  timer_ = std::move(timer);
  // A running animation waits on the old timer: finish it at once rather than strand it.
  if (animation_state_.running) {
    animation_state_.step = 7;
    AnimationTick();
  }
}

void TDigitDisplay::SetClock(const platform::MonotonicClock& clock) { clock_ = &clock; }

uint64_t TDigitDisplay::Now() const { return clock_->NowMs(); }

template <typename T>
void TDigitDisplay::Store(T& field, const T& value) {
  if (field == value) return;
  field = value;
  update();
}

void TDigitDisplay::ShowAbout(TLCDAbout value) {
  if (value == about_) return;
  if (value == abAbout) {
    if (auto& presenter = AboutPresenter()) presenter(this, AboutText());
  } else {
    about_ = value;
  }
  update();
}

void TDigitDisplay::SetAnimation(TLCDAnimation value) { animation_ = value; }
void TDigitDisplay::SetAnimationDelay(int value) { animationDelay_ = value; }
void TDigitDisplay::SetColor(draw::TColor value) { Store(color_, value); }
void TDigitDisplay::SetDigitNum(int value) { Store(digitNum_, value); }
void TDigitDisplay::SetDigitSpacing(int value) { Store(digitSpacing_, value); }
void TDigitDisplay::SetDotDisplay(bool value) { Store(dotDisplay_, value); }
void TDigitDisplay::SetDotSpacing(int value) { Store(dotSpacing_, value); }
void TDigitDisplay::SetDoubleBuffer(bool value) { Store(doubleBuffer_, value); }
void TDigitDisplay::SetGapX(int value) { Store(gapX_, value); }
void TDigitDisplay::SetGapY(int value) { Store(gapY_, value); }
void TDigitDisplay::SetOffColor(draw::TColor value) { Store(offColor_, value); }
void TDigitDisplay::SetOnColor(draw::TColor value) { Store(onColor_, value); }
void TDigitDisplay::SetPreview(bool value) { Store(preview_, value); }
void TDigitDisplay::SetSegmentSize(int value) { Store(segmentSize_, value); }

void TDigitDisplay::SetValue(const QString& value) {
  if (value == value_) return;
  QString text;
  text.reserve(value.size());
  bool accepted = true;
  for (QChar qc : value) {
    char16_t c = qc.unicode();
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c > 0x7F || !IsAccepted(static_cast<char>(c))) {
      accepted = false;
      break;
    }
    text += QChar(c);
  }
  if (!accepted) text.clear();
  if (text.endsWith(u'.')) text.chop(1);
  if (text == value_) return;
  const QString old = value_;
  value_ = text;
  if (OnChange) OnChange(this, old, value_);
  changed_ = true;
  update();
}

void TDigitDisplay::SetNumericValue(int value) {
  SetValue(QString::number(value));
  update();
}

int TDigitDisplay::GetNumericValue() const {
  bool ok = false;
  const int value = value_.toInt(&ok);
  return ok ? value : 0;
}

void TDigitDisplay::AnimationTick() {
  AnimationState& a = animation_state_;
  if (!a.running) return;
  ++a.step;
  if (a.step >= 8) {
    a.running = false;
    shown_ = a.to;
    paintDuration_ = static_cast<uint32_t>(Now() - a.started);
    update();
    return;
  }
  // Each wait is shortened by how late the previous one ended, by at most a whole step.
  const uint64_t now = Now();
  const uint64_t late = std::min<uint64_t>(now > a.due ? now - a.due : 0, static_cast<uint64_t>(a.stepDelay));
  const int wait = a.stepDelay - static_cast<int>(late);
  a.due = now + static_cast<uint64_t>(wait);
  if (timer_) timer_->Start(wait, [this] { AnimationTick(); });
  update();
}

void TDigitDisplay::DrawFrame(QPainter& painter, const QString& from, const QString& to,
                              const std::array<int, 8>& order, int steps) const {
  const Colors colors{draw::ToQColor(onColor_), draw::ToQColor(offColor_), draw::ToQColor(color_)};
  painter.fillRect(rect(), colors.back);
  const Geometry g = ComputeGeometry(width(), height(), digitNum_, digitSpacing_, dotDisplay_, dotSpacing_,
                                     segmentSize_, gapX_, gapY_);
  if (!g.drawable) return;
  draw::GdiCanvas canvas(painter);
  if (to.isEmpty()) {
    DrawingPass(canvas, g, colors, DigitCells::Split(""), nullptr, order, steps);
    return;
  }
  // What the screen showed, then what changed since.
  const DigitCells before = DigitCells::Split(Latin(from));
  DrawingPass(canvas, g, colors, before, nullptr, AnimationOrder(anDown), 8);
  DrawingPass(canvas, g, colors, DigitCells::Split(Latin(to)), &before, order, steps);
}

void TDigitDisplay::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  isPainting_ = true;
  const uint64_t start = Now();
  AnimationState& a = animation_state_;
  QString from = shown_, to = value_;
  std::array<int, 8> order = AnimationOrder(anDown);
  int steps = 8;
  if (a.running) {
    from = a.from;
    to = a.to;
    order = a.order;
    steps = a.step;
  } else {
    // A new value is drawn animated once; any other repaint draws at once.
    const bool animate = changed_ && animation_ != anNone;
    changed_ = false;
    if (animate) {
      TLCDAnimation kind = animation_;
      if (kind == anRandom) kind = static_cast<TLCDAnimation>(anSpiral + QRandomGenerator::global()->bounded(5));
      const int64_t spent = static_cast<int64_t>(Now() - start);
      const int stepDelay = static_cast<int>(std::max<int64_t>(0, (int64_t{animationDelay_} - spent) / 7));
      order = AnimationOrder(kind);
      if (stepDelay > 0 && timer_) {
        a = AnimationState{true, 1, order, stepDelay, Now() + static_cast<uint64_t>(stepDelay), start, from, to};
        steps = 1;
        timer_->Start(stepDelay, [this] { AnimationTick(); });
      }
    }
  }

  if (doubleBuffer_) {
    QImage buffer(size(), QImage::Format_RGB32);
    if (!buffer.isNull()) {
      QPainter bufferPainter(&buffer);
      DrawFrame(bufferPainter, from, to, order, steps);
      bufferPainter.end();
      QPainter(this).drawImage(0, 0, buffer);
    }
  } else {
    QPainter painter(this);
    DrawFrame(painter, from, to, order, steps);
  }

  if (!a.running) {
    shown_ = value_;
    paintDuration_ = static_cast<uint32_t>(Now() - start);
  }
  isPainting_ = false;
}

}  // namespace controls
