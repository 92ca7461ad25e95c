// The values of the cutting-parameter page as the user typed them, read into
// the job's cutting values: a value that is not a number, or 0 where 0 cannot
// be used, is named instead of being replaced by the last good one.
#pragma once

#include <optional>
#include <string>

#include "engine/toolpath/ToolPathParameters.h"
#include "shell/wizard/WizardServices.h"

namespace calvoro {

struct CuttingTexts {
    std::string stepOver;   // above 0
    std::string feedPlane;  // any number
    std::string stock;      // 0 or more
    std::string filter;     // 0 or more
    std::string zStep;      // 0 or more
    int passCount = 1;
    bool rasterAlongX = true;
    bool rasterAlongY = false;
};

struct CuttingReading {
    CuttingParameters values;  // the fields read; the others as they were
    // The first field that cannot be used, and its text.
    std::optional<CuttingField> badField;
    std::string badText;
};

// Reads the texts over `previous`; the Z no-cut fields stay as they were.
CuttingReading ReadCuttingTexts(const CuttingTexts& texts, const CuttingParameters& previous);

// The help picture of a field on focus (101 .. 112), and of the two raster
// boxes after a click: 106 only along X, 107 only along Y, 108 both, 109 neither.
int HelpPictureFor(CuttingField field);
int RasterHelpPicture(bool alongX, bool alongY);

}  // namespace calvoro
