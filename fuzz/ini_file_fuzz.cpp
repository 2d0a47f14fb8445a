// IniFileStore on any file contents with a sequence of reads and writes: no crash, no
// sanitizer report, a written value reads back exactly, writing it again changes no byte,
// and a write leaves every other readable (section, key) pair reading as before.
//
// Input: the file's bytes, then a line "==ops==", then one operation a line:
//   W section|key|value    write
//   R section|key          read
// Names and values are cut down to what reads back unchanged: no control bytes, no
// broken double-byte characters, no blanks or quotes at either end, and for names no
// "[", "]" or "=". A name "#n" takes the n-th name seen in the file, so writes update
// lines in place as often as they add them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>  // mkdtemp
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ini_file.h"

namespace {

constexpr std::string_view kOperationsMark = "\n==ops==\n";
constexpr size_t kMaxOperations = 16;
constexpr size_t kMaxPairs = 32;
const Text kAbsent = "(absent)";

struct Pair {
    Text section, key, expected;
};

// One file per process, in the temporary directory (scripts/fuzz.sh points TMPDIR at
// memory and removes it afterwards, also after a crash).
const Text& ProfilePath() {
    static const Text path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmora-ini-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        static const std::string directory = pattern;
        std::atexit([] { std::filesystem::remove_all(directory); });
        return directory + "/close.ini";
    }();
    return path;
}

void WriteFile(const Text& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

Text ReadFile(const Text& path) {
    Text bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char chunk[4096];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, count);
    std::fclose(file);
    return bytes;
}

bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Keeps printable ASCII and whole double-byte characters, drops the rest, then strips
// blanks and quotes from both ends.
Text ReadableText(std::string_view raw, bool isName) {
    Text kept;
    for (size_t i = 0; i < raw.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(raw[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < raw.size() &&
            IsTrailByte(static_cast<unsigned char>(raw[i + 1]))) {
            kept.append(raw.substr(i, 2));
            ++i;
        } else if (byte >= 0x20 && byte < 0x7F &&
                   !(isName && (byte == '[' || byte == ']' || byte == '='))) {
            kept.push_back(raw[i]);
        }
    }
    auto isEdge = [](char c) { return c == ' ' || c == '"' || c == '\''; };
    size_t start = 0, end = kept.size();
    // Blanks and quotes lie below 0x40, where no trail byte does, so trimming bytes at
    // the end never cuts a double-byte character.
    while (start < end && isEdge(kept[start])) ++start;
    while (end > start && isEdge(kept[end - 1])) --end;
    return kept.substr(start, end - start);
}

std::string_view TrimBytes(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
    return text;
}

// The (section, key) pairs a reader of the raw lines would guess; the store decides
// what each reads as.
std::vector<Pair> PairsNamedIn(std::string_view bytes) {
    std::vector<Pair> pairs;
    Text section;
    size_t start = 0;
    while (start <= bytes.size() && pairs.size() < kMaxPairs) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = TrimBytes(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        const size_t close = line.rfind(']');
        if (line.front() == '[' && close != std::string_view::npos) {
            section = Text(line.substr(1, close - 1));
            continue;
        }
        pairs.push_back({section, Text(TrimBytes(line.substr(0, line.find('=')))), Text()});
    }
    return pairs;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal after trimming and folding ASCII letters byte by byte: every pair of names the
// store may take as one (its own rule is stricter inside double-byte characters).
bool MayBeSameName(std::string_view a, std::string_view b) {
    a = TrimBytes(a);
    b = TrimBytes(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

[[noreturn]] void Fail(const char* what, const Text& section, const Text& key, const Text& got,
                       const Text& expected) {
    std::fprintf(stderr, "%s: [%s] %s read \"%s\", expected \"%s\"\n", what, section.c_str(),
                 key.c_str(), got.c_str(), expected.c_str());
    std::abort();
}

struct Operation {
    char kind = 0;
    Text section, key, value;
};

Text NameField(std::string_view field, const std::vector<Pair>& named, bool wantSection) {
    if (field.size() >= 2 && field[0] == '#' && !named.empty()) {
        const Pair& pair = named[static_cast<size_t>(std::strtoul(Text(field.substr(1)).c_str(), nullptr, 10)) %
                                 named.size()];
        return ReadableText(wantSection ? pair.section : pair.key, true);
    }
    return ReadableText(field, true);
}

std::vector<Operation> ParseOperations(std::string_view text, const std::vector<Pair>& named) {
    std::vector<Operation> operations;
    size_t start = 0;
    while (start < text.size() && operations.size() < kMaxOperations) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() < 2 || (line[0] != 'W' && line[0] != 'R')) continue;
        Operation operation;
        operation.kind = line[0];
        line.remove_prefix(1);
        std::string_view fields[3];
        for (std::string_view& field : fields) {
            const size_t bar = line.find('|');
            field = line.substr(0, bar);
            line = bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
        }
        operation.section = NameField(fields[0], named, true);
        operation.key = NameField(fields[1], named, false);
        operation.value = ReadableText(fields[2], false);
        if (operation.section.empty() || operation.key.empty()) continue;
        operations.push_back(std::move(operation));
    }
    return operations;
}

Pair* FindPair(std::vector<Pair>& pairs, const Text& section, const Text& key) {
    for (Pair& pair : pairs) {
        if (pair.section == section && pair.key == key) return &pair;
    }
    return nullptr;
}

void Write(IniFileStore& store, std::vector<Pair>& pairs, const Operation& op) {
    const Text& path = ProfilePath();
    if (!store.PutString(path, op.section, op.key, op.value)) {
        Fail("write failed", op.section, op.key, "", op.value);
    }
    const Text read = store.GetString(path, op.section, op.key, kAbsent);
    if (read != op.value) Fail("written value", op.section, op.key, read, op.value);

    const Text bytes = ReadFile(path);
    store.PutString(path, op.section, op.key, op.value);
    if (ReadFile(path) != bytes) Fail("the same write again changed the file", op.section, op.key, "", "");

    for (Pair& pair : pairs) {
        const Text now = store.GetString(path, pair.section, pair.key, kAbsent);
        const bool written = MayBeSameName(pair.section, op.section) && MayBeSameName(pair.key, op.key);
        if (now != pair.expected && !(written && now == op.value)) {
            Fail("another pair changed", pair.section, pair.key, now, pair.expected);
        }
        pair.expected = now;
    }
    if (FindPair(pairs, op.section, op.key) == nullptr && pairs.size() < kMaxPairs) {
        pairs.push_back({op.section, op.key, op.value});
    }
}

void Read(IniFileStore& store, std::vector<Pair>& pairs, const Operation& op) {
    const Text read = store.GetString(ProfilePath(), op.section, op.key, kAbsent);
    if (const Pair* known = FindPair(pairs, op.section, op.key)) {
        if (read != known->expected) Fail("read", op.section, op.key, read, known->expected);
    } else if (pairs.size() < kMaxPairs) {
        pairs.push_back({op.section, op.key, read});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t mark = input.find(kOperationsMark);
    const std::string_view contents = input.substr(0, mark);
    const std::string_view operations =
        mark == std::string_view::npos ? std::string_view() : input.substr(mark + kOperationsMark.size());

    IniFileStore store;
    const Text& path = ProfilePath();
    WriteFile(path, contents);

    std::vector<Pair> pairs = PairsNamedIn(contents);
    for (Pair& pair : pairs) pair.expected = store.GetString(path, pair.section, pair.key, kAbsent);

    for (const Operation& op : ParseOperations(operations, pairs)) {
        if (op.kind == 'W') {
            Write(store, pairs, op);
        } else {
            Read(store, pairs, op);
        }
    }
    return 0;
}
