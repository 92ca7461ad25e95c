// The 256 layers of a drawing, addressed by a byte; their number never changes.
#pragma once

#include "kernel/model/Layer.h"

#include <cstdint>
#include <vector>

namespace calvoro {

class TLayers {
public:
    static constexpr int Count = 256;

    TLayers();

    TLayer& LayerByIndex(std::uint8_t index) { return layers_[index]; }
    const TLayer& LayerByIndex(std::uint8_t index) const { return layers_[index]; }
    bool SetCanvasForLayer(std::uint8_t index, TDecorativeCanvas& canvas) const {
        return layers_[index].SetCanvas(canvas);
    }

    // Layer 0's pen colour.
    TColor DefaultLayersColor() const { return layers_[0].Pen().Color; }
    // Every layer not modified by hand takes the colour and stays unmodified.
    void SetDefaultLayersColor(TColor color);

private:
    std::vector<TLayer> layers_;
};

}  // namespace calvoro
