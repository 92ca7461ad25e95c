#include "engine/nc/NcLines.h"

#include <cstring>

namespace calvoro {

NcLines::NcLines(std::string text) : text_(std::move(text)) {
    const char* data = text_.data();
    const std::size_t size = text_.size();
    std::size_t at = 0;
    while (at < size) {
        const void* found = std::memchr(data + at, '\n', size - at);
        std::size_t end = found ? std::size_t(static_cast<const char*>(found) - data) : size;
        const std::size_t next = found ? end + 1 : size;
        // A lone CR inside the line also ends it (files from old controls).
        if (const void* cr = std::memchr(data + at, '\r', end - at)) {
            const std::size_t crAt = std::size_t(static_cast<const char*>(cr) - data);
            if (crAt + 1 < end) {
                starts_.push_back(at);
                lengths_.push_back(std::uint32_t(crAt - at));
                at = crAt + 1;
                continue;
            }
            end = crAt;
        }
        starts_.push_back(at);
        lengths_.push_back(std::uint32_t(end - at));
        at = next;
    }
}

std::string_view NcLines::line(std::size_t index) const {
    return std::string_view(text_.data() + starts_[index], lengths_[index]);
}

std::string NcLines::joined() const {
    std::string out;
    std::size_t total = 0;
    for (std::uint32_t length : lengths_) total += length + 2;
    out.reserve(total);
    for (std::size_t i = 0; i < size(); ++i) {
        out.append(line(i));
        out.append("\r\n");
    }
    return out;
}

std::int64_t NcLines::find(std::string_view text, std::size_t from) const {
    if (text.empty()) return -1;
    for (std::size_t index = from; index < size(); ++index)
        if (line(index).find(text) != std::string_view::npos) return std::int64_t(index);
    return -1;
}

}  // namespace calvoro
