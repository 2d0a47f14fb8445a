// Private-profile (INI) access. The store is the platform's reader and writer:
// GetPrivateProfileStringA / WritePrivateProfileStringA on Windows, IniFileStore elsewhere.
#pragma once

#include "text.h"

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // defaultText empty means no default. Section and key match without regard to case,
    // blanks around the value and one pair of enclosing quotes are removed, a missing
    // section or key gives the default with its trailing blanks removed, an existing empty
    // value gives empty, and the result is cut to kProfileValueLimit bytes.
    virtual Text GetString(const Text& path, const Text& section, const Text& key,
                           const Text& defaultText) = 0;
    // Creates the file if needed, updates the key in place or adds it at the end of its
    // section (a missing section at the end of the file); an empty value is written as "key=".
    virtual bool PutString(const Text& path, const Text& section, const Text& key,
                           const Text& value) = 0;
};

// The reader's result buffer is 10240 bytes, so values are cut to 10239.
constexpr size_t kProfileBufferSize = 10240;
constexpr size_t kProfileValueLimit = kProfileBufferSize - 1;

// Leading bytes up to 0x20 are skipped in path, section and key; if any is then
// empty the result is empty and the file is not read.
Text ReadProfileText(ProfileStore& store, const Text& path, const Text& section,
                     const Text& key, const Text& defaultText);
bool WriteProfileText(ProfileStore& store, const Text& path, const Text& section,
                      const Text& key, const Text& value);
