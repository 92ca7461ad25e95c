#include "shell/wizard/CuttingValues.h"

#include <cmath>

#include "shell/wizard/NumberText.h"

namespace calvoro {

CuttingReading ReadCuttingTexts(const CuttingTexts& texts, const CuttingParameters& previous) {
    CuttingReading reading;
    reading.values = previous;
    // Each field: its text, the lowest value it takes and whether that value itself is refused.
    const auto read = [&reading](CuttingField field, const std::string& text, std::optional<double> lowest,
                                 bool lowestRefused) -> std::optional<double> {
        const std::optional<double> value = ParseEditNumber(text);
        const bool usable = value && std::isfinite(*value) &&
                            (!lowest || (lowestRefused ? *value > *lowest : *value >= *lowest));
        if (usable) return value;
        if (!reading.badField) {
            reading.badField = field;
            reading.badText = text;
        }
        return std::nullopt;
    };
    if (const auto v = read(CuttingField::StepOver, texts.stepOver, 0.0, true)) reading.values.stepOver = *v;
    if (const auto v = read(CuttingField::FeedPlane, texts.feedPlane, std::nullopt, false))
        reading.values.feedPlaneZ = *v;
    if (const auto v = read(CuttingField::Stock, texts.stock, 0.0, false))
        reading.values.stockAllowance = static_cast<float>(*v);
    if (const auto v = read(CuttingField::Filter, texts.filter, 0.0, false))
        reading.values.filterTolerance = static_cast<float>(*v);
    if (const auto v = read(CuttingField::ZStep, texts.zStep, 0.0, false)) reading.values.zStep = *v;
    reading.values.passCount = texts.passCount;
    reading.values.rasterAlongX = texts.rasterAlongX;
    reading.values.rasterAlongY = texts.rasterAlongY;
    return reading;
}

int HelpPictureFor(CuttingField field) {
    switch (field) {
        case CuttingField::FeedPlane:
            return 101;
        case CuttingField::StepOver:
            return 102;
        case CuttingField::Stock:
            return 103;
        case CuttingField::PassCount:
            return 104;
        case CuttingField::ZStep:
            return 105;
        case CuttingField::Filter:
            return 111;
        case CuttingField::ZncGroup:
            return 112;
    }
    return 0;
}

int RasterHelpPicture(bool alongX, bool alongY) {
    if (alongX && alongY) return 108;
    if (alongX) return 106;
    if (alongY) return 107;
    return 109;
}

}  // namespace calvoro
