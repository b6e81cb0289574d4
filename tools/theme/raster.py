"""Small anti-aliased raster for the theme artwork (Python standard library only).

Pixels are straight (not premultiplied) RGBA floats in 0..255. Shapes are drawn by
coverage: rounded rectangles and lines from signed distances, polygons by 4x4
supersampling. PNG files are written with zlib, as RGB or RGBA.
"""
import math
import struct
import zlib


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    """Colour between c1 and c2 (tuples of 3 or 4)."""
    if len(c1) == 3:
        c1 = tuple(c1) + (255,)
    if len(c2) == 3:
        c2 = tuple(c2) + (255,)
    return tuple(lerp(a, b, t) for a, b in zip(c1, c2))


def rgba(c, a=255):
    return (c[0], c[1], c[2], c[3] if len(c) > 3 else a)


class Image:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        f = rgba(fill)
        self.px = [list(f) for _ in range(w * h)]

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, color, cover=1.0):
        """Source-over of color (RGBA) with extra coverage."""
        if x < 0 or y < 0 or x >= self.w or y >= self.h or cover <= 0:
            return
        c = rgba(color)
        sa = c[3] / 255.0 * min(cover, 1.0)
        if sa <= 0:
            return
        d = self.px[y * self.w + x]
        da = d[3] / 255.0
        oa = sa + da * (1 - sa)
        if oa <= 0:
            return
        for i in range(3):
            d[i] = (c[i] * sa + d[i] * da * (1 - sa)) / oa
        d[3] = oa * 255.0

    def set(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = list(rgba(color))

    def paste(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.get(x, y))

    def over(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                p = other.get(x, y)
                self.put(ox + x, oy + y, p, 1.0)

    def flip_h(self):
        out = Image(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                out.set(self.w - 1 - x, y, self.get(x, y))
        return out

    def rotate90(self):
        """Clockwise quarter turn."""
        out = Image(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                out.set(self.h - 1 - y, x, self.get(x, y))
        return out

    def transpose(self):
        out = Image(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                out.set(y, x, self.get(x, y))
        return out


def rrect_distance(px, py, x0, y0, x1, y1, r):
    """Signed distance from a pixel centre to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    ox, oy = max(qx, 0.0), max(qy, 0.0)
    return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r


def coverage(d):
    return min(max(0.5 - d, 0.0), 1.0)


def fill_rrect(img, x0, y0, x1, y1, r, color, corners=None):
    """color: RGBA tuple or function(t) of the vertical position 0..1 inside the shape.
    corners: radius override per corner is not needed; r applies to all four."""
    h = max(y1 - y0, 1e-6)
    for y in range(max(int(y0) - 1, 0), min(int(math.ceil(y1)) + 1, img.h)):
        t = (y + 0.5 - y0) / h
        c = color(min(max(t, 0.0), 1.0)) if callable(color) else color
        for x in range(max(int(x0) - 1, 0), min(int(math.ceil(x1)) + 1, img.w)):
            cov = coverage(rrect_distance(x + 0.5, y + 0.5, x0, y0, x1, y1, r))
            if cov > 0:
                img.put(x, y, c, cov)


def stroke_rrect(img, x0, y0, x1, y1, r, color, width=1.0):
    """A ring of the given width just inside the rounded rectangle."""
    for y in range(max(int(y0) - 1, 0), min(int(math.ceil(y1)) + 1, img.h)):
        for x in range(max(int(x0) - 1, 0), min(int(math.ceil(x1)) + 1, img.w)):
            d = rrect_distance(x + 0.5, y + 0.5, x0, y0, x1, y1, r)
            cov = coverage(d) - coverage(d + width)
            if cov > 0:
                img.put(x, y, color, cov)


def fill_rect(img, x0, y0, x1, y1, color):
    for y in range(max(y0, 0), min(y1, img.h)):
        for x in range(max(x0, 0), min(x1, img.w)):
            img.put(x, y, color)


def gradient_rect(img, x0, y0, x1, y1, top, bottom, replace=True):
    n = max(y1 - y0 - 1, 1)
    for y in range(max(y0, 0), min(y1, img.h)):
        c = mix(top, bottom, (y - y0) / n)
        for x in range(max(x0, 0), min(x1, img.w)):
            if replace:
                img.set(x, y, c)
            else:
                img.put(x, y, c)


def line(img, x0, y0, x1, y1, color, width=1.0):
    """Anti-aliased capsule from (x0, y0) to (x1, y1) in pixel coordinates."""
    rad = width / 2.0
    minx, maxx = int(min(x0, x1) - rad - 1), int(max(x0, x1) + rad + 2)
    miny, maxy = int(min(y0, y1) - rad - 1), int(max(y0, y1) + rad + 2)
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    for y in range(max(miny, 0), min(maxy, img.h)):
        for x in range(max(minx, 0), min(maxx, img.w)):
            px, py = x + 0.5, y + 0.5
            t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / ll))
            d = math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) - rad
            cov = coverage(d)
            if cov > 0:
                img.put(x, y, color, cov)


def polygon(img, points, color, samples=4):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    n = len(points)
    for y in range(max(int(min(ys)) - 1, 0), min(int(max(ys)) + 2, img.h)):
        for x in range(max(int(min(xs)) - 1, 0), min(int(max(xs)) + 2, img.w)):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    inside = False
                    j = n - 1
                    for i in range(n):
                        xi, yi = points[i]
                        xj, yj = points[j]
                        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                            inside = not inside
                        j = i
                    hits += inside
            if hits:
                img.put(x, y, color, hits / float(samples * samples))


def ellipse(img, cx, cy, rx, ry, color):
    for y in range(max(int(cy - ry) - 1, 0), min(int(cy + ry) + 2, img.h)):
        for x in range(max(int(cx - rx) - 1, 0), min(int(cx + rx) + 2, img.w)):
            nx, ny = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
            d = (math.hypot(nx, ny) - 1.0) * min(rx, ry)
            cov = coverage(d)
            if cov > 0:
                img.put(x, y, color, cov)


def stack(frames, vertical=True):
    if vertical:
        w = frames[0].w
        out = Image(w, sum(f.h for f in frames))
        y = 0
        for f in frames:
            out.paste(f, 0, y)
            y += f.h
    else:
        h = frames[0].h
        out = Image(sum(f.w for f in frames), h)
        x = 0
        for f in frames:
            out.paste(f, x, 0)
            x += f.w
    return out


def png_bytes(img, alpha):
    rows = []
    for y in range(img.h):
        row = bytearray([0])
        for x in range(img.w):
            p = img.get(x, y)
            a = int(round(min(max(p[3], 0), 255)))
            rgb = [int(round(min(max(v, 0), 255))) for v in p[:3]]
            if alpha:
                row += bytes(rgb + [a])
            else:
                # Opaque files show their pixels over nothing: keep the colour as drawn.
                row += bytes(rgb)
        rows.append(bytes(row))
    raw = b"".join(rows)

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", img.w, img.h, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))
