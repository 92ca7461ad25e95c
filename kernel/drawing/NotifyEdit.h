// The hook the interactive tasks call after they create (code 20) or edit
// (code 12) an object. Nothing listens to it: it does nothing.
#pragma once

namespace calvoro {

class TGraphicObject;

inline constexpr int kNotifyEditCreated = 20;
inline constexpr int kNotifyEditChanged = 12;

inline void NotifyEdit(TGraphicObject& /*object*/, int /*code*/) {}

}  // namespace calvoro
