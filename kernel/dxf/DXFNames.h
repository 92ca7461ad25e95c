// The names a DXF file gives to layers and blocks. The drawing accepts names
// that DXF readers refuse (a layer "Cut/Engrave: 1", a block "A<B>|C"); the
// file carries a form of each that they accept, one for one and distinct, and
// the drawing keeps its own names.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calvoro {

// The longest name the file gives.
inline constexpr std::size_t kDXFNameLength = 31;

// The name with each character DXF forbids in a name (< > / \ " : ; ? * | = ,
// and control characters) turned into '_'; an empty name becomes "_".
std::string DXFSafeName(std::string_view name);

// The file's names for `names`, in the same order. A name that is safe and not
// yet given keeps itself; every other takes its safe form, followed by "_2",
// "_3", ... when that is given already, cut so the whole stays within
// kDXFNameLength. Names are told apart without regard to case, as DXF readers
// compare them, so no two results match.
std::vector<std::string> DXFFileNames(std::span<const std::string> names);

}  // namespace calvoro
