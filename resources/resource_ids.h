// Identifiers of the resources that velmora.rc carries. Plain defines: windres reads
// this file too.
#pragma once

// The application icon: MainWindowIcon's image as the program's first group icon, which
// Explorer and every window without an icon of its own show.
#define VELMORA_DEFAULT_ICON_NAME "DEFAULT_ICON"

// The hyperlink's hand-shaped cursor, hot spot (6, 1).
#define IDC_HAND_CURSOR 1032

// Whole files as RCDATA, read at run time as bytes: the icons are made from them by the
// program's own icon selection rule, the library image is written out as SkinH_EL.dll.
#define IDR_MAIN_WINDOW_ICON 200
#define IDR_TRAY_ICON_IMAGE 201
#define IDR_SKIN_LIBRARY_IMAGE 202

// EmbeddedSkins: skin n (1 to VELMORA_SKIN_COUNT) is RCDATA IDR_SKIN_BASE + n.
#define IDR_SKIN_BASE 300
#define VELMORA_SKIN_COUNT 33
