// What the drawing fuzzers ask of every object a load keeps: its transform,
// its points (a weight of 0 too), a text's sizes and a container's members
// are finite numbers.
#pragma once

#include <cmath>

#include "kernel/entities/TContainer2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TPrimitive2D.h"

namespace calvoro::fuzz {

inline bool Finite(TObject2D& object) {
    for (const auto& row : object.GetObjectMatrix().M)
        for (double value : row)
            if (!std::isfinite(value)) return false;
    if (auto* primitive = dynamic_cast<TPrimitive2D*>(&object))
        for (const TPoint2D& p : primitive->Points().Points())
            if (!std::isfinite(p.X / p.W) || !std::isfinite(p.Y / p.W)) return false;
    if (auto* text = dynamic_cast<TJustifiedVectText2D*>(&object))
        if (!std::isfinite(text->Height()) || !std::isfinite(text->InterLine()) || !std::isfinite(text->CharSpacing()))
            return false;
    if (auto* container = dynamic_cast<TContainer2D*>(&object)) {
        const auto members = container->Objects().GetIterator();
        for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next())
            if (auto* member2D = dynamic_cast<TObject2D*>(member); member2D && !Finite(*member2D)) return false;
    }
    return true;
}

}  // namespace calvoro::fuzz
