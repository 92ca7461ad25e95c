// The huge-page hint for large buffers.
#include "engine/picture/LargeBuffer.h"

#include <cstdint>

#include <sys/mman.h>

namespace calvoro {

void AdviseHugePages(void* data, std::size_t size) {
    constexpr std::size_t Page = 4096;
    constexpr std::size_t Worthwhile = 4u << 20;  // below a few huge pages the hint gains nothing
    if (data == nullptr || size < Worthwhile) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + Page - 1) & ~(Page - 1);
    const std::uintptr_t last = (begin + size) & ~(Page - 1);
#ifdef MADV_HUGEPAGE
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

}  // namespace calvoro
