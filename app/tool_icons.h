#pragma once
// The tool bar's pictures, drawn in code so the program needs no image files.
#include <QIcon>

namespace app {

enum class ToolIcon { SetupDevice, NewWindow, SetupWindow, SetupHistory, OpenHistory, Start, Stop, DisableHistory };

QIcon MakeToolIcon(ToolIcon which);

// The about box's logo: a stylised thermometer and humidity drop.
QPixmap MakeLogoPixmap(int size);

}  // namespace app
