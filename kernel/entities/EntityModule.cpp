// The entity module's start-up: class table and font table.
#include "kernel/entities/EntityModule.h"

#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/entities/TText2D.h"
#include "kernel/entities/VectFontTable.h"
#include "kernel/model/ClassRegistry.h"

#include <mutex>

namespace calvoro {

void RegisterAllEntityClasses(ClassRegistry& registry) {
    RegisterEntityClasses(registry);
    registry.Register(EntityClassIndex::Text, TText2D::Class);
    registry.Register(EntityClassIndex::Bitmap, TBitmap2D::Class);
    registry.Register(EntityClassIndex::JustifiedVectText, TJustifiedVectText2D::Class);
    registry.Register(EntityClassIndex::RationalBSpline, TQVBSpline2D::Class);
}

void InitializeEntityModule() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterAllEntityClasses(ClassRegistry::Global());
        VectFontTable::Global().Reset();
    });
}

}  // namespace calvoro
