// The 6-character version tag at the head of the kernel's streams ("KRN422",
// "QV-002", ...). Record readers compare it as a string in byte order, so that
// "KRN3  " < "KRN33" < "KRN4" < "KRN41" < "KRN422"; a tag shorter than six
// characters is stored padded with zero bytes, which end its text.
#pragma once

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <array>
#include <compare>
#include <cstddef>
#include <string_view>

namespace calvoro {

class VersionTag {
public:
    static constexpr std::size_t Size = 6;

    constexpr VersionTag() : bytes_{} {}
    // Longer text is cut to six characters.
    constexpr VersionTag(std::string_view text) : bytes_{} {  // NOLINT: tags are written as literals
        for (std::size_t i = 0; i < Size && i < text.size(); ++i) bytes_[i] = text[i];
    }
    constexpr VersionTag(const char* text) : VersionTag(std::string_view(text)) {}  // NOLINT

    static VersionTag Read(BinaryReader& reader) {
        VersionTag tag;
        reader.readInto(tag.bytes_.data(), Size);
        return tag;
    }
    void Write(BinaryWriter& writer) const { writer.writeBytes(bytes_.data(), Size); }

    // The characters up to the first zero byte.
    constexpr std::string_view text() const {
        std::size_t length = 0;
        while (length < Size && bytes_[length] != '\0') ++length;
        return std::string_view(bytes_.data(), length);
    }
    // All six stored bytes, for byte-for-byte comparisons.
    constexpr const std::array<char, Size>& bytes() const { return bytes_; }

    friend constexpr bool operator==(const VersionTag& a, const VersionTag& b) { return a.text() == b.text(); }
    friend constexpr std::strong_ordering operator<=>(const VersionTag& a, const VersionTag& b) {
        // Byte order, as unsigned characters.
        const std::string_view x = a.text(), y = b.text();
        for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
            const auto cx = static_cast<unsigned char>(x[i]), cy = static_cast<unsigned char>(y[i]);
            if (cx != cy) return cx <=> cy;
        }
        return x.size() <=> y.size();
    }

private:
    std::array<char, Size> bytes_;
};

}  // namespace calvoro
