// The 3D view the program uses: the engine's OpenGL preview where the display
// offers OpenGL 3.3, else the flat relief view.
#pragma once

#include <memory>

#include "shell/gui/View3D.h"

namespace calvoro {

std::unique_ptr<View3D> MakeProgramView3D(QWidget* parent);

}  // namespace calvoro
