#include "kernel/platform/IniFileDocument.h"

#include <stdexcept>

namespace calvoro {

std::string FoldIniName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::string_view TrimIniBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

IniFileDocument IniFileDocument::Parse(std::string_view bytes) {
    IniFileDocument document;
    DecodedText decoded = DecodeText(bytes);
    document.encoding_ = decoded.encoding;
    document.byteOrderMark_ = decoded.byteOrderMark;
    const std::string& text = decoded.text;
    // A file with LF line ends keeps them; anything else is written with CR LF.
    document.crLf_ = text.find('\n') == std::string::npos || text.find("\r\n") != std::string::npos;

    // A line ends at LF with any CRs before it (an editor that saved CR LF
    // through a CR LF filter leaves CR CR LF), or at a CR alone, so no value
    // ever holds a line break that a write would have to refuse.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        Line line = ParseLine(text.substr(start, end - start));
        std::size_t next = end;
        while (next < text.size() && text[next] == '\r') ++next;
        if (next < text.size() && text[next] == '\n') {
            ++next;
        } else if (next < text.size()) {
            next = end + 1;  // CRs not followed by LF: each ends a line of its own
            line.cutAtLoneCr = true;
        }
        document.lines_.push_back(std::move(line));
        start = next;
    }
    document.Reindex();
    return document;
}

IniFileDocument::Line IniFileDocument::ParseLine(std::string text) {
    Line line;
    const std::string_view trimmed = TrimIniBlanks(text);
    if (trimmed.starts_with('[')) {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = std::string(TrimIniBlanks(trimmed.substr(1, close - 1)));
        }
    } else if (!trimmed.empty() && !trimmed.starts_with(';')) {
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) {
            const std::string_view key = TrimIniBlanks(std::string_view(text).substr(0, equals));
            if (!key.empty()) {
                line.kind = LineKind::Entry;
                line.name = std::string(key);
                line.valueStart = equals + 1;
                while (line.valueStart < text.size() && (text[line.valueStart] == ' ' || text[line.valueStart] == '\t'))
                    ++line.valueStart;
            }
        }
    }
    line.text = std::move(text);
    return line;
}

void IniFileDocument::Reindex() {
    sections_.clear();
    firstSection_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Section) {
            if (!sections_.empty()) sections_.back().end = i;
            sections_.push_back(Section{i, lines_.size(), {}});
            firstSection_.try_emplace(FoldIniName(line.name), sections_.size() - 1);
        } else if (line.kind == LineKind::Entry && !sections_.empty()) {
            sections_.back().keys.try_emplace(FoldIniName(line.name), i);
        }
    }
}

const IniFileDocument::Section* IniFileDocument::FindSection(std::string_view section) const {
    const auto found = firstSection_.find(FoldIniName(TrimIniBlanks(section)));
    return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string_view> IniFileDocument::FindValue(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (!found) return std::nullopt;
    const auto entry = found->keys.find(FoldIniName(TrimIniBlanks(key)));
    if (entry == found->keys.end()) return std::nullopt;
    const Line& line = lines_[entry->second];
    return TrimIniBlanks(std::string_view(line.text).substr(line.valueStart));
}

bool IniFileDocument::ValueCutAtLoneCr(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (!found) return false;
    const auto entry = found->keys.find(FoldIniName(TrimIniBlanks(key)));
    return entry != found->keys.end() && lines_[entry->second].cutAtLoneCr;
}

bool IniFileDocument::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> IniFileDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        const std::string& name = lines_[section.header].name;
        if (&sections_[firstSection_.at(FoldIniName(name))] == &section) names.push_back(name);
    }
    return names;
}

std::vector<std::string> IniFileDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const Section* found = FindSection(section);
    if (!found) return names;
    for (std::size_t i = found->header + 1; i < found->end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Entry && found->keys.at(FoldIniName(line.name)) == i) names.push_back(line.name);
    }
    return names;
}

namespace {

void RefuseLineBreaks(std::string_view text, const char* what) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument(std::string(what) + " must not hold a line break: \"" + std::string(text) + "\"");
}

}  // namespace

void IniFileDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimIniBlanks(section);
    key = TrimIniBlanks(key);
    RefuseLineBreaks(section, "A section name");
    RefuseLineBreaks(key, "A key name");
    RefuseLineBreaks(value, "A value");
    if (section.empty() || section.find(']') != std::string_view::npos)
        throw std::invalid_argument("Not a valid section name: \"" + std::string(section) + "\"");
    if (key.empty() || key.find('=') != std::string_view::npos || key.starts_with(';') || key.starts_with('['))
        throw std::invalid_argument("Not a valid key name: \"" + std::string(key) + "\"");
    for (const std::string_view text : {section, key, value})
        if (!IsValidUtf8(text)) throw std::invalid_argument("Ini text must be UTF-8.");
    if (encoding_ == TextEncoding::Windows1252) {
        for (const std::string_view text : {section, key, value}) {
            if (!Utf8ToWindows1252(text)) {
                encoding_ = TextEncoding::Utf8;
                break;
            }
        }
    }

    if (const Section* found = FindSection(section)) {
        const auto entry = found->keys.find(FoldIniName(key));
        if (entry != found->keys.end()) {
            // Only the value changes; the key keeps its spelling and spacing.
            Line& line = lines_[entry->second];
            line.text = line.text.substr(0, line.valueStart) + std::string(value);
            line.cutAtLoneCr = false;
            return;
        }
        // After the last line of the section that is not blank, so the blank
        // line before the next section stays where it is.
        std::size_t at = found->end;
        while (at > found->header + 1 && TrimIniBlanks(lines_[at - 1].text).empty()) --at;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                      ParseLine(std::string(key) + "=" + std::string(value)));
    } else {
        std::string header;
        header.append(1, '[').append(section).append(1, ']');
        lines_.push_back(ParseLine(header));
        lines_.push_back(ParseLine(std::string(key) + "=" + std::string(value)));
    }
    Reindex();
}

std::string IniFileDocument::Serialize() const {
    std::string text;
    const std::string_view lineEnd = crLf_ ? "\r\n" : "\n";
    for (const Line& line : lines_) {
        text += line.text;
        text += lineEnd;
    }
    return EncodeText(text, encoding_, byteOrderMark_);
}

}  // namespace calvoro
