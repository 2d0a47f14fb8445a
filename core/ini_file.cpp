#include "ini_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

// The reader and writer follow the Windows private-profile functions as Wine implements
// them: a file is read into sections and keys, and a write that changes a value stores
// the whole file again in a normal form (CRLF line ends, no blank lines, no blanks around
// "="); a write that changes nothing leaves the file untouched. Texts stay code page 936
// bytes throughout, walked character by character so that a trail byte is never taken
// for a bracket, a line end or a letter.

namespace {

struct IniKey {
    Text name;
    Text value;
    bool hasValue = false;  // a line without "=" has a name only
};

struct IniSection {
    Text name;
    bool hasHeader = false;  // the lines before the first header form a section without one
    std::vector<IniKey> keys;
};

using IniDocument = std::vector<IniSection>;

constexpr size_t kNotFound = static_cast<size_t>(-1);

// A lead byte joins only a valid trail byte, so a stray byte never swallows a line end.
size_t CharLengthAt(std::string_view text, size_t index) {
    const unsigned char lead = static_cast<unsigned char>(text[index]);
    if (lead < 0x81 || lead > 0xFE || index + 1 >= text.size()) return 1;
    const unsigned char trail = static_cast<unsigned char>(text[index + 1]);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

bool IsProfileBlank(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x1A || byte == 0x20;
}

std::string_view TrimLeft(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsProfileBlank(text[start])) ++start;
    return text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
    size_t end = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharLengthAt(text, i);
        if (length == 2 || !IsProfileBlank(text[i])) end = i + length;
        i += length;
    }
    return text.substr(0, end);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// Position of the first (or last) single-byte character equal to wanted, or kNotFound.
size_t FindChar(std::string_view text, char wanted, bool last) {
    size_t found = kNotFound;
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharLengthAt(text, i);
        if (length == 1 && text[i] == wanted) {
            found = i;
            if (!last) break;
        }
        i += length;
    }
    return found;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Letter case counts only for ASCII characters; double-byte characters compare exactly.
bool NamesMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        const size_t length = CharLengthAt(a, i);
        if (length != CharLengthAt(b, i)) return false;
        if (length == 2 ? a.substr(i, 2) != b.substr(i, 2) : AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

void AddLine(IniDocument& document, std::string_view line) {
    if (line.front() == '[') {
        const size_t close = FindChar(line, ']', true);
        if (close != kNotFound) {
            document.push_back({Text(Trim(line.substr(1, close - 1))), true, {}});
            return;
        }
    }
    IniKey key;
    const size_t equals = FindChar(line, '=', false);
    if (equals == kNotFound) {
        key.name = Text(line);
    } else {
        key.name = Text(TrimRight(line.substr(0, equals)));
        key.value = Text(TrimLeft(line.substr(equals + 1)));
        key.hasValue = true;
    }
    document.back().keys.push_back(std::move(key));
}

IniDocument ParseIni(std::string_view bytes) {
    IniDocument document{IniSection{}};
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t lineStart = i;
        while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') i += CharLengthAt(bytes, i);
        const std::string_view line = Trim(bytes.substr(lineStart, i - lineStart));
        while (i < bytes.size() && (bytes[i] == '\r' || bytes[i] == '\n')) ++i;
        if (!line.empty()) AddLine(document, line);
    }
    return document;
}

// A lead byte left without its partner at the end of a name, as in "[ab\x81 ]".
bool EndsInLoneLeadByte(std::string_view name) {
    size_t last = kNotFound;
    for (size_t i = 0; i < name.size(); i += CharLengthAt(name, i)) last = i;
    if (last == kNotFound || last + 1 != name.size()) return false;
    const unsigned char byte = static_cast<unsigned char>(name[last]);
    return byte >= 0x81 && byte <= 0xFE;
}

Text SerializeIni(const IniDocument& document) {
    Text bytes;
    for (const IniSection& section : document) {
        // Such a lead byte would take the closing bracket as its trail byte and turn the
        // header into a key line; the blank between them is trimmed again on reading.
        const char* close = EndsInLoneLeadByte(section.name) ? " ]\r\n" : "]\r\n";
        if (section.hasHeader) bytes += ConcatText({"[", section.name, close});
        for (const IniKey& key : section.keys) {
            bytes += key.name;
            if (key.hasValue) bytes += ConcatText({"=", key.value});
            bytes += "\r\n";
        }
    }
    return bytes;
}

size_t FindSection(const IniDocument& document, std::string_view name) {
    const std::string_view wanted = Trim(name);
    for (size_t i = 0; i < document.size(); ++i) {
        if (NamesMatch(document[i].name, wanted)) return i;
    }
    return kNotFound;
}

size_t FindKey(const IniSection& section, std::string_view name) {
    const std::string_view wanted = Trim(name);
    for (size_t i = 0; i < section.keys.size(); ++i) {
        if (NamesMatch(section.keys[i].name, wanted)) return i;
    }
    return kNotFound;
}

enum class FileRead { kRead, kMissing, kFailed };

FileRead ReadWholeFile(const Text& path, Text& bytes) {
    errno = 0;
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"),
                                                            &std::fclose);
    if (!file) return errno == ENOENT ? FileRead::kMissing : FileRead::kFailed;
    char chunk[8192];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, count);
    return std::ferror(file.get()) ? FileRead::kFailed : FileRead::kRead;
}

