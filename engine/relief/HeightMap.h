// The relief that the engine machines: one Z per picture pixel, addressed
// [x][y] with x the column from the left and y the row from the BOTTOM of the
// picture, so that y grows with work Y. Stored as one contiguous block of
// columns.
#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <span>

namespace calvoro {

class HeightMap {
public:
    HeightMap() = default;
    HeightMap(int width, int height, float fill = 0.0f);
    HeightMap(const HeightMap& other);
    HeightMap& operator=(const HeightMap& other);
    HeightMap(HeightMap&& other) noexcept;
    HeightMap& operator=(HeightMap&& other) noexcept;

    // New dimensions; cells that exist in both keep their value, new cells are 0.
    void resize(int width, int height);
    // New dimensions with every cell left unset, for a caller that writes
    // them all: a large map's memory is then touched once, by that writer.
    void allocate(int width, int height);
    void fill(float z);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    float& at(int x, int y) {
        assert(x >= 0 && x < width_ && y >= 0 && y < height_);
        return z_[static_cast<std::size_t>(x) * height_ + y];
    }
    float at(int x, int y) const {
        assert(x >= 0 && x < width_ && y >= 0 && y < height_);
        return z_[static_cast<std::size_t>(x) * height_ + y];
    }
    // Cell (x, y) with x and y clamped into the map: cells outside take the
    // nearest edge cell. The map must not be empty.
    float clampedAt(int x, int y) const;

    // Column x as height() consecutive values, y = 0 first.
    const float* column(int x) const { return z_.get() + static_cast<std::size_t>(x) * height_; }
    float* column(int x) { return z_.get() + static_cast<std::size_t>(x) * height_; }

    std::span<const float> values() const { return {z_.get(), size()}; }

private:
    std::size_t size() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }

    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<float[]> z_;
};

}  // namespace calvoro
