#include "profile.h"

namespace {

// Blanks and control characters in front of a name are not part of it.
Text SkipLeadingControls(const Text& text) {
    size_t start = 0;
    while (start < text.size() && static_cast<unsigned char>(text[start]) <= 0x20) ++start;
    return text.substr(start);
}

struct ProfileAddress {
    Text path, section, key;
    bool complete() const { return !path.empty() && !section.empty() && !key.empty(); }
};

ProfileAddress AddressOf(const Text& path, const Text& section, const Text& key) {
    return {SkipLeadingControls(path), SkipLeadingControls(section), SkipLeadingControls(key)};
}

}  // namespace

Text ReadProfileText(ProfileStore& store, const Text& path, const Text& section,
                     const Text& key, const Text& defaultText) {
    const ProfileAddress address = AddressOf(path, section, key);
    if (!address.complete()) return Text();
    return store.GetString(address.path, address.section, address.key, defaultText);
}

bool WriteProfileText(ProfileStore& store, const Text& path, const Text& section,
                      const Text& key, const Text& value) {
    const ProfileAddress address = AddressOf(path, section, key);
    if (!address.complete()) return false;
    return store.PutString(address.path, address.section, address.key, value);
}