bool WriteWholeFile(const Text& path, const Text& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// Offsets where each character of text starts, followed by text.size().
std::vector<size_t> CharStarts(std::string_view text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// What the reader hands back for a stored value or a default: one pair of enclosing quotes
// removed, at most kProfileBufferSize - 1 characters, then at most kProfileValueLimit bytes
// of whole characters.
Text ValueAsRead(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    const std::vector<size_t> starts = CharStarts(value);
    const size_t count = starts.size() - 1;
    const bool quoted = count >= 2 && (value.front() == '\'' || value.front() == '"') &&
                        starts[count - 1] == value.size() - 1 && value.back() == value.front();
    const size_t first = quoted ? 1 : 0;
    const size_t available = count - first;
    size_t copied = std::min(available, kProfileBufferSize - 1);
    // The closing quote goes only when it could have been copied; a longer value keeps its cut.
    if (quoted && available <= kProfileBufferSize) --copied;
    size_t last = first + copied;
    while (starts[last] - starts[first] > kProfileValueLimit) --last;
    return Text(value.substr(starts[first], starts[last] - starts[first]));
}

// Trailing spaces of a default go, but its first character always stays.
Text TrimDefault(const Text& defaultText) {
    size_t end = defaultText.size();
    while (end > 1 && defaultText[end - 1] == ' ') --end;
    return defaultText.substr(0, end);
}

}  // namespace

Text IniFileStore::GetString(const Text& path, const Text& section, const Text& key,
                             const Text& defaultText) {
    Text bytes;
    const bool read = ReadWholeFile(path, bytes) == FileRead::kRead;
    if (read) {
        const IniDocument document = ParseIni(bytes);
        const size_t sectionIndex = FindSection(document, section);
        if (sectionIndex != kNotFound) {
            const IniSection& found = document[sectionIndex];
            const size_t keyIndex = FindKey(found, key);
            if (keyIndex != kNotFound && found.keys[keyIndex].hasValue) {
                return ValueAsRead(found.keys[keyIndex].value);
            }
        }
    }
    return ValueAsRead(TrimDefault(defaultText));
}

bool IniFileStore::PutString(const Text& path, const Text& section, const Text& key,
                             const Text& value) {
    Text bytes;
    const FileRead outcome = ReadWholeFile(path, bytes);
    // A file that exists but cannot be read must not be replaced by a new one.
    if (outcome == FileRead::kFailed) return false;
    IniDocument document = ParseIni(bytes);

    size_t sectionIndex = FindSection(document, section);
    if (sectionIndex == kNotFound) {
        const Text name(TrimLeft(section));
        document.push_back({name, !name.empty(), {}});
        sectionIndex = document.size() - 1;
    }
    IniSection& target = document[sectionIndex];
    size_t keyIndex = FindKey(target, key);
    if (keyIndex == kNotFound) {
        target.keys.push_back({Text(TrimLeft(key)), Text(), false});
        keyIndex = target.keys.size() - 1;
    }
    IniKey& entry = target.keys[keyIndex];
    const Text newValue(TrimLeft(value));
    if (entry.hasValue && entry.value == newValue) return true;
    entry.value = newValue;
    entry.hasValue = true;
    return WriteWholeFile(path, SerializeIni(document));
}
