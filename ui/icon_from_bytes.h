// Icons made from the bytes of an icon file: the entry chosen for the wanted size, then
// the image handed to the system. Bytes that do not hold a whole icon give no icon.
#pragma once

#include <windows.h>

#include "resource_bytes.h"
#include "scoped_win.h"

enum class IconSize { Small, Large };

// The directory's first entry with 16 or more colours and a width of 16 (small) or 32
// (large), else its last entry.
ScopedIcon MakeIconFromFileBytes(ByteView file, IconSize size);

// The same for an icon file carried as an RCDATA resource (a name or a MAKEINTRESOURCEA id).
ScopedIcon MakeIconFromFileResource(HMODULE module, const char* name, IconSize size);

// The same rule on a group icon resource, whose entries name RT_ICON resources.
ScopedIcon MakeIconFromGroupResource(HMODULE module, const char* name, IconSize size);
