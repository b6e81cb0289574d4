"""Browse button pictures, 24-bit: 133 normal (23 x 22), 132 hover (23 x 22), 131 pressed (21 x 22).

Usage: gen_buttons.py OUTDIR   (writes browse_normal.bmp, browse_hover.bmp, browse_pressed.bmp)
"""
import os
import sys

from raster import Canvas, bmp24, hexrgb, mix


def folder(cv, ox, oy):
    """Yellow folder glyph, 15 x 12 pixels, top left at (ox, oy)."""
    outline = hexrgb('#a8780f')
    back = [(ox + 0.5, oy + 1.5), (ox + 5.5, oy + 1.5), (ox + 6.5, oy + 2.5), (ox + 13.5, oy + 2.5),
            (ox + 13.5, oy + 11.5), (ox + 0.5, oy + 11.5)]
    cv.polygon(back, lambda x, y: mix(hexrgb('#f3c650'), hexrgb('#d9a12c'), (y - oy) / 12.0))
    cv.stroke(back, 1.0, outline, closed=True)
    # Sheet of paper peeking out.
    cv.polygon([(ox + 2, oy + 4), (ox + 12, oy + 4), (ox + 12, oy + 7), (ox + 2, oy + 7)], hexrgb('#ffffff'))
    front = [(ox + 0.5, oy + 11.5), (ox + 2.5, oy + 6.5), (ox + 15.5, oy + 6.5), (ox + 13.5, oy + 11.5)]
    cv.polygon(front, lambda x, y: mix(hexrgb('#ffe48a'), hexrgb('#f0b93e'), (y - oy - 6.5) / 5.0))
    cv.stroke(front, 1.0, outline, closed=True)
    cv.stroke([(ox + 3.5, oy + 7.5), (ox + 14.2, oy + 7.5)], 0.8, hexrgb('#fff6cf'), alpha=0.8)


def face(w, h, top, bottom, frame, inner=None):
    cv = Canvas(w, h)
    cv.shade(lambda x, y: (mix(top, bottom, y / h), 1.0))
    if inner:
        for x in range(1, w - 1):
            cv.blend(x, 1, inner, 0.8)
        for y in range(1, h - 1):
            cv.blend(1, y, inner, 0.5)
    if frame:
        for x in range(w):
            cv.blend(x, 0, frame, 1)
            cv.blend(x, h - 1, frame, 1)
        for y in range(h):
            cv.blend(0, y, frame, 1)
            cv.blend(w - 1, y, frame, 1)
    return cv


def normal():
    cv = face(23, 22, hexrgb('#f6f6f6'), hexrgb('#dcdcdc'), hexrgb('#707070'), hexrgb('#ffffff'))
    folder(cv, 4, 4)
    return cv


def hover():
    cv = face(23, 22, hexrgb('#eaf5fd'), hexrgb('#c4e0f7'), hexrgb('#3c7fb1'), hexrgb('#ffffff'))
    folder(cv, 4, 4)
    return cv


def pressed():
    # Flat face, the glyph one pixel lower, as if pushed in.
    cv = face(21, 22, hexrgb('#d6d6d6'), hexrgb('#d6d6d6'), None)
    for x in range(21):
        cv.blend(x, 0, hexrgb('#a0a0a0'), 1)
    for y in range(22):
        cv.blend(0, y, hexrgb('#a0a0a0'), 1)
    folder(cv, 3, 5)
    return cv


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else '.'
    for name, fn in (('browse_normal.bmp', normal), ('browse_hover.bmp', hover), ('browse_pressed.bmp', pressed)):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(bmp24(fn().rgb_rows()))
