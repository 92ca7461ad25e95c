// Safe and distinct DXF names.
#include "kernel/dxf/DXFNames.h"

#include <algorithm>
#include <set>

namespace calvoro {

namespace {

bool IsForbidden(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 0x20 || code == 0x7F || std::string_view(R"(<>/\":;?*|=,)").find(c) != std::string_view::npos;
}

// The form two names are compared in.
std::string Folded(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return folded;
}

}  // namespace

std::string DXFSafeName(std::string_view name) {
    if (name.empty()) return "_";
    std::string safe(name);
    std::replace_if(safe.begin(), safe.end(), IsForbidden, '_');
    return safe;
}

std::vector<std::string> DXFFileNames(std::span<const std::string> names) {
    std::vector<std::string> given(names.size());
    std::set<std::string> taken;
    // Names that need no change are given first, so that a name changed to
    // look like one of them never takes it away.
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (name.size() > kDXFNameLength || DXFSafeName(name) != name) continue;
        if (taken.insert(Folded(name)).second) given[i] = name;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!given[i].empty()) continue;
        const std::string safe = DXFSafeName(names[i]);
        std::string candidate = safe.substr(0, kDXFNameLength);
        for (int number = 2; !taken.insert(Folded(candidate)).second; ++number) {
            // Appended, not "_" + a temporary: GCC 12 warns falsely (-Wrestrict)
            // about the inlined insert of a literal before a string.
            const std::string suffix = std::string(1, '_').append(std::to_string(number));
            candidate = safe.substr(0, kDXFNameLength - suffix.size()) + suffix;
        }
        given[i] = candidate;
    }
    return given;
}

}  // namespace calvoro
