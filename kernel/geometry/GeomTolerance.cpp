#include "kernel/geometry/GeomTolerance.h"

#include <atomic>
#include <cmath>
#include <stdexcept>

namespace calvoro {

namespace {
// Constant-initialised, so it holds the default before any static constructor
// of another file compares anything. Atomic because the engine's worker
// threads read it while the settings page may set it.
constinit std::atomic<double> tolerance{kDefaultGeomTolerance};
}  // namespace

double GeomTolerance() {
    return tolerance.load(std::memory_order_relaxed);
}

void SetGeomTolerance(double value) {
    if (!std::isfinite(value) || value < 0.0)
        throw std::invalid_argument("SetGeomTolerance: the tolerance must be a finite value of 0 or more.");
    tolerance.store(value, std::memory_order_relaxed);
}

}  // namespace calvoro
