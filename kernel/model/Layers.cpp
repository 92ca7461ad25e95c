// The drawing's layers.
#include "kernel/model/Layers.h"

namespace calvoro {

TLayers::TLayers() {
    layers_.reserve(Count);
    for (int index = 0; index < Count; ++index) layers_.emplace_back(static_cast<std::uint8_t>(index));
}

void TLayers::SetDefaultLayersColor(TColor color) {
    for (TLayer& layer : layers_) layer.SetDefaultPenColor(color);
}

}  // namespace calvoro
