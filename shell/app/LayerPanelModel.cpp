#include "shell/app/LayerPanelModel.h"

#include "kernel/model/Layer.h"

namespace calvoro {

LayerPanelValues LoadLayerPanel(const TLayer& layer) {
    return {layer.Name(), layer.Pen().Width, layer.Pen().Color, layer.Visible()};
}

void ApplyLayerPanel(TLayer& layer, const LayerPanelValues& values) {
    layer.SetLayerName(CutLayerName(values.Name));
    PenAttributes pen = layer.Pen();
    pen.Width = values.PenWidth;
    pen.Color = values.Color;
    layer.SetPen(pen);
    layer.SetOpaque(false);
    layer.SetVisible(values.Visible);
    layer.SetActive(values.Visible);
    BrushAttributes brush = layer.Brush();
    brush.Color = values.Color;
    layer.SetBrush(brush);
}

std::string CutLayerName(std::string_view name) {
    if (name.size() <= TLayer::MaxNameLength) return std::string(name);
    std::size_t end = TLayer::MaxNameLength;
    // Back off over continuation bytes (10xxxxxx) to the start of the
    // character that the limit would split.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return std::string(name.substr(0, end));
}

std::string LayerRowText(int index, std::string_view name) {
    return std::to_string(index) + " - " + std::string(name);
}

}  // namespace calvoro
