"""Banner picture (bitmap 129): a lake at dusk, 204 x 208, 24-bit.

Rich in gradients, edges and texture so that the ripple's refraction is clearly visible everywhere.
"""
import math
import random
import sys

from raster import Canvas, ValueNoise, bmp24, clamp, hexrgb, mix, smoothstep

W, H = 204, 208
HORIZON = 112
SUN = (138.0, 86.0)

noise = ValueNoise(129)
rnd = random.Random(2004)

SKY_TOP = hexrgb('#1d2b5c')
SKY_MID = hexrgb('#6b4f8f')
SKY_LOW = hexrgb('#f29a5c')
SKY_HOR = hexrgb('#ffd38a')


def sky(x, y):
    t = y / HORIZON
    if t < 0.45:
        c = mix(SKY_TOP, SKY_MID, smoothstep(0.0, 0.45, t))
    elif t < 0.8:
        c = mix(SKY_MID, SKY_LOW, smoothstep(0.45, 0.8, t))
    else:
        c = mix(SKY_LOW, SKY_HOR, smoothstep(0.8, 1.0, t))
    # Warm glow around the sun.
    d = math.hypot((x - SUN[0]) * 0.8, y - SUN[1])
    glow = math.exp(-d / 26.0) * 0.7
    c = mix(c, hexrgb('#fff1c4'), glow)
    # Thin lit cloud streaks, stretched horizontally.
    n = noise.fbm(x / 38.0, y / 7.0, 4)
    band = smoothstep(0.55, 0.75, n) * (1 - smoothstep(60, 95, y)) * smoothstep(8, 30, y)
    lit = mix(hexrgb('#c97a8a'), hexrgb('#ffc6a0'), clamp(1 - abs(x - SUN[0]) / 120.0))
    c = mix(c, lit, band * 0.75)
    return c


def ridge(x, base, amp, scale, seed_off):
    return base - amp * noise.fbm(x / scale + seed_off, seed_off * 0.37, 5)


def build_land():
    """Everything above the water line, as an opaque canvas covering the full height."""
    cv = Canvas(W, H)
    cv.shade(lambda x, y: (sky(x, y), 1.0))
    cv.disc(SUN[0], SUN[1], 9.5, hexrgb('#fff6da'))
    cv.disc(SUN[0], SUN[1], 12.5, hexrgb('#fff3c8'), 0.25)

    # Far mountains: hazy violet, with a lighter sunlit flank.
    def far(x, y):
        top = ridge(x, HORIZON - 8, 46, 40.0, 3.1)
        if y < top:
            return None
        rim = math.exp(-(y - top) / 2.5) * math.exp(-abs(x - SUN[0]) / 45.0)
        shade = 0.55 + (noise.fbm(x / 9.0, y / 6.0 + 17, 4) - 0.5) * 0.9 - smoothstep(top, top + 30, y) * 0.25
        c = mix(hexrgb('#7d5f93'), hexrgb('#b0809a'), shade)
        c = mix(c, hexrgb('#f0b89a'), smoothstep(top + 20, HORIZON, y) * 0.45)
        c = mix(c, hexrgb('#ffd6a0'), rim * 0.8)
        return c, clamp(y - top + 0.5)

    cv.shade(far)

    # Nearer range: darker, bluer, with noise-textured forest.
    def near(x, y):
        top = ridge(x, HORIZON + 2, 30, 26.0, 11.7) + 8 * math.sin(x / 31.0)
        if y < top:
            return None
        tex = noise.fbm(x / 3.0, y / 3.0, 3)
        c = mix(hexrgb('#3b3a63'), hexrgb('#5a4a70'), smoothstep(top, top + 30, y) * 0.6)
        c = mix(c, hexrgb('#2a2c4e'), tex * 0.5)
        return c, clamp(y - top + 0.5)

    cv.shade(near)

    # Dark shore on the left with pines.
    def shore(x, y):
        top = HORIZON - 4 - 18 * math.exp(-((x - 10) / 38.0) ** 2) + 3 * noise.at(x / 6.0, 5.5)
        if y < top or x > 110:
            return None
        edge = clamp((110 - x) / 12.0)
        return mix(hexrgb('#1d2238'), hexrgb('#262a45'), noise.fbm(x / 4.0, y / 4.0, 2)), clamp(y - top + 0.5) * edge

    cv.shade(shore)
    pines = [(4, 94, 30), (15, 96, 38), (26, 98, 28), (36, 101, 22), (47, 103, 17), (56, 105, 12),
             (66, 107, 9), (76, 108, 7), (-4, 92, 26), (21, 97, 20)]
    for px, base, hgt in pines:
        tiers = 5
        col = hexrgb('#141a2c')
        for i in range(tiers):
            ty = base - hgt * i / tiers
            wdt = hgt * 0.32 * (1 - i / (tiers + 0.5))
            cv.polygon([(px - wdt, ty), (px + wdt, ty), (px + wdt * 0.15, ty - hgt / tiers * 1.6),
                        (px - wdt * 0.15, ty - hgt / tiers * 1.6)], col)
        cv.polygon([(px - 0.4, base - hgt), (px + 0.4, base - hgt), (px, base - hgt - 3)], col)
    # A distant cabin light on the far shore.
    cv.disc(176, HORIZON - 3, 1.2, hexrgb('#ffe08a'))
    return cv


