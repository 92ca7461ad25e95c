#include "kernel/geometry/ViewMapping.h"

#include <cmath>

namespace calvoro {

namespace {

bool HasArea(const TRect2D& r) {
    const double width = r.Right - r.Left;
    const double height = r.Top - r.Bottom;
    return std::isfinite(width) && std::isfinite(height) && width != 0.0 && height != 0.0;
}

}  // namespace

TMatrix2D WorldToScreenMatrix2D(TRect2D& visual, const TPixelRect& client, double aspectRatio) {
    const double clientWidth = static_cast<double>(client.Right) - client.Left;
    const double clientHeight = static_cast<double>(client.Bottom) - client.Top;
    if (!(clientWidth > 0.0 && clientHeight > 0.0)) return IdentityMatrix2D;

    TRect2D fitted = visual;
    if (aspectRatio > 0.0) {
        const double ratio = clientWidth / clientHeight * aspectRatio;
        if (fitted.Top - fitted.Bottom <= (fitted.Right - fitted.Left) / ratio)
            fitted.Top = fitted.Bottom + (fitted.Right - fitted.Left) / ratio;
        else
            fitted.Right = fitted.Left + (fitted.Top - fitted.Bottom) * ratio;
    }
    if (!HasArea(fitted)) return IdentityMatrix2D;

    TMatrix2D result;
    auto& M = result.M;
    M[0][0] = clientWidth / (fitted.Right - fitted.Left);
    M[1][1] = (static_cast<double>(client.Top) - client.Bottom) / (fitted.Top - fitted.Bottom);
    M[2][0] = client.Left - M[0][0] * fitted.Left - 0.5;
    M[2][1] = client.Bottom - M[1][1] * fitted.Bottom - 0.5;
    // A world box too small for doubles to scale up (or too far out) has no
    // usable mapping either.
    for (const auto& row : M)
        for (double entry : row)
            if (!std::isfinite(entry)) return IdentityMatrix2D;
    visual = fitted;
    return result;
}

}  // namespace calvoro
