"""Writes Windows icon (.ico) and cursor (.cur) files from pixel rows.

An image inside these files is a DIB without a file header: a BITMAPINFOHEADER whose
height counts the colour bitmap and the AND mask together, then the colour rows, then the
1-bit AND mask rows (1 = transparent), all rows bottom-up and padded to 4 bytes.
"""
import struct

BITMAPINFOHEADER_BYTES = 40
DIRECTORY_HEADER_BYTES = 6
DIRECTORY_ENTRY_BYTES = 16
ICON_TYPE = 1
CURSOR_TYPE = 2


def _row_stride(width, bits_per_pixel):
    return (width * bits_per_pixel + 31) // 32 * 4


def _info_header(width, height, bits_per_pixel, image_bytes, palette_entries=0):
    return struct.pack("<IiiHHIIiiII", BITMAPINFOHEADER_BYTES, width, height * 2, 1,
                       bits_per_pixel, 0, image_bytes, 0, 0, palette_entries, 0)


def _mask_rows(transparent, width, height):
    """transparent(x, y) -> bool; returns the AND mask bottom-up."""
    stride = _row_stride(width, 1)
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _padded(row, stride):
    return bytes(row) + bytes(stride - len(row))


def rgb_image(pixels):
    """24-bit image, every pixel opaque. pixels[y][x] = (r, g, b), top row first."""
    height, width = len(pixels), len(pixels[0])
    stride = _row_stride(width, 24)
    colour = b"".join(_padded(b"".join(bytes((b, g, r)) for r, g, b in pixels[y]), stride)
                      for y in reversed(range(height)))
    mask = _mask_rows(lambda x, y: False, width, height)
    header = _info_header(width, height, 24, len(colour) + len(mask))
    return width, height, 24, 0, header + colour + mask


def rgba_image(pixels):
    """32-bit image with straight alpha. pixels[y][x] = (r, g, b, a), top row first.
    The AND mask marks fully transparent pixels, for systems that ignore alpha."""
    height, width = len(pixels), len(pixels[0])
    colour = b"".join(bytes((b, g, r, a)) for y in reversed(range(height))
                      for r, g, b, a in pixels[y])
    mask = _mask_rows(lambda x, y: pixels[y][x][3] == 0, width, height)
    header = _info_header(width, height, 32, len(colour) + len(mask))
    return width, height, 32, 0, header + colour + mask


def monochrome_image(rows):
    """1-bit image from rows of 'X' (black), 'o' (white) and '.' (transparent)."""
    height, width = len(rows), len(rows[0])
    if any(len(row) != width for row in rows):
        raise ValueError("picture rows differ in length")
    stride = _row_stride(width, 1)
    colour = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x, cell in enumerate(rows[y]):
            if cell not in "Xo.":
                raise ValueError(f"unknown picture cell {cell!r} at {x},{y}")
            if cell == "o":
                row[x // 8] |= 0x80 >> (x % 8)
        colour += row
    mask = _mask_rows(lambda x, y: rows[y][x] == ".", width, height)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = _info_header(width, height, 1, len(colour) + len(mask), palette_entries=2)
    return width, height, 1, 2, header + palette + bytes(colour) + mask


def _container(kind, images, entry_words):
    """images: (width, height, bits, colour_count, dib) tuples; entry_words gives the
    two 16-bit directory fields (planes/bits for icons, hot spot for cursors)."""
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    offset = DIRECTORY_HEADER_BYTES + DIRECTORY_ENTRY_BYTES * len(images)
    for image in images:
        width, height, _, colour_count, dib = image
        if not (0 < width < 256 and 0 < height < 256):
            raise ValueError("image sizes must fit the directory's size bytes")
        first, second = entry_words(image)
        out += struct.pack("<BBBBHHII", width, height, colour_count, 0, first, second,
                           len(dib), offset)
        offset += len(dib)
    for image in images:
        out += image[4]
    return bytes(out)


def icon_file(images):
    return _container(ICON_TYPE, images, lambda image: (1, image[2]))


def cursor_file(image, hot_spot):
    return _container(CURSOR_TYPE, [image], lambda _: hot_spot)


def write_exact(path, data, expected_bytes):
    """Refuses to write a file whose length is not the one the program relies on."""
    if expected_bytes is not None and len(data) != expected_bytes:
        raise SystemExit(f"{path}: {len(data)} bytes, expected {expected_bytes}")
    with open(path, "wb") as f:
        f.write(data)
