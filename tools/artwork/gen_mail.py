"""Mail link picture (bitmap 130): an envelope and the contact address, 185 x 21, 24-bit.

Usage: gen_mail.py OUT.bmp [ADDRESS]   (ADDRESS defaults to the build's default contact address)
"""
import sys

from raster import Canvas, bmp24, hexrgb, mix, rounded_rect
from strokefont import GLYPHS, draw_text, text_width

W, H = 185, 21
DEFAULT_ADDRESS = 'tamrivel@example.org'


def build(address):
    unknown = sorted(set(ch for ch in address if ch not in GLYPHS))
    if unknown:
        raise SystemExit('gen_mail: no glyph for %r' % ''.join(unknown))
    cv = Canvas(W, H)
    top, bottom = hexrgb('#ffffff'), hexrgb('#e6eef9')
    cv.shade(lambda x, y: (mix(top, bottom, y / H), 1.0))
    # Hairline frame, lighter at the top, so the picture reads as a small card.
    for x in range(W):
        cv.blend(x, 0, hexrgb('#c9d6ea'), 1)
        cv.blend(x, H - 1, hexrgb('#9fb4d4'), 1)
    for y in range(H):
        cv.blend(0, y, hexrgb('#b3c4df'), 1)
        cv.blend(W - 1, y, hexrgb('#b3c4df'), 1)

    # Envelope.
    ex0, ey0, ex1, ey1 = 5.5, 4.5, 24.5, 16.5
    cv.polygon(rounded_rect(ex0, ey0, ex1, ey1, 1.5), lambda x, y: mix(hexrgb('#fdfdfd'), hexrgb('#dbe7f7'),
                                                                        (y - ey0) / (ey1 - ey0)))
    cv.stroke(rounded_rect(ex0, ey0, ex1, ey1, 1.5), 1.0, hexrgb('#2a63b8'), closed=True)
    cv.stroke([(ex0 + 0.8, ey0 + 0.8), ((ex0 + ex1) / 2, ey0 + 7.2), (ex1 - 0.8, ey0 + 0.8)], 1.0,
              hexrgb('#2a63b8'))
    cv.stroke([(ex0 + 0.8, ey1 - 0.8), (ex0 + 6.5, ey0 + 5.5)], 0.8, hexrgb('#6f95cf'))
    cv.stroke([(ex1 - 0.8, ey1 - 0.8), (ex1 - 6.5, ey0 + 5.5)], 0.8, hexrgb('#6f95cf'))

    # Address, scaled down only if a long address would not fit.
    scale = 1.22
    room = W - 33 - 6
    if text_width(address, scale) > room:
        scale = room / text_width(address, 1.0)
    draw_text(cv, address, 32.0, 14.6, scale, hexrgb('#1d4f9e'), 1.15)
    return cv.rgb_rows()


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'mail.bmp'
    addr = sys.argv[2] if len(sys.argv) > 2 else DEFAULT_ADDRESS
    with open(out, 'wb') as f:
        f.write(bmp24(build(addr)))
