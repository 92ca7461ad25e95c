// Input as the viewport's window receives it, handed first to the program that
// drives the viewport. Each method returns whether the viewport must still fire
// its own 2D mouse event for the message (false: the program already did).
// Coordinates are pixels of the client area; they are passed by reference so
// that the program may move them before the viewport sees them.
#pragma once

#include <cstdint>

namespace calvoro {

// Mouse buttons as the interaction program numbers them.
enum class TMouseButton : std::uint8_t { mbNone = 0, mbLeft = 1, mbRight = 2, mbMiddle = 3 };

// The keys and buttons held during an event, as a bit set.
using TShiftState = std::uint8_t;
namespace Shift {
inline constexpr TShiftState Shift = 1;
inline constexpr TShiftState Alt = 2;
inline constexpr TShiftState Ctrl = 4;
inline constexpr TShiftState Left = 8;
inline constexpr TShiftState Right = 16;
inline constexpr TShiftState Middle = 32;
inline constexpr TShiftState Double = 64;
}  // namespace Shift

// Virtual key numbers used by the program and the tasks.
namespace VirtualKey {
inline constexpr std::uint16_t Return = 13;
inline constexpr std::uint16_t Escape = 27;
}  // namespace VirtualKey

class ViewportInputHook {
public:
    virtual ~ViewportInputHook() = default;

    virtual bool HookMouseMove(TShiftState shift, int& x, int& y) = 0;
    virtual bool HookMouseDown(TMouseButton button, TShiftState shift, int& x, int& y) = 0;
    virtual bool HookMouseUp(TMouseButton button, TShiftState shift, int& x, int& y) = 0;
    // A double click arrives as this call followed by a mouse down.
    virtual bool HookDoubleClick(TMouseButton button, TShiftState shift, int& x, int& y) = 0;
    virtual bool HookKeyDown(std::uint16_t& key, TShiftState shift) = 0;
    virtual bool HookKeyUp(std::uint16_t& key, TShiftState shift) = 0;
    // The viewport goes away: the hook must forget it.
    virtual void ViewportDestroyed() = 0;
};

}  // namespace calvoro
