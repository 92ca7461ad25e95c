#include "engine/relief/HeightMap.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "engine/picture/LargeBuffer.h"

namespace calvoro {

HeightMap::HeightMap(int width, int height, float fill) {
    resize(width, height);
    this->fill(fill);
}

namespace {

// Uninitialised: the caller writes every cell.
std::unique_ptr<float[]> NewCells(int width, int height) {
    if (width < 0 || height < 0) throw std::invalid_argument("HeightMap: negative size");
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (count == 0) return nullptr;
    std::unique_ptr<float[]> cells(new float[count]);
    AdviseHugePages(cells.get(), count * sizeof(float));
    return cells;
}

}  // namespace

HeightMap::HeightMap(const HeightMap& other)
    : width_(other.width_), height_(other.height_), z_(NewCells(other.width_, other.height_)) {
    std::copy_n(other.z_.get(), size(), z_.get());
}

HeightMap& HeightMap::operator=(const HeightMap& other) {
    if (this != &other) {
        HeightMap copy(other);
        *this = std::move(copy);
    }
    return *this;
}

HeightMap::HeightMap(HeightMap&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)), z_(std::move(other.z_)) {}

HeightMap& HeightMap::operator=(HeightMap&& other) noexcept {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    z_ = std::move(other.z_);
    return *this;
}

void HeightMap::resize(int width, int height) {
    if (width == width_ && height == height_) return;
    std::unique_ptr<float[]> grown = NewCells(width, height);
    const int keepX = std::min(width, width_);
    const int keepY = std::min(height, height_);
    for (int x = 0; x < width; ++x) {
        float* target = grown.get() + static_cast<std::size_t>(x) * height;
        const int kept = x < keepX ? keepY : 0;
        if (kept > 0) std::copy_n(column(x), kept, target);
        std::fill(target + kept, target + height, 0.0f);
    }
    z_ = std::move(grown);
    width_ = width;
    height_ = height;
}

void HeightMap::allocate(int width, int height) {
    if (width == width_ && height == height_) return;
    z_ = NewCells(width, height);
    width_ = width;
    height_ = height;
}

void HeightMap::fill(float z) {
    std::fill_n(z_.get(), size(), z);
}

float HeightMap::clampedAt(int x, int y) const {
    x = std::clamp(x, 0, width_ - 1);
    y = std::clamp(y, 0, height_ - 1);
    return at(x, y);
}

}  // namespace calvoro
