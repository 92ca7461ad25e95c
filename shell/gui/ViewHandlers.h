// The main window's answers to the 2D view: the cursor read-out on the status
// panel, with the relief depth under the cursor while a Z point is picked.
#pragma once

#include "kernel/geometry/Point2D.h"

namespace calvoro {

struct MainState;
struct MainWindowUi;

class ViewHandlers {
public:
    ViewHandlers(MainWindowUi& ui, const MainState& state) : ui_(ui), state_(state) {}

    // The snapped point under the cursor moved.
    void CursorMoved(const TPoint2D& point);

private:
    MainWindowUi& ui_;
    const MainState& state_;
};

}  // namespace calvoro
