/* Our own SkinH_EL.dll. Built without the C runtime (no imports at all) so the same
 * image loads on every Windows the program targets, from either toolchain. */
#include <windows.h>

#include "skin_format.h"
#include "skinh_el.h"

#define NO_COLOUR 0xFFFFFFFFu

static unsigned int active_scheme[SKIN_COLOUR_COUNT];
static int has_active_scheme;

static unsigned int ReadU16(const unsigned char* p) {
    return (unsigned int)p[0] | (unsigned int)p[1] << 8;
}

static unsigned int ReadU32(const unsigned char* p) {
    return (unsigned int)p[0] | (unsigned int)p[1] << 8 | (unsigned int)p[2] << 16 |
           (unsigned int)p[3] << 24;
}

static int HasMagic(const unsigned char* p) {
    const char* magic = SKIN_MAGIC;
    int i;
    for (i = 0; i < SKIN_MAGIC_BYTES; ++i)
        if (p[i] != (unsigned char)magic[i]) return 0;
    return 1;
}

static unsigned int Fnv1a(const unsigned char* p, unsigned int length) {
    unsigned int hash = SKIN_FNV_OFFSET_BASIS;
    unsigned int i;
    for (i = 0; i < length; ++i) hash = (hash ^ p[i]) * SKIN_FNV_PRIME;
    return hash;
}

/* Every field is checked against the length the caller gave before anything beyond the
 * header is read, so a short or damaged block is refused without reading past its end. */
static int IsValidSkin(const unsigned char* p, int length) {
    unsigned int header_bytes;
    if (p == 0 || length < SKIN_HEADER_BYTES) return 0;
    if (!HasMagic(p) || ReadU16(p + SKIN_OFFSET_FORMAT_VERSION) != SKIN_FORMAT_VERSION) return 0;
    header_bytes = ReadU16(p + SKIN_OFFSET_HEADER_BYTES);
    if (header_bytes != SKIN_HEADER_BYTES) return 0;
    if (ReadU32(p + SKIN_OFFSET_TOTAL_BYTES) != (unsigned int)length) return 0;
    if (p[SKIN_OFFSET_NAME + SKIN_NAME_BYTES - 1] != 0) return 0;
    return Fnv1a(p + header_bytes, (unsigned int)length - header_bytes) ==
           ReadU32(p + SKIN_OFFSET_BODY_CHECKSUM);
}

int __stdcall SkinH_AttachRes(const void* skin, int length, const char* empty_text,
                              int reserved1, int reserved2, int reserved3) {
    const unsigned char* p = (const unsigned char*)skin;
    int i;
    (void)empty_text;
    (void)reserved1;
    (void)reserved2;
    (void)reserved3;
    if (!IsValidSkin(p, length)) return 0;
    for (i = 0; i < SKIN_COLOUR_COUNT; ++i)
        active_scheme[i] = ReadU32(p + SKIN_OFFSET_COLOURS + 4 * i);
    has_active_scheme = 1;
    return 1;
}

unsigned int __stdcall SkinH_GetSchemeColor(int role) {
    if (!has_active_scheme || role < 0 || role >= SKIN_COLOUR_COUNT) return NO_COLOUR;
    return active_scheme[role];
}

BOOL WINAPI SkinLibraryEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
