#include "shell/app/GridCoupling.h"

#include <cmath>

#include "kernel/platform/IniFile.h"
#include "kernel/platform/NumberReading.h"
#include "shell/app/Pages.h"

namespace calvoro {

std::optional<double> GridCoupling::ParseSpacing(std::string_view text) {
    const std::optional<double> value = ReadNumber(text);
    if (!value || *value <= 0) return std::nullopt;
    return value;
}

GridField GridCoupling::Partner(GridField field) {
    switch (field) {
        case GridField::GridX:
            return GridField::GridY;
        case GridField::GridY:
            return GridField::GridX;
        case GridField::GridSubX:
            return GridField::GridSubY;
        case GridField::GridSubY:
            return GridField::GridSubX;
        case GridField::XSnap:
            return GridField::YSnap;
        case GridField::YSnap:
            return GridField::XSnap;
    }
    return field;
}

double& GridCoupling::Field(GridValues& values, GridField field) {
    switch (field) {
        case GridField::GridX:
            return values.GridDeltaX;
        case GridField::GridY:
            return values.GridDeltaY;
        case GridField::GridSubX:
            return values.GridSubX;
        case GridField::GridSubY:
            return values.GridSubY;
        case GridField::XSnap:
            return values.XSnap;
        case GridField::YSnap:
            return values.YSnap;
    }
    return values.GridDeltaX;
}

std::string GridCoupling::SpacingText(double value) {
    return FormatIniFloat(value);
}

bool GridCoupling::Change(GridField field, std::string_view text, bool coupled) {
    const std::optional<double> value = ParseSpacing(text);
    if (!value) return false;
    GridValues values = host_.Grid();
    Field(values, field) = *value;
    if (coupled) Field(values, Partner(field)) = *value;
    host_.SetGrid(values);
    return true;
}

std::optional<std::string> GridCoupling::Finish(GridField field, std::string_view text) const {
    if (ParseSpacing(text)) return std::nullopt;
    GridValues values = host_.Grid();
    return SpacingText(Field(values, field));
}

void GridCoupling::SetShowGrid(bool show) {
    GridValues values = host_.Grid();
    values.ShowGrid = show;
    host_.SetGrid(values);
}

void GridCoupling::SetUseSnap(bool use) {
    GridValues values = host_.Grid();
    values.UseSnap = use;
    host_.SetGrid(values);
}

bool PictureGrid::PlacingPage(int page) {
    return page == page::kDistance || page == page::kSize || page == page::kReference;
}

void PictureGrid::ResetGridForImage(bool inches) {
    GridValues values = host_.Grid();
    if (!placing_) {
        keptX_ = values.GridDeltaX;
        keptY_ = values.GridDeltaY;
        placing_ = true;
    }
    setX_ = setY_ = Spacing(inches);
    values.GridDeltaX = setX_;
    values.GridDeltaY = setY_;
    host_.SetGrid(values);
}

void PictureGrid::GiveBack() {
    if (!placing_) return;
    placing_ = false;
    GridValues values = host_.Grid();
    if (values.GridDeltaX != setX_ || values.GridDeltaY != setY_) return;
    values.GridDeltaX = keptX_;
    values.GridDeltaY = keptY_;
    host_.SetGrid(values);
}

void PictureGrid::PageShown(int page, bool inches) {
    if (!PlacingPage(page)) {
        GiveBack();
    } else if (!placing_) {
        ResetGridForImage(inches);
    }
}

}  // namespace calvoro
