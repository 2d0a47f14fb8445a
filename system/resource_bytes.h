// Read-only views of RCDATA resources carried in the program.
#pragma once

#include <windows.h>

#include <cstddef>

struct ByteView {
    const unsigned char* data = nullptr;
    size_t size = 0;
    bool empty() const { return data == nullptr || size == 0; }
};

// The bytes of RCDATA resource `id` of the module (the exe when null), or an empty view.
// Resource memory lives as long as the module; nothing is copied.
ByteView ResourceBytes(int id, HMODULE module = nullptr);