def build():
    land = build_land()
    src = land.px
    cv = Canvas(W, H, (0, 0, 0, 1))
    water_deep = hexrgb('#1b2446')
    for y in range(H):
        for x in range(W):
            if y < HORIZON:
                p = src[y][x]
                cv.px[y][x] = [p[0], p[1], p[2], 1.0]
                continue
            depth = (y - HORIZON) / (H - HORIZON)
            # Mirror with a wobble that grows towards the viewer.
            wob = (noise.fbm(x / 20.0, y / 2.2, 3) - 0.5) * (2 + 14 * depth)
            sx = int(clamp(x + wob, 0, W - 1))
            sy = int(clamp(2 * HORIZON - y - 1 + wob * 0.3, 0, HORIZON - 1))
            r = src[sy][sx]
            c = (r[0], r[1], r[2])
            c = mix(c, water_deep, 0.25 + 0.45 * depth)
            # Wavelet streaks: bright crests and dark troughs.
            n = noise.fbm(x / 14.0, y / 1.3 + 40, 3)
            crest = smoothstep(0.62, 0.72, n)
            trough = smoothstep(0.38, 0.28, n)
            sunlit = math.exp(-abs(x - SUN[0]) / (10 + 60 * depth))
            c = mix(c, hexrgb('#ffd9a0'), crest * (0.25 + 0.6 * sunlit))
            c = mix(c, hexrgb('#0e1430'), trough * 0.35)
            # Sun glitter path.
            g = noise.at(x / 1.7, y / 0.9 + 91)
            if g > 0.86 - 0.1 * sunlit and sunlit > 0.2:
                c = mix(c, hexrgb('#fff4d2'), (g - 0.75) * 3 * sunlit)
            cv.px[y][x] = [c[0], c[1], c[2], 1.0]
    # Line of light where the water meets the far shore.
    for x in range(60, W):
        cv.blend(x, HORIZON, hexrgb('#ffd9a8'), 0.35 * math.exp(-abs(x - SUN[0]) / 50.0))

    # Reeds in the lower left foreground, in front of everything.
    for i in range(34):
        bx = rnd.uniform(-4, 62) * (0.6 + 0.4 * rnd.random())
        by = H + 2
        hgt = rnd.uniform(22, 62) * (1 - bx / 90.0)
        lean = rnd.uniform(-6, 10)
        col = mix(hexrgb('#0b0f1c'), hexrgb('#2b2a3a'), rnd.random() * 0.6)
        pts = [(bx + lean * (t / 6.0) ** 2, by - hgt * t / 6.0) for t in range(7)]
        cv.stroke(pts, rnd.uniform(0.8, 1.6), col)
        if rnd.random() < 0.35:
            tx, ty = pts[-2]
            cv.stroke([(tx, ty), (tx + lean * 0.08, ty - 7)], 2.6, hexrgb('#3a2618'))
    # Subtle vignette.
    for y in range(H):
        for x in range(W):
            d = math.hypot((x - W / 2) / W, (y - H / 2) / H)
            cv.blend(x, y, (0.02, 0.02, 0.08), smoothstep(0.45, 0.75, d) * 0.5)
    return cv.rgb_rows()


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'banner.bmp'
    with open(out, 'wb') as f:
        f.write(bmp24(build()))
