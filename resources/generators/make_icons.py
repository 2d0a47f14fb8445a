"""Draws the program's clock-and-power picture and writes its two icon files:

  main_window_icon.ico  one 48x48 24-bit image on a full square (its mask is all opaque)
  tray_icon.ico         128, 64, 48, 32 and 16 px 32-bit images with alpha, 16 px last

usage: make_icons.py OUTPUT_DIR
"""
import math
import os
import sys

import icon_file
import raster
from raster import capsule, disc, flat, hex_colour, ring, rounded_square, vertical_gradient

MAIN_WINDOW_ICON_BYTES = 7358
TRAY_ICON_IMAGE_BYTES = 99678
TRAY_SIZES = (128, 64, 48, 32, 16)

TILE_TOP = hex_colour("#2F86D8")
TILE_BOTTOM = hex_colour("#17427F")
RIM = hex_colour("#D5E1F0")
FACE_TOP = hex_colour("#FFFFFF")
FACE_BOTTOM = hex_colour("#E6EEF8")
INK = hex_colour("#1F2E4A")
ACCENT = hex_colour("#E5482D")
BADGE_TOP = hex_colour("#FF6B45")
BADGE_BOTTOM = hex_colour("#C42B17")
WHITE = hex_colour("#FFFFFF")

class Geometry:
    """Where the clock and the badge sit. The 16 px picture puts both centres and the
    hands on pixel centres and shows nine o'clock, whose hands run along the grid:
    diagonal hands one pixel wide turn to mush at that size."""

    def __init__(self, size):
        self.hinted = size <= 16
        if self.hinted:
            self.clock = (6.5 / size, 6.5 / size, 6.0 / size)
            self.badge = (11.5 / size, 11.5 / size, 4.5 / size)
            self.hands = ((-90, 0.62, 0.5 / size), (0, 0.85, 0.5 / size))
        else:
            self.clock = (0.43, 0.43, 0.36)
            self.badge = (0.725, 0.725, 0.245)
            # Ten past ten: the hands frame the face and stay clear of the badge.
            self.hands = ((-60, 0.55, 0.032), (60, 0.78, 0.024))

    def clock_point(self, angle_deg, distance):
        cx, cy, _ = self.clock
        a = math.radians(angle_deg)
        return cx + distance * math.sin(a), cy - distance * math.cos(a)


def clock_and_power(size, full_square):
    """The layers of the picture at one pixel size. Strokes keep a minimum width in
    pixels so the small sizes stay legible; ticks appear only where there is room."""
    pixel = 1.0 / size
    shape = Geometry(size)
    cx, cy, radius = shape.clock
    bx, by, badge = shape.badge

    def at_least(width, pixels):
        return max(width, pixels * pixel)

    layers = []
    # At 16 px the corner radius needs 4 px for the corner pixels to be fully clear.
    tile = (lambda x, y: True) if full_square else rounded_square(0, 0, 1, 1, at_least(0.2, 4.0))
    layers.append((tile, vertical_gradient(TILE_TOP, TILE_BOTTOM)))

    rim = at_least(0.05, 1.0)
    face = radius - rim
    layers.append((disc(cx, cy, radius), flat(RIM)))
    layers.append((disc(cx, cy, face), vertical_gradient(FACE_TOP, FACE_BOTTOM, cy - face, cy + face)))

    if size >= 32:
        for hour in range(12):
            quarter = hour % 3 == 0
            if size < 48 and not quarter:
                continue
            x0, y0 = shape.clock_point(hour * 30, face - (0.075 if quarter else 0.045))
            x1, y1 = shape.clock_point(hour * 30, face - 0.025)
            layers.append((capsule(x0, y0, x1, y1, at_least(0.014 if quarter else 0.009, 0.5)),
                           flat(INK)))

    for angle, length, half_width in shape.hands:
        x1, y1 = shape.clock_point(angle, face * length)
        layers.append((capsule(cx, cy, x1, y1, at_least(half_width, 0.5)), flat(INK)))
    layers.append((disc(cx, cy, at_least(0.035, 0.8)), flat(ACCENT)))

    border = at_least(0.03, 1.0)
    layers.append((disc(bx, by, badge + border), flat(WHITE)))
    layers.append((disc(bx, by, badge), vertical_gradient(BADGE_TOP, BADGE_BOTTOM, by - badge, by + badge)))
    stroke = at_least(badge * 0.12, 0.6)
    layers.append((raster.either(raster.arc(bx, by, badge * 0.55, stroke, 0, 80),
                                 capsule(bx, by - badge * 0.72, bx, by - badge * 0.08, stroke)),
                   flat(WHITE)))
    return layers


def _samples(size):
    return 4 if size >= 64 else 8


def main_window_icon():
    rows = raster.render(clock_and_power(48, full_square=True), 48, _samples(48))
    pixels = [[(r, g, b) for r, g, b, _ in row] for row in rows]
    return icon_file.icon_file([icon_file.rgb_image(pixels)])


def tray_icon_image():
    images = [icon_file.rgba_image(raster.render(clock_and_power(size, full_square=False),
                                                 size, _samples(size)))
              for size in TRAY_SIZES]
    return icon_file.icon_file(images)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    out = sys.argv[1]
    icon_file.write_exact(os.path.join(out, "main_window_icon.ico"), main_window_icon(),
                          MAIN_WINDOW_ICON_BYTES)
    icon_file.write_exact(os.path.join(out, "tray_icon.ico"), tray_icon_image(),
                          TRAY_ICON_IMAGE_BYTES)


if __name__ == "__main__":
    main()
