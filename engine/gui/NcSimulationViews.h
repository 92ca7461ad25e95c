// What the NC page needs from the views that show a simulation and from the
// desktop. The main window implements these over its 2D viewport and 3D view
// and its dialogs; tests implement them with recording fakes.
#pragma once

#include <QString>
#include <cstdint>
#include <span>

#include "engine/nc/NcSimulation.h"

class QWidget;

namespace calvoro {

class NcSimulationViews {
public:
    virtual ~NcSimulationViews() = default;

    // --- 3D ---
    virtual bool is3DShown() const = 0;
    virtual void show3D() = 0;
    virtual void clearPath() = 0;
    virtual void appendPath(std::span<const SimNode> nodes) = 0;
    // Where the last move read ended: the 3D cutter follows while it is
    // shown, the 2D view marks the place.
    virtual void moveCutter(float x, float y, float z) = 0;
    // Out of sight, at the feed plane.
    virtual void parkCutter(float feedPlaneZ) = 0;
    // The text line at the foot of the 3D view.
    virtual void showMachiningTime(const QString& text) = 0;

    // --- 2D: objects over the drawing, not part of it; a repaint keeps them
    // until clearOverlay(). Colours are 0xRRGGBB. Angles in radians; the arc
    // runs counter-clockwise from `from` to `to` (equal: the whole circle).
    virtual void clearOverlay() = 0;
    virtual void addOverlayLine(SimPoint from, SimPoint to, std::uint32_t colour) = 0;
    virtual void addOverlayArc(SimPoint centre, double radius, double from, double to, std::uint32_t colour) = 0;
    virtual void addOverlayPoint(SimPoint at, std::uint32_t colour) = 0;
    virtual void overlayChanged() = 0;  // repaint once after a batch
};

class NcPageDialogs {
public:
    virtual ~NcPageDialogs() = default;
    // The save dialog with the overwrite question; empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual void showError(QWidget* parent, const QString& text) = 0;
    virtual void inform(QWidget* parent, const QString& text) = 0;
};

// The file dialog and message boxes of the desktop.
class QtNcPageDialogs : public NcPageDialogs {
public:
    QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                         const QString& defaultSuffix) override;
    void showError(QWidget* parent, const QString& text) override;
    void inform(QWidget* parent, const QString& text) override;
};

// 2D colours of the simulated moves: rapids yellow, every other move cyan.
constexpr std::uint32_t OverlayColour(int kind) {
    return kind == 0 ? 0xFFFF00u : 0x00FFFFu;
}

}  // namespace calvoro
