// Icons made from the bytes of an icon file: the entry chosen for the wanted size, then
// the image handed to the system. Bytes that do not hold a whole icon give no icon.
#pragma once

#include <windows.h>

#include <cstddef>

#include "scoped_win.h"

enum class IconSize { Small, Large };

struct ByteView {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

// The directory's first entry with 16 or more colours and a width of 16 (small) or 32
// (large), else its last entry.
ScopedIcon MakeIconFromFileBytes(ByteView file, IconSize size);

// The same rule on a group icon resource, whose entries name RT_ICON resources.
ScopedIcon MakeIconFromGroupResource(HMODULE module, const char* name, IconSize size);

// The bytes of a resource of the module; empty when it has none of that name.
ByteView ResourceBytes(HMODULE module, const char* name, const char* type);
