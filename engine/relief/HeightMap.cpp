#include "engine/relief/HeightMap.h"

#include <algorithm>
#include <stdexcept>

#include "engine/picture/LargeBuffer.h"

namespace calvoro {

HeightMap::HeightMap(int width, int height, float fill) {
    resize(width, height);
    this->fill(fill);
}

void HeightMap::resize(int width, int height) {
    if (width < 0 || height < 0) throw std::invalid_argument("HeightMap: negative size");
    if (width == width_ && height == height_) return;
    std::vector<float> grown;
    ReserveLargeBuffer(grown, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    grown.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f);
    const int keepX = std::min(width, width_);
    const int keepY = std::min(height, height_);
    for (int x = 0; x < keepX; ++x) std::copy_n(column(x), keepY, grown.data() + static_cast<std::size_t>(x) * height);
    z_.swap(grown);
    width_ = width;
    height_ = height;
}

void HeightMap::fill(float z) {
    std::fill(z_.begin(), z_.end(), z);
}

float HeightMap::clampedAt(int x, int y) const {
    x = std::clamp(x, 0, width_ - 1);
    y = std::clamp(y, 0, height_ - 1);
    return at(x, y);
}

}  // namespace calvoro
