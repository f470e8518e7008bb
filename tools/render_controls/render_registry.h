#pragma once
// The renders of the review tool. A source file registers its renders with static
// RenderRegistrar objects; main writes each one to <output folder>/<name>.png.
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace render {

struct Render {
  std::string name;               // file name without extension
  std::function<QImage()> image;  // builds the control in one state and grabs it
};

std::vector<Render>& Registry();

struct RenderRegistrar {
  RenderRegistrar(std::string name, std::function<QImage()> image);
};

// What the widget paints, without showing it.
QImage Grab(QWidget& widget);

}  // namespace render
