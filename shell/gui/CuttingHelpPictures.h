// The small drawings beside the cutting parameters of the wizard: what the
// field under the cursor means (feed plane, step over, stock, depth passes,
// Z step, raster directions, filter, Z no-cut), numbered 101 to 112 as the
// pages ask for them.
#pragma once

#include <QPixmap>

namespace calvoro {

// The drawing of that number; a null pixmap for a number that has none.
QPixmap CuttingHelpPicture(int resource, int width = 200, int height = 80);

}  // namespace calvoro
