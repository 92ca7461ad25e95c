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
    // The class table is entered afresh each time, so that a table someone
    // filled with fewer classes is completed; the fonts start empty only once.
    RegisterAllEntityClasses(ClassRegistry::Global());
    static std::once_flag fontsReset;
    std::call_once(fontsReset, [] { VectFontTable::Global().Reset(); });
}

}  // namespace calvoro
