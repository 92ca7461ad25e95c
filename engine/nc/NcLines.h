// An NC program as lines: one buffer of its bytes and where each line starts.
// It holds programs of millions of lines at little more than their size, so a
// page can show, step through, search and save them without a text editor
// document (which costs many times the bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calvoro {

class NcLines {
public:
    NcLines() = default;
    // Splits at CR LF, LF or a lone CR; a final line end opens no empty line.
    explicit NcLines(std::string text);

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view line(std::size_t index) const;

    // Every line followed by CR LF: the bytes of the NC file.
    std::string joined() const;

    // The first line at or after `from` that contains `text`, case-sensitive;
    // -1 when none up to the last line does.
    std::int64_t find(std::string_view text, std::size_t from) const;

private:
    std::string text_;
    std::vector<std::size_t> starts_;  // of each line in text_
    std::vector<std::uint32_t> lengths_;
};

}  // namespace calvoro
