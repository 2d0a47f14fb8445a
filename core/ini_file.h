// Our own private-profile reader and writer, for builds without Windows. It behaves like
// the Windows functions for the files this program reads and writes, and never loses or
// alters a line it does not own.
#pragma once

#include "profile.h"

class IniFileStore final : public ProfileStore {
public:
    Text GetString(const Text& path, const Text& section, const Text& key,
                   const Text& defaultText) override;
    bool PutString(const Text& path, const Text& section, const Text& key,
                   const Text& value) override;
};
