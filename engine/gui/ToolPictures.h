// The pictures of the cutter types: a small icon for the tool list and a larger
// side view for the tool form and the NC page's tool table. Drawn, not loaded,
// so every type has one at any size.
#pragma once

#include <QPixmap>

#include "engine/tools/ToolRecord.h"

namespace calvoro {

QPixmap ToolPicture(ToolType type, int size);

}  // namespace calvoro
