"""Regenerates every picture under resources/art/ from the generators beside this file.

Usage: python3 tools/artwork/generate.py [MAIL_ADDRESS]
The outputs are committed; rerun after changing a generator (or to render another contact address).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import gen_banner  # noqa: E402
import gen_buttons  # noqa: E402
import gen_cursor  # noqa: E402
import gen_icon  # noqa: E402
import gen_mail  # noqa: E402
from raster import bmp24  # noqa: E402

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'resources', 'art')


def write(name, data):
    path = os.path.normpath(os.path.join(ART, name))
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote', path, len(data), 'bytes')


if __name__ == '__main__':
    address = sys.argv[1] if len(sys.argv) > 1 else gen_mail.DEFAULT_ADDRESS
    os.makedirs(ART, exist_ok=True)
    write('tamrivel.ico', gen_icon.build())
    write('banner.bmp', bmp24(gen_banner.build()))
    write('mail.bmp', bmp24(gen_mail.build(address)))
    write('browse_normal.bmp', bmp24(gen_buttons.normal().rgb_rows()))
    write('browse_hover.bmp', bmp24(gen_buttons.hover().rgb_rows()))
    write('browse_pressed.bmp', bmp24(gen_buttons.pressed().rgb_rows()))
    write('hand.cur', gen_cursor.build())
