/* The skin format that SkinH_EL.dll reads and the resource generator writes
 * (resources/generators/make_skins.py keeps the same layout).
 *
 * All numbers little-endian:
 *   0   4 bytes  magic ".SHE"
 *   4   u16      format version (1)
 *   6   u16      header length in bytes (80)
 *   8   u32      total length of the skin in bytes, header included
 *   12  u32      FNV-1a (32-bit) of the bytes after the header
 *   16  32 bytes skin name, ASCII, zero-padded, at least one zero byte
 *   48  8 x u32  colour scheme as COLORREF values (0x00BBGGRR), in SkinColourRole order
 *   80  texture: 64-pixel rows of 24-bit BGR pixels, a vertical gradient from the caption
 *       colour to the face colour, cut off at the total length
 */
#ifndef VELMORA_SKIN_FORMAT_H
#define VELMORA_SKIN_FORMAT_H

#define SKIN_MAGIC ".SHE"
#define SKIN_MAGIC_BYTES 4
#define SKIN_FORMAT_VERSION 1
#define SKIN_OFFSET_FORMAT_VERSION 4
#define SKIN_OFFSET_HEADER_BYTES 6
#define SKIN_OFFSET_TOTAL_BYTES 8
#define SKIN_OFFSET_BODY_CHECKSUM 12
#define SKIN_OFFSET_NAME 16
#define SKIN_NAME_BYTES 32
#define SKIN_OFFSET_COLOURS 48
#define SKIN_COLOUR_COUNT 8
#define SKIN_HEADER_BYTES 80

#define SKIN_FNV_OFFSET_BASIS 0x811C9DC5u
#define SKIN_FNV_PRIME 0x01000193u

enum SkinColourRole {
    SKIN_COLOUR_CAPTION,
    SKIN_COLOUR_CAPTION_TEXT,
    SKIN_COLOUR_FACE,
    SKIN_COLOUR_FACE_TEXT,
    SKIN_COLOUR_BORDER,
    SKIN_COLOUR_HIGHLIGHT,
    SKIN_COLOUR_HIGHLIGHT_TEXT,
    SKIN_COLOUR_SHADOW
};

#endif
