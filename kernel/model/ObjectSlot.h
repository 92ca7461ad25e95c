// One entry of a kernel object list: the object, and the object's ownership
// when the list owns what it holds. Lists that only refer to objects (the
// selections of the interactive tasks) leave `owned` empty.
#pragma once

#include "kernel/model/GraphicObject.h"

#include <list>
#include <memory>

namespace calvoro {

struct ObjectSlot {
    TGraphicObject* object = nullptr;
    std::unique_ptr<TGraphicObject> owned;
};

// The nodes of a TGraphicObjList, head first.
using ObjectNodes = std::list<ObjectSlot>;

}  // namespace calvoro
