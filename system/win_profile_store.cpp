#include "win_profile_store.h"

#include <windows.h>

#include <vector>

Text WinProfileStore::GetString(const Text& path, const Text& section, const Text& key,
                                const Text& defaultText) {
    std::vector<char> buffer(kProfileBufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(),
                                            defaultText.empty() ? nullptr : defaultText.c_str(),
                                            buffer.data(), static_cast<DWORD>(buffer.size()),
                                            path.c_str());
    // A cut inside a double-byte character can leave a zero byte within the reported length.
    const Text value(buffer.data(), length);
    return value.substr(0, value.find('\0'));
}

bool WinProfileStore::PutString(const Text& path, const Text& section, const Text& key,
                                const Text& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      path.c_str()) != FALSE;
}
