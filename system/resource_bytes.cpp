#include "resource_bytes.h"

ByteView ResourceBytes(int id, HMODULE module) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource) return {};
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded) return {};
    const void* bytes = LockResource(loaded);
    if (!bytes) return {};
    return {static_cast<const unsigned char*>(bytes), static_cast<size_t>(SizeofResource(module, resource))};
}
