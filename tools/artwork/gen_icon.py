"""Program icon (icon group 128): a blue tile with a folder and a gear, the JDK folder being set up.

Nine images: 48, 32 and 16 pixels, each at 4, 8 and 32 bits per pixel.
Usage: gen_icon.py OUT.ico
"""
import math
import sys

from raster import Canvas, hexrgb, ico, mix, point_in_poly, rounded_rect

SIZES = (48, 32, 16)


def gear_inside(x, y, cx, cy, r_out, r_root, r_hole, teeth, phase=0.0):
    dx, dy = x - cx, y - cy
    d = math.hypot(dx, dy)
    if d < r_hole or d > r_out:
        return False
    if d <= r_root:
        return True
    a = (math.degrees(math.atan2(dy, dx)) - phase) % (360.0 / teeth)
    # Tapered teeth: the allowed angular width shrinks towards the tip.
    half = (360.0 / teeth) * (0.30 - 0.10 * (d - r_root) / (r_out - r_root))
    return abs(a - 180.0 / teeth) < half


def draw(size):
    k = size / 48.0
    cv = Canvas(size, size)
    ss = 8 if size <= 16 else 6

    def P(pts):
        return [(x * k, y * k) for x, y in pts]

    tile = P(rounded_rect(2, 2, 46, 46, 9, 8))
    top, bottom = hexrgb('#4b95ef'), hexrgb('#1a4aa2')
    cv.polygon(tile, lambda x, y: mix(top, bottom, y / size), ss)
    cv.stroke(tile, max(1.0, 1.3 * k), hexrgb('#143b80'), closed=True)
    # Soft gloss over the upper half of the tile.
    gloss = P(rounded_rect(5, 4.5, 43, 24, 7, 6))
    cv.polygon(gloss, (1, 1, 1), ss, alpha=0.16)

    # Folder: back panel with tab, paper, slanted front.
    back = P([(9, 12), (19, 12), (22, 15.5), (37, 15.5), (37, 35), (9, 35)])
    outline = hexrgb('#8a5a06')
    lw = max(0.9, 1.6 * k)
    cv.polygon(back, lambda x, y: mix(hexrgb('#f6c84f'), hexrgb('#d39422'), y / size), ss)
    cv.stroke(back, lw, outline, closed=True)
    cv.polygon(P([(12, 18), (34, 18), (34, 26), (12, 26)]), hexrgb('#ffffff'), ss)
    front = P([(8.5, 35.5), (12.5, 22), (41.5, 22), (37.5, 35.5)])
    cv.polygon(front, lambda x, y: mix(hexrgb('#ffe38a'), hexrgb('#efb23a'), (y / k - 22) / 13.5), ss)
    cv.stroke(front, lw, outline, closed=True)

    # Gear in front of the folder's lower right corner.
    gx, gy = 34.5 * k, 34.5 * k
    if size >= 32:
        r_out, r_root, r_hole, teeth = 10.5 * k, 8.0 * k, 3.2 * k, 8
    else:
        r_out, r_root, r_hole, teeth = 11.5 * k, 8.5 * k, 3.6 * k, 6
    cv.disc(gx + 0.6 * k, gy + 1.0 * k, r_out, (0, 0, 0.15), alpha=0.28)
    cv.coverage_fill(lambda x, y: gear_inside(x, y, gx, gy, r_out + lw * 0.7, r_root + lw * 0.7,
                                              max(0.0, r_hole - lw * 0.7), teeth, 10),
                     hexrgb('#23324d'), ss, (gx - r_out - 2, gy - r_out - 2, gx + r_out + 2, gy + r_out + 2))
    cv.coverage_fill(lambda x, y: gear_inside(x, y, gx, gy, r_out, r_root, r_hole, teeth, 10),
                     lambda x, y: mix(hexrgb('#ffffff'), hexrgb('#b9c6d8'), (y - gy + r_out) / (2 * r_out)),
                     ss, (gx - r_out - 1, gy - r_out - 1, gx + r_out + 1, gy + r_out + 1))
    return cv.rgba8()


def build():
    images = []
    for size in SIZES:
        rgba = draw(size)
        for bpp in (4, 8, 32):
            images.append((rgba, bpp))
    return ico(images)


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'tamrivel.ico'
    with open(out, 'wb') as f:
        f.write(build())
