// The values that place the relief in work space: the depths of white and black
// and where the picture's pixels lie. The main window keeps one of these; every
// computation that needs them takes a copy.
#pragma once

namespace calvoro {

struct ReliefValues {
    float WhiteZ = 0.0f;       // Z (work units) of a white pixel
    float BlackZ = -5.0f;      // Z of a black pixel
    float DepthRange = 5.0f;   // always WhiteZ - BlackZ; the setters keep it so
    float PixelSize = 1.0f;    // work units per pixel (along X)
    float WorkOffsetX = 0.0f;  // work position of pixel (0, 0), the picture's lower-left corner
    float WorkOffsetY = 0.0f;
    // Work units per pixel along Y when the picture is placed at sizes that
    // do not keep its proportions; 0 for square pixels.
    float PixelSizeY = 0.0f;

    float CellSizeY() const { return PixelSizeY == 0.0f ? PixelSize : PixelSizeY; }

    void setWhiteZ(float z) {
        WhiteZ = z;
        DepthRange = WhiteZ - BlackZ;
    }
    void setBlackZ(float z) {
        BlackZ = z;
        DepthRange = WhiteZ - BlackZ;
    }
};

}  // namespace calvoro
