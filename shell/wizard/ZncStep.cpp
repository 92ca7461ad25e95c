#include "shell/wizard/ZncStep.h"

#include <cmath>
#include <optional>
#include <string>

#include "shell/app/Pages.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

void ZncStep::reset() {
    w_.services.window.showZncCaption(Say("753", "Pick Z point"));
    w_.setEnabled(WizardControl::ZncControls, false);
}

void ZncStep::zncCheckClicked(bool checked) {
    w_.togliAssoc();
    w_.job.setZncChecked(checked);
    w_.setEnabled(WizardControl::ZncControls, checked);
    if (checked && w_.job.zncLevel()) {
        std::string caption = " Z ";
        caption += formatta(*w_.job.zncLevel(), w_.settings.inches);
        w_.services.window.showZncCaption(caption);
    } else {
        w_.services.window.showZncCaption(Say("753", "Pick Z point"));
    }
    w_.services.view3d.redrawSurface(w_.job.zncFilter());
}

void ZncStep::zncToleranceEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value || *value < 0) return;
    const bool current = !w_.job.programOutdated();
    w_.job.setZncTolerance(static_cast<float>(*value));
    if (current) w_.togliAssoc();
}

void ZncStep::startZncPick() {
    w_.togliAssoc();
    w_.activeCommandMode = kZncPickMode;
    // The mark of an earlier pick goes; the first pick finds none.
    if (w_.services.drawing.hasObject(kZncMarkId)) w_.services.drawing.deleteObject(kZncMarkId);
    w_.set3DMode(false);
    w_.services.drawing.cancelTask();
    w_.services.drawing.startPointPick(kZncMarkId);
    w_.services.window.showStatus(page_message::kPointPick);
}

void ZncStep::zncPointPicked(double x, double y) {
    w_.activeCommandMode = kNoCommandMode;
    const ImageInfo& info = w_.job.info();
    const std::shared_ptr<const HeightMap>& map = w_.job.heightMap();
    // Rows and columns at their own sizes: pixels need not be square.
    const ReliefValues cells = w_.job.reliefValues();
    std::optional<float> level;
    if (map && cells.PixelSize > 0 && cells.CellSizeY() > 0) {
        const double column = std::nearbyint((x - info.X0) / cells.PixelSize);
        const double row = std::nearbyint((y - info.Y0) / cells.CellSizeY());
        // The last column and row count as outside, as the read-out does.
        if (column >= 0 && row >= 0 && column <= info.PixelWidth - 2 && row <= info.PixelHeight - 2 &&
            column < map->width() && row < map->height()) {
            level = map->at(static_cast<int>(column), static_cast<int>(row));
        }
    }
    w_.job.setZncLevel(level);
    std::string caption = level ? " Z: " : " ";
    caption += level ? formatta(*level, w_.settings.inches) : Say("752", "outside the picture");
    w_.services.window.showZncCaption(caption);
    w_.set3DMode(true);
    w_.services.view3d.redrawSurface(w_.job.zncFilter());
    w_.togliAssoc();
}

void ZncStep::zncPickCancelled() {
    if (w_.activeCommandMode != kZncPickMode) return;
    w_.activeCommandMode = kNoCommandMode;
    w_.set3DMode(true);
    w_.services.window.showStatus(page::kCutting);
}

void ZncStep::regenerateZnc() {
    w_.services.view3d.redrawSurface(w_.job.zncFilter());
}

}  // namespace calvoro
