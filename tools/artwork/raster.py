"""Small software rasteriser and Windows image writers for the program's artwork.

Pure Python standard library, deterministic: running a generator twice gives identical files.
Colours are float RGB(A) tuples in 0..1; canvases are row-major lists, row 0 at the top.
"""
import math
import random
import struct


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hexrgb(s):
    s = s.lstrip('#')
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


class Canvas:
    """RGBA float canvas with premultiplication-free 'over' compositing."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        if len(fill) == 3:
            fill = tuple(fill) + (1.0,)
        self.px = [[list(fill) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, rgb, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        a = clamp(a)
        p = self.px[y][x]
        da = p[3]
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * da * (1 - a)) / oa
        p[3] = oa

    def shade(self, fn, box=None):
        """fn(x + .5, y + .5) -> (rgb, alpha) or None, composited over each pixel."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                r = fn(x + 0.5, y + 0.5)
                if r:
                    self.blend(x, y, r[0], r[1])

    def coverage_fill(self, inside, rgb, ss=4, box=None, alpha=1.0):
        """Anti-aliased fill of the set where inside(x, y) is true (supersampled ss x ss)."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        n = ss * ss
        for y in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.w, int(math.ceil(x1)))):
                c = 0
                for sy in range(ss):
                    for sx in range(ss):
                        if inside(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss):
                            c += 1
                if c:
                    col = rgb(x + 0.5, y + 0.5) if callable(rgb) else rgb
                    self.blend(x, y, col, alpha * c / n)

    def polygon(self, pts, rgb, ss=4, alpha=1.0):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.coverage_fill(lambda x, y: point_in_poly(x, y, pts), rgb, ss,
                           (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1), alpha)

    def stroke(self, pts, width, rgb, alpha=1.0, closed=False):
        """Round-capped polyline, coverage from the distance to the nearest segment."""
        segs = list(zip(pts, pts[1:] + (pts[:1] if closed else [])))
        hw = width / 2.0
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        for y in range(max(0, int(min(ys) - hw - 1)), min(self.h, int(max(ys) + hw + 2))):
            for x in range(max(0, int(min(xs) - hw - 1)), min(self.w, int(max(xs) + hw + 2))):
                d = min(seg_dist(x + 0.5, y + 0.5, a, b) for a, b in segs)
                cov = clamp(hw + 0.5 - d)
                if cov > 0:
                    self.blend(x, y, rgb, alpha * cov)

    def disc(self, cx, cy, r, rgb, alpha=1.0):
        for y in range(max(0, int(cy - r - 1)), min(self.h, int(cy + r + 2))):
            for x in range(max(0, int(cx - r - 1)), min(self.w, int(cx + r + 2))):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                cov = clamp(r + 0.5 - d)
                if cov > 0:
                    self.blend(x, y, rgb, alpha * cov)

    def rgb_rows(self, background=(1, 1, 1)):
        """Rows of 8-bit (r, g, b) tuples, flattened over a background."""
        out = []
        for row in self.px:
            r = []
            for p in row:
                a = p[3]
                r.append(tuple(int(round(clamp(p[i] * a + background[i] * (1 - a)) * 255)) for i in range(3)))
            out.append(r)
        return out

    def rgba8(self):
        return [[tuple(int(round(clamp(c) * 255)) for c in p) for p in row] for row in self.px]


def point_in_poly(x, y, pts):
    inside = False
    n = len(pts)
    j = n - 1
    for i in range(n):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def seg_dist(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / l2)
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def rounded_rect(x0, y0, x1, y1, r, steps=6):
    pts = []
    for cx, cy, a0 in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0), (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
        for i in range(steps + 1):
            a = math.radians(a0 + 90 * i / steps)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def arc(cx, cy, rx, ry, a0, a1, steps=16):
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


class ValueNoise:
    """Seeded 2-D value noise with smooth interpolation, summed over octaves by fbm()."""

    def __init__(self, seed, size=256):
        rnd = random.Random(seed)
        self.size = size
        self.v = [rnd.random() for _ in range(size * size)]

    def at(self, x, y):
        s = self.size
        xi, yi = int(math.floor(x)), int(math.floor(y))
        fx, fy = x - xi, y - yi
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        v = self.v

        def g(i, j):
            return v[(j % s) * s + (i % s)]

        a = g(xi, yi) + (g(xi + 1, yi) - g(xi, yi)) * fx
        b = g(xi, yi + 1) + (g(xi + 1, yi + 1) - g(xi, yi + 1)) * fx
        return a + (b - a) * fy

    def fbm(self, x, y, octaves=4, gain=0.5):
        amp, tot, norm = 1.0, 0.0, 0.0
        for _ in range(octaves):
            tot += amp * self.at(x, y)
            norm += amp
            x, y, amp = x * 2.03, y * 2.03, amp * gain
        return tot / norm


# ---------------------------------------------------------------- writers

def bmp24(rows):
    """Uncompressed bottom-up 24-bit BMP file bytes from rows of (r, g, b)."""
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    return bytes(head + info + data)


def _mask_bits(bits_rows, w):
    """1-bpp rows (bottom-up), each padded to 32 bits."""
    out = bytearray()
    stride = ((w + 31) // 32) * 4
    for row in reversed(bits_rows):
        line = bytearray(stride)
        for x, b in enumerate(row):
            if b:
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return out


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    """6x6x6 colour cube plus a 40-step grey ramp: a fixed palette that suits smooth artwork."""
    pal = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    pal += [(int(round(i * 255 / 39)),) * 3 for i in range(40)]
    return pal


def median_cut(colours, n):
    """Adaptive palette of at most n colours (weighted median cut over the given pixel colours)."""
    boxes = [list(colours)]
    while len(boxes) < n:
        best, bi, bk = -1, -1, 0
        for i, b in enumerate(boxes):
            if len(b) < 2:
                continue
            for k in range(3):
                lo = min(c[k] for c in b)
                hi = max(c[k] for c in b)
                if hi - lo > best:
                    best, bi, bk = hi - lo, i, k
        if bi < 0 or best <= 0:
            break
        b = sorted(boxes.pop(bi), key=lambda c: c[bk])
        m = len(b) // 2
        boxes += [b[:m], b[m:]]
    pal = [tuple(int(round(sum(c[k] for c in b) / len(b))) for k in range(3)) for b in boxes if b]
    return pal + [(0, 0, 0)] * (n - len(pal))


def nearest(pal, c):
    best, bi = None, 0
    for i, p in enumerate(pal):
        d = (p[0] - c[0]) ** 2 * 3 + (p[1] - c[1]) ** 2 * 4 + (p[2] - c[2]) ** 2 * 2
        if best is None or d < best:
            best, bi = d, i
    return bi


def quantise(rgba, pal, dither):
    """Palette indices with an AND-mask from alpha; optional Floyd-Steinberg on opaque pixels."""
    h, w = len(rgba), len(rgba[0])
    err = [[[0.0, 0.0, 0.0] for _ in range(w + 2)] for _ in range(h + 1)]
    idx = [[0] * w for _ in range(h)]
    mask = [[0] * w for _ in range(h)]
    cache = {}
    for y in range(h):
        for x in range(w):
            r, g, b, a = rgba[y][x]
            if a < 128:
                mask[y][x] = 1
                continue
            e = err[y][x + 1]
            c = tuple(int(clamp(v + ev, 0, 255)) for v, ev in zip((r, g, b), e)) if dither else (r, g, b)
            key = c
            i = cache.get(key)
            if i is None:
                i = cache[key] = nearest(pal, c)
            idx[y][x] = i
            if dither:
                q = pal[i]
                d = [c[k] - q[k] for k in range(3)]
                for (ox, oy, f) in ((1, 0, 7 / 16), (-1, 1, 3 / 16), (0, 1, 5 / 16), (1, 1, 1 / 16)):
                    t = err[y + oy][x + 1 + ox]
                    for k in range(3):
                        t[k] += d[k] * f
    return idx, mask


def icon_image(rgba, bpp):
    """One icon image (BITMAPINFOHEADER + palette + XOR + AND) for 4, 8 or 32 bits per pixel."""
    h, w = len(rgba), len(rgba[0])
    if bpp == 32:
        xor = bytearray()
        for row in reversed(rgba):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask = [[1 if p[3] == 0 else 0 for p in row] for row in rgba]
        pal = b''
    else:
        opaque = [p[:3] for row in rgba for p in row if p[3] >= 128]
        palette = median_cut(opaque, 16 if bpp == 4 else 256)
        idx, mask = quantise(rgba, palette, dither=False)
        pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
        xor = bytearray()
        stride = ((w * bpp + 31) // 32) * 4
        for row in reversed(idx):
            line = bytearray(stride)
            for x, i in enumerate(row):
                if bpp == 8:
                    line[x] = i
                else:
                    line[x >> 1] |= i << (4 if x % 2 == 0 else 0)
            xor += line
    andm = _mask_bits(mask, w)
    head = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bpp, 0, len(xor) + len(andm), 0, 0,
                       0 if bpp == 32 else (16 if bpp == 4 else 256), 0)
    return head + pal + bytes(xor) + bytes(andm)


def ico(images):
    """ICO file from [(rgba rows, bpp)]."""
    blobs = [(len(r[0]), len(r), bpp, icon_image(r, bpp)) for r, bpp in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    off = 6 + 16 * len(blobs)
    for w, h, bpp, blob in blobs:
        ncol = 16 if bpp == 4 else 0
        out += struct.pack('<BBBBHHII', w % 256, h % 256, ncol, 0, 1, bpp, len(blob), off)
        off += len(blob)
    for b in blobs:
        out += b[3]
    return bytes(out)


def cur_mono(art, hotspot):
    """Monochrome CUR file from rows of characters: '#' black, 'o' white, anything else transparent."""
    h, w = len(art), len(art[0])
    xor_bits = [[1 if ch == 'o' else 0 for ch in row] for row in art]
    and_bits = [[0 if ch in '#o' else 1 for ch in row] for row in art]
    xor = _mask_bits(xor_bits, w)
    andm = _mask_bits(and_bits, w)
    pal = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    head = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    blob = head + pal + bytes(xor) + bytes(andm)
    out = struct.pack('<HHH', 0, 2, 1)
    out += struct.pack('<BBBBHHII', w % 256, h % 256, 2, 0, hotspot[0], hotspot[1], len(blob), 6 + 16)
    return out + blob
