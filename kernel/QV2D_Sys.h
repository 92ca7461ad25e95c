// The kernel's chief header: everything the 2D CAD kernel's core offers.
#pragma once

#include "kernel/geometry/Clipping.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/PixelTypes.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/geometry/Point2D.h"
#include "kernel/geometry/Rect2D.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/geometry/Vector3D.h"
#include "kernel/geometry/ViewMapping.h"
