// Helpers shared by the window, control and icon tests: a message pump that behaves like
// the program's loop, and reading what a control paints.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "window.h"

namespace ui_test {

// Dispatches everything queued now, as the program's loop would. Returns whether WM_QUIT
// came out of the queue.
inline bool PumpMessages() {
    bool quit = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (PreTranslateProgramMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quit;
}

// Pumps until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

inline void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

inline RECT RectInParent(HWND handle) {
    RECT rect;
    GetWindowRect(handle, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline RECT OuterRect(HWND handle) {
    RECT rect;
    GetWindowRect(handle, &rect);
    return rect;
}

// How many pixels of exactly this colour the window paints into a bitmap of its client
// area (through WM_PRINTCLIENT, or WM_PRINT, so it need not be on the screen). The bitmap
// starts black.
inline int PaintedPixelCount(HWND handle, COLORREF colour, UINT message = WM_PRINTCLIENT,
                             LPARAM what = PRF_CLIENT) {
    RECT client;
    GetClientRect(handle, &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedDc dc(CreateCompatibleDC(nullptr));
    ScopedGdiObject bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ previous = SelectObject(dc.Get(), bitmap.Get());
    SendMessageA(handle, message, reinterpret_cast<WPARAM>(dc.Get()), what);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        if ((pixels[i] & 0xFFFFFF) == wanted) ++count;
    SelectObject(dc.Get(), previous);
    return count;
}

}  // namespace ui_test
