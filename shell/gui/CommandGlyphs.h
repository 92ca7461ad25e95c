// The small pictures of the CAD commands, drawn by glyph index, and the snap
// button's picture for snapping on or off.
#pragma once

#include <QIcon>

namespace calvoro {

QIcon CommandGlyph(int index);
QIcon SnapGlyph(bool on);

}  // namespace calvoro
