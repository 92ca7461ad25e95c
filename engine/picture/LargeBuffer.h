// Fresh memory for large pictures and maps. A 4000 x 4000 picture needs
// twelve thousand 4 KiB pages, and faulting them in one by one costs several
// times the copy that fills them; backed by 2 MiB pages the same buffer
// fills at memory speed.
#pragma once

#include <cstddef>
#include <vector>

namespace calvoro {

// Asks the system to back the whole pages inside [data, data + size) with
// huge pages when it can; only a hint, never an error.
void AdviseHugePages(void* data, std::size_t size);

// Makes room for `count` elements in an empty vector, with the hint above,
// without touching the memory: fill it with insert or push_back.
template <class T>
void ReserveLargeBuffer(std::vector<T>& buffer, std::size_t count) {
    buffer.clear();
    buffer.reserve(count);
    AdviseHugePages(buffer.data(), count * sizeof(T));
}

}  // namespace calvoro
