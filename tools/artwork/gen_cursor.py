"""Hand cursor (cursor 9973): 32 x 32 monochrome pointing hand, hot spot at the fingertip (5, 0).

'#' black outline, 'o' white fill, '.' transparent.
Usage: gen_cursor.py OUT.cur
"""
import sys

from raster import cur_mono

HAND = [
    "....##..............",
    "...#oo#.............",
    "...#oo#.............",
    "...#oo#.............",
    "...#oo#.............",
    "...#oo###...........",
    "...#oo#oo###........",
    "...#oo#oo#oo##......",
    "...#oo#oo#oo#o#.....",
    ".###oo#oo#oo#oo#....",
    "#oo#oooooooooooo#...",
    "#ooo#ooooooooooo#...",
    ".#oo#ooooooooooo#...",
    "..#ooooooooooooo#...",
    "..#oooooooooooo#....",
    "...#ooooooooooo#....",
    "...#oooooooooo#.....",
    "....#ooooooooo#.....",
    "....#ooooooooo#.....",
    "....###########.....",
]
HOTSPOT = (5, 0)


def build():
    art = [row.ljust(32, '.') for row in HAND]
    art += ['.' * 32] * (32 - len(art))
    assert art[HOTSPOT[1]][HOTSPOT[0]] == '#', 'hot spot must sit on the fingertip'
    return cur_mono(art, HOTSPOT)


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'hand.cur'
    with open(out, 'wb') as f:
        f.write(build())
