// The Windows profile store: GetPrivateProfileStringA and WritePrivateProfileStringA.
#pragma once

#include "profile.h"

class WinProfileStore final : public ProfileStore {
public:
    Text GetString(const Text& path, const Text& section, const Text& key,
                   const Text& defaultText) override;
    bool PutString(const Text& path, const Text& section, const Text& key,
                   const Text& value) override;
};
