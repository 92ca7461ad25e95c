// The entity module's start-up: class table and font table.
#include "kernel/entities/EntityModule.h"

#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/VectFontTable.h"
#include "kernel/model/ClassRegistry.h"

#include <mutex>

namespace calvoro {

void InitializeEntityModule() {
    // The class table is entered afresh each time (tests may have cleared it);
    // the fonts start empty only once.
    RegisterEntityClasses(ClassRegistry::Global());
    static std::once_flag fontsReset;
    std::call_once(fontsReset, [] { VectFontTable::Global().Reset(); });
}

}  // namespace calvoro
