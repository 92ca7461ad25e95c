// What runs in the 2D view, held in one place: the number of the command
// (see CommandCodes.h), whether it is a command of the CAD panels and whether
// the pan started from its button runs. Nothing keeps a copy of it; one
// listener may follow its every change.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "shell/app/CommandCodes.h"

namespace calvoro {

class RunningCommand {
public:
    std::int32_t Code() const { return code_; }
    // Code that reads or writes the number as a plain value still works.
    operator std::int32_t() const { return code_; }
    RunningCommand& operator=(std::int32_t code) {
        Start(code);
        return *this;
    }

    void Start(std::int32_t code) {
        fromPanels_ = false;
        if (std::exchange(code_, code) != code) Changed();
    }
    // A command of the CAD panels starts its task; placing commands have no
    // number of their own but end like the picking ones.
    void StartFromPanels(std::int32_t code) {
        Start(code);
        fromPanels_ = true;
    }
    bool FromPanels() const { return fromPanels_; }
    void Clear() { Start(kNoCommand); }
    bool Is(std::int32_t code) const { return code_ == code; }
    // A drawing or editing command (a command number up to 40, or none set yet).
    bool DrawingCommand() const { return code_ <= kLastDrawingCommand; }

    // The pan started from its button runs (a Shift-drag pan is not a command).
    bool PanActive() const { return panActive_; }
    void SetPanActive(bool on) {
        if (std::exchange(panActive_, on) != on) Changed();
    }

    void SetOnChanged(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    void Changed() {
        if (changed_) changed_();
    }

    // Not 999: before the first command the end of an operation counts as a
    // drawing command's, as at the program's start.
    std::int32_t code_ = 0;
    bool panActive_ = false;
    bool fromPanels_ = false;
    std::function<void()> changed_;
};

}  // namespace calvoro
