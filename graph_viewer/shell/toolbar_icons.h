// The toolbar's pictures, drawn in code so that they look the same on every
// desktop theme and need no image files.
#pragma once

#include <QIcon>

namespace vessor::graph {

enum class ToolIcon { Open, ZoomIn, ZoomOut, Export, Print, About, Help, Close, Program };

QIcon toolIcon(ToolIcon kind);

} // namespace vessor::graph
