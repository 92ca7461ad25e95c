// What the layer page shows of one layer and writes back into it, apart from
// the widgets: its name, pen width, colour and visibility.
#pragma once

#include <string>
#include <string_view>

#include "kernel/draw/Color.h"

namespace calvoro {

class TLayer;

struct LayerPanelValues {
    std::string Name;  // UTF-8
    int PenWidth = 1;
    TColor Color = clBlack;
    bool Visible = true;

    friend bool operator==(const LayerPanelValues&, const LayerPanelValues&) = default;
};

LayerPanelValues LoadLayerPanel(const TLayer& layer);

// Name (cut as CutLayerName cuts it), pen width, pen and brush colour; the
// layer becomes transparent, and visible and active both follow Visible, so a
// hidden layer's objects can be neither seen nor picked.
void ApplyLayerPanel(TLayer& layer, const LayerPanelValues& values);

// A layer keeps at most 31 bytes of name. The cut falls before a character
// that would not fit whole, so a name never ends in half a character.
std::string CutLayerName(std::string_view name);

// The row of a layer in the lists: "3 - Walls".
std::string LayerRowText(int index, std::string_view name);

}  // namespace calvoro
