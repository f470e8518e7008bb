// render_controls <output folder>: writes every registered render as a PNG file.
#include <QApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tools/render_controls/render_registry.h"

namespace render {

std::vector<Render>& Registry() {
  static std::vector<Render> renders;
  return renders;
}

RenderRegistrar::RenderRegistrar(std::string name, std::function<QImage()> image) {
  Registry().push_back(Render{std::move(name), std::move(image)});
}

QImage Grab(QWidget& widget) { return widget.grab().toImage(); }

}  // namespace render

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_controls <output folder>\n");
    return 2;
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "render_controls: cannot create %s\n", argv[1]);
    return 1;
  }
  auto& renders = render::Registry();
  std::sort(renders.begin(), renders.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  int failures = 0;
  for (const render::Render& r : renders) {
    const QImage image = r.image();
    const QString path = QDir(folder).filePath(QString::fromStdString(r.name) + ".png");
    if (image.isNull() || !image.save(path, "PNG")) {
      std::fprintf(stderr, "render_controls: %s failed\n", r.name.c_str());
      ++failures;
    }
  }
  std::printf("render_controls: %zu renders, %d failed, in %s\n", renders.size(), failures, argv[1]);
  return failures == 0 && !renders.empty() ? 0 : 1;
}
