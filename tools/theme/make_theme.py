#!/usr/bin/env python3
"""Generates the program's light silver theme: the index (themes.ini), the theme text
(NormalSilver.ini, UTF-16 little-endian with a byte-order mark, CR LF line ends), every
image the theme names (Silver/*.png) and the resource script theme.rc.

    python3 tools/theme/make_theme.py [output folder, default resources/theme]

The outputs are committed, so building the program never needs this script.
"""
import os
import sys

from raster import (Image, ellipse, fill_rect, fill_rrect, gradient_rect, line, mix, png_bytes, polygon,
                    stack, stroke_rrect)

# ---------------------------------------------------------------------------------------------
# Palette: one light silver look, with a cool blue for hover and focus.

WHITE = (255, 255, 255)
FACE = ((253, 253, 254), (225, 227, 233))
HOT = ((255, 255, 255), (221, 232, 246))
PRESSED = ((204, 209, 218), (234, 236, 241))
DISABLED = ((245, 245, 247), (237, 237, 240))
BORDER = (134, 139, 145)
HOT_BORDER = (96, 134, 184)
PRESSED_BORDER = (96, 102, 112)
DISABLED_BORDER = (190, 192, 198)
DEFAULT_RING = (128, 168, 222)
GLYPH = (58, 62, 70)
GLYPH_DISABLED = (172, 168, 153)
CLOSE_HOT = ((238, 128, 116), (204, 62, 50))
CLOSE_PRESSED = ((186, 58, 46), (214, 92, 80))
CAPTION_ACTIVE = ((250, 251, 252), (186, 193, 202))
CAPTION_INACTIVE = ((252, 252, 253), (224, 226, 231))
CAPTION_DISABLED = ((250, 250, 250), (236, 236, 238))
FRAME_ACTIVE = (150, 157, 168)
FRAME_INACTIVE = (192, 195, 202)
SELECT = (180, 201, 233)
SELECT_BORDER = (128, 160, 210)

STATE_LOOK = {
    "normal": (FACE, BORDER, GLYPH),
    "hot": (HOT, HOT_BORDER, GLYPH),
    "pressed": (PRESSED, PRESSED_BORDER, GLYPH),
    "disabled": (DISABLED, DISABLED_BORDER, GLYPH_DISABLED),
    "defaulted": (FACE, BORDER, GLYPH),
    "checked": (PRESSED, PRESSED_BORDER, GLYPH),
    "hotchecked": (((226, 234, 246), (240, 244, 250)), HOT_BORDER, GLYPH),
}


def grad(pair):
    return lambda t: mix(pair[0], pair[1], t)


def rounded_face(w, h, state, r=3, alpha=True, key=None):
    """A button face of one state: rounded, gradient, 1-pixel border."""
    img = Image(w, h, key + (255,) if key else (0, 0, 0, 0))
    look, border, _ = STATE_LOOK[state]
    if key:
        # Opaque art for a colour key: draw over the key, then snap soft corner pixels to key or face.
        tmp = Image(w, h)
        fill_rrect(tmp, 0, 0, w, h, r, grad(look))
        stroke_rrect(tmp, 0, 0, w, h, r, border)
        for y in range(h):
            for x in range(w):
                p = tmp.get(x, y)
                if p[3] >= 128:
                    img.set(x, y, (p[0], p[1], p[2], 255))
        return img
    fill_rrect(img, 0, 0, w, h, r, grad(look))
    stroke_rrect(img, 0, 0, w, h, r, border)
    if state in ("normal", "hot", "defaulted"):
        stroke_rrect(img, 1, 1, w - 1, h - 1, max(r - 1, 0), (255, 255, 255, 150))
    if state == "defaulted":
        stroke_rrect(img, 1, 1, w - 1, h - 1, max(r - 1, 0), DEFAULT_RING + (255,))
    if state == "hot":
        stroke_rrect(img, 1, 1, w - 1, h - 1, max(r - 1, 0), (255, 255, 255, 200))
    return img


# ---------------------------------------------------------------------------------------------
# Glyphs drawn into a frame, centred.

def glyph_close(img, cx, cy, s, color, width=1.6):
    line(img, cx - s, cy - s, cx + s, cy + s, color, width)
    line(img, cx - s, cy + s, cx + s, cy - s, color, width)


def glyph_max(img, cx, cy, s, color):
    x0, y0, x1, y1 = cx - s, cy - s, cx + s, cy + s
    fill_rect(img, int(x0), int(y0), int(x1), int(y0) + 2, color)
    line(img, x0 + 0.5, y0 + 1, x0 + 0.5, y1, color, 1.0)
    line(img, x1 - 0.5, y0 + 1, x1 - 0.5, y1, color, 1.0)
    line(img, x0, y1 - 0.5, x1, y1 - 0.5, color, 1.0)


def glyph_restore(img, cx, cy, s, color):
    glyph_max(img, cx - 1.5, cy + 1.5, s - 1.5, color)
    x0, y0, x1 = cx - s + 1.5, cy - s - 0.5, cx + s + 0.5
    fill_rect(img, int(x0 + 1), int(y0), int(x1), int(y0) + 2, color)
    line(img, x1 - 0.5, y0 + 1, x1 - 0.5, cy + 1, color, 1.0)


def glyph_min(img, cx, cy, s, color):
    fill_rect(img, int(cx - s), int(cy + s - 2), int(cx + s), int(cy + s), color)


def glyph_help(img, cx, cy, s, color):
    pts = [(-0.6, -0.45), (-0.45, -0.8), (0.0, -0.95), (0.45, -0.8), (0.6, -0.45), (0.4, -0.15),
           (0.05, 0.05), (0.0, 0.35)]
    for a, b in zip(pts, pts[1:]):
        line(img, cx + a[0] * s, cy + a[1] * s, cx + b[0] * s, cy + b[1] * s, color, 1.6)
    ellipse(img, cx, cy + 0.8 * s, 1.1, 1.1, color)


def arrow(img, cx, cy, s, direction, color):
    """Solid triangle pointing up, down, left or right."""
    if direction == "up":
        pts = [(cx - s, cy + s / 2), (cx + s, cy + s / 2), (cx, cy - s / 2)]
    elif direction == "down":
        pts = [(cx - s, cy - s / 2), (cx + s, cy - s / 2), (cx, cy + s / 2)]
    elif direction == "left":
        pts = [(cx + s / 2, cy - s), (cx + s / 2, cy + s), (cx - s / 2, cy)]
    else:
        pts = [(cx - s / 2, cy - s), (cx - s / 2, cy + s), (cx + s / 2, cy)]
    polygon(img, pts, color)


def check_mark(img, cx, cy, s, color, width=1.7):
    line(img, cx - s, cy, cx - s * 0.3, cy + s * 0.7, color, width)
    line(img, cx - s * 0.3, cy + s * 0.7, cx + s, cy - s * 0.8, color, width)


def transposed(frames):
    return [f.transpose() for f in frames]


# ---------------------------------------------------------------------------------------------
# Images, by the path the theme text names.

IMAGES = {}  # path -> (Image, alpha)


def add(path, frames, alpha=True, vertical=True):
    img = frames if isinstance(frames, Image) else stack(frames, vertical)
    IMAGES[path] = (img, alpha)


BUTTON_STATES = ["normal", "hot", "pressed", "disabled"]


def caption(w, h, look, border, rounded_top=True, rounded_bottom=False, r=5):
    img = Image(w, h)
    y0 = 0
    y1 = h + (0 if rounded_bottom else r + 1)
    x_in = 0
    fill_rrect(img, x_in, y0, w, y1, r if rounded_top else 0.01, grad(look))
    stroke_rrect(img, x_in, y0, w, y1, r if rounded_top else 0.01, border)
    stroke_rrect(img, 1, 1, w - 1, y1 - 1, max(r - 1, 0) if rounded_top else 0.01, (255, 255, 255, 170))
    # A hairline under the caption joins it to the client edge.
    fill_rect(img, 1, h - 1, w - 1, h, mix(border, look[1], 0.5))
    return img


def make_window():
    looks = [(CAPTION_ACTIVE, FRAME_ACTIVE), (CAPTION_INACTIVE, FRAME_INACTIVE),
             (CAPTION_DISABLED, FRAME_INACTIVE)]
    add(r"Silver\FrameTop.png", [caption(48, 26, l, b) for l, b in looks])
    add(r"Silver\FrameTopSizing.png", [caption(48, 26, CAPTION_ACTIVE, FRAME_ACTIVE)])
    add(r"Silver\SmallFrameTop.png", [caption(32, 18, l, b, r=3) for l, b in looks])
    add(r"Silver\SmallFrameTopSizing.png", [caption(32, 18, CAPTION_ACTIVE, FRAME_ACTIVE, r=3)])
    add(r"Silver\MinCaption.png", [caption(48, 26, l, b, True, True) for l, b in looks])
    add(r"Silver\MaxCaption.png", [caption(48, 25, l, b, False) for l, b in looks])

    def side(w, h, border, look):
        img = Image(w, h)
        for x in range(w):
            c = border if x == 0 else mix(look[1], look[0], x / max(w - 1, 1))
            fill_rect(img, x, 0, x + 1, h, c)
        return img

    for small, w in (("", 4), ("Small", 3)):
        frames = [side(w, 16, FRAME_ACTIVE, CAPTION_ACTIVE), side(w, 16, FRAME_INACTIVE, CAPTION_INACTIVE)]
        add("Silver\\%sFrameLeft.png" % small, frames, alpha=False)
        add("Silver\\%sFrameRight.png" % small, [f.flip_h() for f in frames], alpha=False)
        bottoms = []
        for border, look in ((FRAME_ACTIVE, CAPTION_ACTIVE), (FRAME_INACTIVE, CAPTION_INACTIVE)):
            img = Image(16, w)
            for y in range(w):
                c = border if y == w - 1 else mix(look[0], look[1], y / max(w - 1, 1))
                fill_rect(img, 0, y, 16, y + 1, c)
            fill_rect(img, 0, 0, 1, w, border)
            fill_rect(img, 15, 0, 16, w, border)
            bottoms.append(img)
        add("Silver\\%sFrameBottom.png" % small, bottoms, alpha=False)

    def faded(img):
        # An inactive window's buttons recede into its paler caption: half the opacity, colours
        # drawn toward the inactive caption's face.
        out = Image(img.w, img.h)
        for y in range(img.h):
            for x in range(img.w):
                r, g, b, a = img.get(x, y)
                c = mix((r, g, b), CAPTION_INACTIVE[1], 0.45)
                out.set(x, y, (c[0], c[1], c[2], a * 11 // 20))
        return out

    def caption_button(size, glyph, close=False, inactive=False):
        """Normal, hot, pressed, disabled; with inactive, the same four faded for an inactive window."""
        frames = []
        for state in BUTTON_STATES:
            img = rounded_face(size, size, state, r=3)
            color = STATE_LOOK[state][2]
            if close and state in ("hot", "pressed"):
                img = Image(size, size)
                look = CLOSE_HOT if state == "hot" else CLOSE_PRESSED
                fill_rrect(img, 0, 0, size, size, 3, grad(look))
                stroke_rrect(img, 0, 0, size, size, 3, (150, 40, 32))
                color = WHITE
            glyph(img, size / 2.0, size / 2.0, size * 0.22, color)
            frames.append(img)
        return frames + [faded(f) for f in frames] if inactive else frames

    add(r"Silver\CloseButton.png", caption_button(21, glyph_close, close=True, inactive=True))
    add(r"Silver\MaxButton.png", caption_button(21, glyph_max, inactive=True))
    add(r"Silver\RestoreButton.png", caption_button(21, glyph_restore, inactive=True))
    add(r"Silver\MinButton.png", caption_button(21, glyph_min, inactive=True))
    add(r"Silver\HelpButton.png", caption_button(21, glyph_help, inactive=True))
    add(r"Silver\SmallCloseButton.png", caption_button(15, glyph_close, close=True, inactive=True))
    add(r"Silver\MdiMinButton.png", caption_button(17, glyph_min))
    add(r"Silver\MdiRestoreButton.png", caption_button(17, glyph_restore))
    add(r"Silver\MdiCloseButton.png", caption_button(17, glyph_close, close=True))


def make_buttons():
    add(r"Silver\Button.png",
        [rounded_face(18, 21, s) for s in ("normal", "hot", "pressed", "disabled", "defaulted")])

    def box(state, mark):
        img = Image(13, 13, (255, 255, 255, 255))
        look, border, glyph = STATE_LOOK[state]
        inner = {"normal": ((228, 230, 236), (252, 252, 253)), "hot": ((214, 228, 246), (255, 255, 255)),
                 "pressed": ((196, 204, 216), (236, 238, 242)), "disabled": ((244, 244, 244), (244, 244, 244))}
        gradient_rect(img, 0, 0, 13, 13, *inner[state])
        stroke_rrect(img, 0, 0, 13, 13, 0.01, border)
        if mark == "check":
            check_mark(img, 6.5, 6.0, 3.2, glyph)
        elif mark == "mixed":
            fill_rect(img, 3, 3, 10, 10, mix(glyph, (255, 255, 255), 0.35))
        return img

    add(r"Silver\CheckBox.png",
        [box(s, m) for m in ("none", "check", "mixed") for s in BUTTON_STATES], alpha=False)

    def radio(state, dot):
        img = Image(13, 13)
        look, border, glyph = STATE_LOOK[state]
        inner = {"normal": ((228, 230, 236), (252, 252, 253)), "hot": ((214, 228, 246), (255, 255, 255)),
                 "pressed": ((196, 204, 216), (236, 238, 242)), "disabled": ((244, 244, 244), (244, 244, 244))}
        fill_rrect(img, 0, 0, 13, 13, 6.5, grad(inner[state]))
        stroke_rrect(img, 0, 0, 13, 13, 6.5, border)
        if dot:
            ellipse(img, 6.5, 6.5, 2.6, 2.6, glyph)
        return img

    add(r"Silver\RadioButton.png", [radio(s, d) for d in (False, True) for s in BUTTON_STATES])

    gb = Image(9, 9)
    stroke_rrect(gb, 0, 0, 9, 9, 3, (188, 192, 200))
    add(r"Silver\GroupBox.png", [gb])


def make_bars():
    # Rebar
    grip = Image(5, 8)
    for y in (1, 5):
        ellipse(grip, 2.5, y + 1, 1.1, 1.1, (150, 155, 165, 255))
        ellipse(grip, 3.0, y + 1.5, 0.9, 0.9, (255, 255, 255, 200))
    add(r"Silver\RebarGripper.png", [grip])
    add(r"Silver\RebarGripperVert.png", [grip.transpose()])

    def chevron(state, vertical):
        img = rounded_face(13, 13, state, r=2) if state != "normal" else Image(13, 13)
        for dx in (-2, 2):
            if vertical:
                line(img, 4.0, 4.0 + dx + 1.5, 6.5, 6.5 + dx + 1.5, GLYPH, 1.3)
                line(img, 6.5, 6.5 + dx + 1.5, 9.0, 4.0 + dx + 1.5, GLYPH, 1.3)
            else:
                line(img, 4.0 + dx + 1.5, 4.0, 6.5 + dx + 1.5, 6.5, GLYPH, 1.3)
                line(img, 6.5 + dx + 1.5, 6.5, 4.0 + dx + 1.5, 9.0, GLYPH, 1.3)
        return img

    add(r"Silver\RebarChevron.png", [chevron(s, False) for s in ("normal", "hot", "pressed")])
    add(r"Silver\RebarChevronVert.png", [chevron(s, True) for s in ("normal", "hot", "pressed")])

    # Toolbar: opaque art over a magenta key; flat states are all key and draw nothing.
    key = (255, 0, 255)
    tb_states = ["normal", "hot", "pressed", "disabled", "checked", "hotchecked"]

    def tb(w, h, state, arrow_right=False):
        if state in ("normal", "disabled"):
            img = Image(w, h, key + (255,))
        else:
            img = rounded_face(w, h, state, r=3, key=key)
        if arrow_right:
            # Hard-edged over the key: a soft edge would blend into visible magenta.
            layer = Image(w, h)
            arrow(layer, w / 2.0, h / 2.0, 2.5, "down", STATE_LOOK[state][2])
            for y in range(h):
                for x in range(w):
                    p = layer.get(x, y)
                    if p[3] >= 128:
                        img.set(x, y, (p[0], p[1], p[2], 255))
        return img

    add(r"Silver\ToolbarButton.png", [tb(22, 22, s) for s in tb_states], alpha=False)
    add(r"Silver\ToolbarDropDown.png", [tb(22, 22, s) for s in tb_states], alpha=False)
    add(r"Silver\ToolbarSplit.png", [tb(22, 22, s) for s in tb_states], alpha=False)
    add(r"Silver\ToolbarSplitDropDown.png", [tb(12, 22, s, True) for s in tb_states], alpha=False)
    sep = Image(6, 22)
    line(sep, 2.5, 3, 2.5, 19, (176, 181, 190, 255), 1.0)
    line(sep, 3.5, 3, 3.5, 19, (255, 255, 255, 255), 1.0)
    add(r"Silver\ToolbarSeparator.png", [sep])
    add(r"Silver\ToolbarSeparatorVert.png", [sep.transpose()])

    # Status bar
    pane = Image(8, 20)
    gradient_rect(pane, 0, 0, 8, 20, (246, 246, 248), (236, 237, 240))
    fill_rect(pane, 6, 3, 7, 17, (186, 190, 198))
    fill_rect(pane, 7, 3, 8, 17, (255, 255, 255))
    add(r"Silver\StatusPane.png", [pane], alpha=False)
    gpane = Image(8, 20)
    gradient_rect(gpane, 0, 0, 8, 20, (246, 246, 248), (236, 237, 240))
    add(r"Silver\StatusGripperPane.png", [gpane], alpha=False)
    grip = Image(12, 12)
    for row in range(3):
        for col in range(3 - row):
            x, y = 10 - col * 4, 10 - row * 4
            ellipse(grip, x - 0.5, y - 0.5, 1.1, 1.1, (150, 155, 165, 255))
            ellipse(grip, x + 0.2, y + 0.2, 0.8, 0.8, (255, 255, 255, 220))
    add(r"Silver\StatusGripper.png", [grip])

    # Header
    def header(state):
        img = Image(20, 22)
        look = {"normal": ((255, 255, 255), (236, 238, 242)), "hot": ((255, 255, 255), (226, 236, 248)),
                "pressed": ((218, 222, 230), (238, 240, 244))}[state]
        gradient_rect(img, 0, 0, 20, 22, *look)
        fill_rect(img, 0, 21, 20, 22, (170, 176, 186))
        fill_rect(img, 18, 4, 19, 18, (196, 200, 208))
        fill_rect(img, 19, 4, 20, 18, (255, 255, 255))
        if state == "hot":
            fill_rect(img, 0, 19, 20, 21, HOT_BORDER)
        return img

    add(r"Silver\HeaderItem.png", [header(s) for s in ("normal", "hot", "pressed")], alpha=False)

    # Progress
    track = Image(12, 16)
    fill_rrect(track, 0, 0, 12, 16, 3, grad(((226, 228, 233), (250, 250, 252))))
    stroke_rrect(track, 0, 0, 12, 16, 3, (160, 166, 176))
    add(r"Silver\ProgressTrack.png", [track])
    add(r"Silver\ProgressTrackVert.png", [track.transpose()])
    chunk = Image(8, 12)
    for y in range(12):
        t = y / 11.0
        c = mix((196, 222, 250), (92, 146, 212), t) if t > 0.4 else mix((236, 244, 253), (196, 222, 250), t / 0.4)
        fill_rect(chunk, 0, y, 8, y + 1, c)
    add(r"Silver\ProgressChunk.png", [chunk], alpha=False)
    add(r"Silver\ProgressChunkVert.png", [chunk.transpose()], alpha=False)


def make_tabs():
    pane = Image(12, 12, (252, 252, 253, 255))
    stroke_rrect(pane, 0, 0, 12, 12, 0.01, (150, 156, 166))
    add(r"Silver\TabPane.png", [pane], alpha=False)
    body = Image(10, 10)
    gradient_rect(body, 0, 0, 10, 10, (255, 255, 255), (244, 245, 248))
    add(r"Silver\TabBody.png", [body], alpha=False)

    def tab(state, w, h, left_round=True, right_round=True):
        img = Image(w, h)
        look = {"normal": ((252, 252, 253), (226, 229, 235)), "hot": ((255, 255, 255), (224, 234, 248)),
                "selected": ((255, 255, 255), (252, 252, 253)), "disabled": ((246, 246, 247), (238, 238, 240)),
                "focused": ((255, 255, 255), (236, 242, 250))}[state]
        border = DISABLED_BORDER if state == "disabled" else (150, 156, 166)
        top = 0 if state == "selected" else 2
        r = 3
        x0 = 0 if left_round else -r - 1
        x1 = w if right_round else w + r + 1
        fill_rrect(img, x0, top, x1, h + r + 1, r, grad(look))
        stroke_rrect(img, x0, top, x1, h + r + 1, r, border)
        if state in ("hot", "focused"):
            fill_rect(img, 2, top, w - 2, top + 2, (255, 186, 84) if state == "hot" else DEFAULT_RING)
        if state == "selected":
            fill_rect(img, 1, h - 1, w - 1, h, (255, 255, 255))
        return img

    states = ["normal", "hot", "selected", "disabled", "focused"]
    for prefix, h in (("", 20), ("Top", 22)):
        add("Silver\\%sTabItem.png" % prefix, [tab(s, 24, h) for s in states])
        add("Silver\\%sTabItemLeft.png" % prefix, [tab(s, 24, h, True, False) for s in states])
        add("Silver\\%sTabItemRight.png" % prefix, [tab(s, 24, h, False, True) for s in states])
        add("Silver\\%sTabItemBoth.png" % prefix, [tab(s, 24, h, False, False) for s in states])


def make_trackbar():
    states = ["normal", "hot", "pressed", "focused", "disabled"]

    def thumb_face(state):
        return "hot" if state == "focused" else state

    def thumb(state, point):
        """11 x 21 thumb; point is None, 'up' or 'down'."""
        img = Image(11, 21)
        look, border, _ = STATE_LOOK[thumb_face(state)]
        if point is None:
            fill_rrect(img, 0, 0, 11, 21, 2, grad(look))
            stroke_rrect(img, 0, 0, 11, 21, 2, border)
        else:
            pts = [(0.5, 0.5), (10.5, 0.5), (10.5, 15.0), (5.5, 20.5), (0.5, 15.0)]
            if point == "up":
                pts = [(x, 21 - y) for x, y in pts]
            polygon(img, pts, border)
            inner = [(x + (1 if x < 5.5 else -1 if x > 5.5 else 0), y + (1 if y < 10 else -1.2)) for x, y in pts]
            polygon(img, inner, mix(look[0], look[1], 0.5))
        if state == "focused":
            stroke_rrect(img, 1, 1, 10, 20 if point is None else 15, 1, DEFAULT_RING + (200,))
        return img

    add(r"Silver\TrackThumb.png", [thumb(s, None) for s in states])
    add(r"Silver\TrackThumbBottom.png", [thumb(s, "down") for s in states])
    add(r"Silver\TrackThumbTop.png", [thumb(s, "up") for s in states])
    add(r"Silver\TrackThumbVert.png", transposed([thumb(s, None) for s in states]), vertical=True)
    add(r"Silver\TrackThumbRight.png", transposed([thumb(s, "down") for s in states]))
    add(r"Silver\TrackThumbLeft.png", transposed([thumb(s, "up") for s in states]))
    track = Image(8, 4)
    fill_rect(track, 0, 0, 8, 4, (236, 238, 242))
    fill_rect(track, 0, 0, 8, 1, (150, 156, 166))
    fill_rect(track, 0, 0, 1, 4, (150, 156, 166))
    fill_rect(track, 0, 3, 8, 4, (255, 255, 255))
    fill_rect(track, 7, 0, 8, 4, (255, 255, 255))
    add(r"Silver\Track.png", [track], alpha=False)
    add(r"Silver\TrackVert.png", [track.transpose()], alpha=False)


def make_misc():
    def tree(opened):
        img = Image(9, 9, (255, 255, 255, 255))
        gradient_rect(img, 1, 1, 8, 8, (255, 255, 255), (226, 229, 235))
        stroke_rrect(img, 0, 0, 9, 9, 0.01, (140, 146, 158))
        fill_rect(img, 2, 4, 7, 5, GLYPH)
        if not opened:
            fill_rect(img, 4, 2, 5, 7, GLYPH)
        return img

    add(r"Silver\TreeGlyph.png", [tree(False), tree(True)], alpha=False)

    def spin(direction, w, h):
        frames = []
        for s in BUTTON_STATES:
            img = rounded_face(w, h, s, r=2)
            arrow(img, w / 2.0, h / 2.0, 2.6, direction, STATE_LOOK[s][2])
            frames.append(img)
        return frames

    add(r"Silver\SpinUp.png", spin("up", 15, 10))
    add(r"Silver\SpinDown.png", spin("down", 15, 10))
    add(r"Silver\SpinUpHorz.png", spin("right", 10, 15))
    add(r"Silver\SpinDownHorz.png", spin("left", 10, 15))

    # Scroll bars: arrow buttons as background frames plus separate arrow glyphs, 20 frames each.
    arrow_states = []
    for direction in ("up", "down", "left", "right"):
        for s in BUTTON_STATES:
            arrow_states.append((direction, s))
    for direction in ("up", "down", "left", "right"):
        arrow_states.append((direction, "hover"))

    def arrow_bg(state):
        if state == "hover":
            state = "normal"
        img = Image(17, 17, (241, 242, 245, 255))
        face = rounded_face(17, 17, state, r=3)
        img.over(face, 0, 0)
        return img

    add(r"Silver\ScrollArrows.png", [arrow_bg(s) for _, s in arrow_states], alpha=False)

    def arrow_glyph(direction, state):
        img = Image(9, 9)
        color = GLYPH_DISABLED if state == "disabled" else (HOT_BORDER if state == "hot" else GLYPH)
        arrow(img, 4.5, 4.5, 3.2, direction, color)
        return img

    add(r"Silver\ScrollArrowGlyphs.png", [arrow_glyph(d, s) for d, s in arrow_states])

    thumbs = []
    grips = []
    for s in BUTTON_STATES:
        img = Image(17, 17)
        look, border, glyph = STATE_LOOK[s]
        fill_rrect(img, 1, 1, 16, 16, 3, grad(look))
        stroke_rrect(img, 1, 1, 16, 16, 3, border)
        thumbs.append(img.transpose().flip_h().transpose() if False else img)
        g = Image(8, 8)
        if s != "disabled":
            for x in (1, 3, 5):
                fill_rect(g, x, 1, x + 1, 7, mix(border, (255, 255, 255), 0.2))
                fill_rect(g, x + 1, 1, x + 2, 7, (255, 255, 255, 230))
        grips.append(g)
    # Horizontal thumb: light at the top; vertical: light at the left.
    add(r"Silver\ScrollThumbHorz.png", thumbs)
    add(r"Silver\ScrollThumbVert.png", [gradient_turn(t) for t in thumbs])
    add(r"Silver\ScrollGripperHorz.png", grips)
    add(r"Silver\ScrollGripperVert.png", transposed(grips))

    def track(state, vertical):
        img = Image(17, 17)
        base = {"normal": ((236, 237, 241), (246, 247, 249)), "hot": ((232, 236, 244), (244, 247, 252)),
                "pressed": ((206, 211, 220), (220, 224, 232)), "disabled": ((244, 244, 246), (244, 244, 246))}[state]
        gradient_rect(img, 0, 0, 17, 17, *base)
        return img.transpose() if vertical else img

    add(r"Silver\ScrollTrackHorz.png", [track(s, False) for s in BUTTON_STATES], alpha=False)
    add(r"Silver\ScrollTrackVert.png", [track(s, True) for s in BUTTON_STATES], alpha=False)
    size_box = Image(17, 17)
    for row in range(3):
        for col in range(3 - row):
            x, y = 14 - col * 4, 14 - row * 4
            ellipse(size_box, x - 0.5, y - 0.5, 1.1, 1.1, (150, 155, 165, 255))
            ellipse(size_box, x + 0.2, y + 0.2, 0.8, 0.8, (255, 255, 255, 220))
    add(r"Silver\ScrollSizeBox.png", [size_box, size_box.flip_h()])

    # Combo box drop button
    frames = []
    for s in BUTTON_STATES:
        img = rounded_face(17, 20, s, r=2)
        arrow(img, 8.5, 10.5, 3.0, "down", STATE_LOOK[s][2])
        frames.append(img)
    add(r"Silver\ComboDropDown.png", frames)

    # Explorer bar
    frames = []
    for s in ("normal", "hot", "pressed"):
        img = rounded_face(16, 16, s, r=3) if s != "normal" else Image(16, 16)
        glyph_close(img, 8, 8, 3.2, GLYPH, 1.5)
        frames.append(img)
    add(r"Silver\ExplorerClose.png", frames)
    frames = []
    for selected in (False, True):
        for s in ("normal", "hot", "pressed"):
            img = rounded_face(16, 16, s, r=3) if s != "normal" else Image(16, 16)
            if selected:
                ellipse(img, 8, 6.5, 3, 3, HOT_BORDER)
                line(img, 8, 9, 8, 13.5, GLYPH, 1.3)
            else:
                ellipse(img, 6.5, 8, 3, 3, HOT_BORDER)
                line(img, 9, 8, 13.5, 8, GLYPH, 1.3)
            frames.append(img)
    add(r"Silver\ExplorerPin.png", frames)


def gradient_turn(img):
    """The same face lit from the left instead of from the top."""
    return img.transpose()


def make_menus():
    gutter = Image(4, 4, (240, 241, 244, 255))
    add(r"Silver\MenuGutter.png", [gutter], alpha=False)
    sep = Image(6, 3, (250, 250, 250, 255))
    fill_rect(sep, 0, 1, 6, 2, (206, 210, 218))
    fill_rect(sep, 0, 2, 6, 3, (255, 255, 255))
    add(r"Silver\MenuSeparator.png", [sep], alpha=False)

    def item(state):
        img = Image(12, 12)
        if state == "hot":
            fill_rrect(img, 0, 0, 12, 12, 2.5, grad(((212, 226, 246), SELECT)))
            stroke_rrect(img, 0, 0, 12, 12, 2.5, SELECT_BORDER)
        elif state == "disabledhot":
            fill_rrect(img, 0, 0, 12, 12, 2.5, (236, 236, 238, 255))
            stroke_rrect(img, 0, 0, 12, 12, 2.5, (200, 202, 208))
        return img

    add(r"Silver\MenuItem.png", [item(s) for s in ("normal", "hot", "disabled", "disabledhot")])
    checks = []
    for kind in ("check", "bullet"):
        for enabled in (True, False):
            img = Image(16, 16)
            color = GLYPH if enabled else GLYPH_DISABLED
            if kind == "check":
                check_mark(img, 8, 7.5, 3.6, color, 1.8)
            else:
                ellipse(img, 8, 8, 2.6, 2.6, color)
            checks.append(img)
    add(r"Silver\MenuCheck.png", checks)
    backs = []
    for state in ("disabled", "normal", "bitmap"):
        img = Image(20, 20)
        if state != "bitmap":
            fill_rrect(img, 0, 0, 20, 20, 3, (232, 240, 250, 255) if state == "normal" else (240, 240, 242, 255))
            stroke_rrect(img, 0, 0, 20, 20, 3, SELECT_BORDER if state == "normal" else DISABLED_BORDER)
        else:
            stroke_rrect(img, 0, 0, 20, 20, 3, SELECT_BORDER)
        backs.append(img)
    add(r"Silver\MenuCheckBackground.png", backs)
    subs = []
    for enabled in (True, False):
        img = Image(9, 9)
        arrow(img, 4.5, 4.5, 3.4, "right", GLYPH if enabled else GLYPH_DISABLED)
        subs.append(img)
    add(r"Silver\MenuSubmenu.png", subs)
    for name, glyph in (("Close", glyph_close), ("Maximize", glyph_max), ("Minimize", glyph_min),
                        ("Restore", glyph_restore)):
        frames = []
        for enabled in (True, False):
            img = Image(10, 10)
            glyph(img, 5, 5, 3.2, GLYPH if enabled else GLYPH_DISABLED)
            frames.append(img)
        add("Silver\\MenuSystem%s.png" % name, frames)


# ---------------------------------------------------------------------------------------------
# The theme text, in section order.

def image_part(path, count, layout="Vertical", sizing="Stretch", margins=None, extra=()):
    props = [("BgType", "ImageFile"), ("ImageFile", path), ("ImageCount", str(count)),
             ("ImageLayout", layout), ("SizingType", sizing)]
    if margins:
        props.append(("SizingMargins", margins))
    props.extend(extra)
    return props


def border_fill(fill, border=None, size=1, extra=()):
    props = [("BgType", "BorderFill"), ("BorderSize", str(size if border else 0)), ("FillColor", fill)]
    if border:
        props.append(("BorderColor", border))
    props.extend(extra)
    return props


TEXT_DIS = "172 168 153"

SECTIONS = [
    ("Documentation", [("DisplayName", "Silver"), ("Description", "Light silver theme of Tamrivel"),
                       ("Author", "Tamrivel"), ("Company", "Tamrivel"), ("Copyright", "Tamrivel"),
                       ("Version", "1.0"), ("ColorScheme", "Silver"), ("FontSize", "NormalSize"),
                       ("IniFileName", "NormalSilver.ini")]),
    ("Globals", [("EdgeLightColor", "241 239 226"), ("EdgeHighlightColor", "255 255 255"),
                 ("EdgeShadowColor", "172 168 153"), ("EdgeDkShadowColor", "113 111 100"),
                 ("EdgeFillColor", "236 233 216")]),
    ("SysMetrics", [("ScrollbarWidth", "17"), ("ScrollbarHeight", "17"), ("CaptionBarHeight", "25"),
                    ("SmCaptionBarHeight", "17"), ("SmCaptionBarWidth", "17"), ("CaptionFont", "Tahoma, 10"),
                    ("SmallCaptionFont", "Tahoma, 8"), ("MenuFont", "Tahoma, 8"), ("StatusFont", "Tahoma, 8"),
                    ("MsgBoxFont", "Tahoma, 8"), ("IconTitleFont", "Tahoma, 8"), ("FlatMenus", "True"),
                    ("MinColorDepth", "15"), ("CssName", "Silver\\Silver.css"), ("XmlName", "Silver\\Silver.xml"),
                    ("Window", "255 255 255"), ("MenuBar", "236 233 216"), ("Background", "0 78 152"),
                    ("WindowText", "0 0 0"), ("GradientActiveCaption", "224 224 224"),
                    ("GradientInactiveCaption", "250 250 250"), ("HighlightText", "0 0 0"),
                    ("GrayText", "172 168 153"), ("BtnHighlight", "255 255 255"), ("DkShadow3d", "141 149 173"),
                    ("Light3d", "241 239 226"), ("Menu", "250 250 250"), ("Highlight", "167 205 240"),
                    ("BtnText", "0 0 0"), ("InactiveCaption", "224 224 224"), ("BtnFace", "238 238 244"),
                    ("Scrollbar", "207 211 220"), ("Appworkspace", "177 180 188"),
                    ("ActiveCaption", "186 193 202"), ("CaptionText", "59 59 59"),
                    ("InactiveCaptionText", "138 138 138"), ("MenuHilight", "180 201 233"),
                    ("BtnShadow", "178 183 194")]),
    ("Window", [("TextColor", "59 59 59")]),
    ("Window.Caption", image_part(r"Silver\FrameTop.png", 3, margins="6, 6, 6, 2",
                                  extra=[("ContentMargins", "6, 6, 3, 3"), ("TextColor", "138 138 138"),
                                         ("ContentAlignment", "Left")])),
    ("Window.Caption(Active)", [("TextColor", "59 59 59"), ("TextShadowType", "Single"),
                                ("TextShadowOffset", "1, 1"), ("TextShadowColor", "255 255 255")]),
    ("Window.CaptionSizingTemplate", image_part(r"Silver\FrameTopSizing.png", 1, margins="6, 6, 6, 2")),
    ("Window.SmallCaption", image_part(r"Silver\SmallFrameTop.png", 3, margins="4, 4, 4, 2",
                                       extra=[("ContentMargins", "4, 4, 2, 2"), ("TextColor", "59 59 59")])),
    ("Window.SmallCaptionSizingTemplate", image_part(r"Silver\SmallFrameTopSizing.png", 1, margins="4, 4, 4, 2")),
    ("Window.MinCaption", image_part(r"Silver\MinCaption.png", 3, margins="6, 6, 6, 6",
                                     extra=[("TextColor", "59 59 59")])),
    ("Window.MaxCaption", image_part(r"Silver\MaxCaption.png", 3, margins="2, 2, 2, 2",
                                     extra=[("TextColor", "138 138 138")])),
    ("Window.MaxCaption(Active)", [("TextColor", "59 59 59"), ("TextShadowType", "Single"),
                                   ("TextShadowOffset", "1, 1"), ("TextShadowColor", "255 255 255")]),
    ("Window.FrameLeft", image_part(r"Silver\FrameLeft.png", 2)),
    ("Window.FrameRight", image_part(r"Silver\FrameRight.png", 2)),
    ("Window.FrameBottom", image_part(r"Silver\FrameBottom.png", 2, margins="1, 1, 0, 0")),
    ("Window.SmallFrameLeft", image_part(r"Silver\SmallFrameLeft.png", 2)),
    ("Window.SmallFrameRight", image_part(r"Silver\SmallFrameRight.png", 2)),
    ("Window.SmallFrameBottom", image_part(r"Silver\SmallFrameBottom.png", 2, margins="1, 1, 0, 0")),
    ("Window.Dialog", border_fill("236 233 216", "236 233 216")),
    ("Window.CloseButton", image_part(r"Silver\CloseButton.png", 8, margins="4, 4, 4, 4")),
    ("Window.MaxButton", image_part(r"Silver\MaxButton.png", 8, margins="4, 4, 4, 4")),
    ("Window.RestoreButton", image_part(r"Silver\RestoreButton.png", 8, margins="4, 4, 4, 4")),
    ("Window.MinButton", image_part(r"Silver\MinButton.png", 8, margins="4, 4, 4, 4")),
    ("Window.HelpButton", image_part(r"Silver\HelpButton.png", 8, margins="4, 4, 4, 4")),
    ("Window.SmallCloseButton", image_part(r"Silver\SmallCloseButton.png", 8, margins="3, 3, 3, 3")),
    ("Window.MdiMinButton", image_part(r"Silver\MdiMinButton.png", 4, margins="3, 3, 3, 3")),
    ("Window.MdiRestoreButton", image_part(r"Silver\MdiRestoreButton.png", 4, margins="3, 3, 3, 3")),
    ("Window.MdiCloseButton", image_part(r"Silver\MdiCloseButton.png", 4, margins="3, 3, 3, 3")),
    ("Button.PushButton", [("BgType", "ImageFile"), ("SizingType", "Stretch"), ("ContentMargins", "3, 3, 3, 3"),
                           ("ImageFile", r"Silver\Button.png"), ("ImageCount", "5"), ("ImageLayout", "Vertical"),
                           ("TextColor", "0 0 0"), ("MinSize", "10, 5"), ("SizingMargins", "3, 3, 3, 3")]),
    ("Button.CheckBox", image_part(r"Silver\CheckBox.png", 12, sizing="TrueSize",
                                   extra=[("TextColor", "0 0 0"), ("ContentMargins", "3, 0, 0, 0")])),
    ("Button.CheckBox(CheckedDisabled)", [("TextColor", TEXT_DIS)]),
    ("Button.CheckBox(UncheckedDisabled)", [("TextColor", TEXT_DIS)]),
    ("Button.CheckBox(MixedDisabled)", [("TextColor", TEXT_DIS)]),
    ("Button.RadioButton", image_part(r"Silver\RadioButton.png", 8, sizing="TrueSize",
                                      extra=[("TextColor", "0 0 0"), ("ContentMargins", "3, 0, 0, 0")])),
    ("Button.RadioButton(CheckedDisabled)", [("TextColor", TEXT_DIS)]),
    ("Button.RadioButton(UncheckedDisabled)", [("TextColor", TEXT_DIS)]),
    ("Button.GroupBox", image_part(r"Silver\GroupBox.png", 1, margins="4, 4, 4, 4",
                                   extra=[("BorderOnly", "True"), ("TextColor", "40 72 132"),
                                          ("ContentMargins", "7, 7, 4, 4")])),
    ("Rebar", border_fill("240 241 244", extra=[("TextColor", "0 0 0")])),
    ("Rebar.Band", border_fill("240 241 244", extra=[("ContentMargins", "2, 2, 2, 2")])),
    ("Rebar.Gripper", image_part(r"Silver\RebarGripper.png", 1, sizing="Tile", margins="0, 0, 2, 2")),
    ("Rebar.GripperVert", image_part(r"Silver\RebarGripperVert.png", 1, sizing="Tile", margins="2, 2, 0, 0")),
    ("Rebar.Chevron", image_part(r"Silver\RebarChevron.png", 3, sizing="TrueSize")),
    ("Rebar.ChevronVert", image_part(r"Silver\RebarChevronVert.png", 3, sizing="TrueSize")),
    ("Toolbar", border_fill("240 241 244")),
    ("Toolbar.Button", image_part(r"Silver\ToolbarButton.png", 6, margins="4, 4, 4, 4",
                                  extra=[("Transparent", "True"), ("ContentMargins", "3, 3, 3, 3")])),
    ("Toolbar.Separator", image_part(r"Silver\ToolbarSeparator.png", 1, margins="0, 0, 3, 3")),
    ("Toolbar.SeparatorVert", image_part(r"Silver\ToolbarSeparatorVert.png", 1, margins="3, 3, 0, 0")),
    ("Toolbar.DropDownButton", image_part(r"Silver\ToolbarDropDown.png", 6, margins="4, 4, 4, 4",
                                          extra=[("Transparent", "True")])),
    ("Toolbar.SplitButton", image_part(r"Silver\ToolbarSplit.png", 6, margins="4, 4, 4, 4",
                                       extra=[("Transparent", "True")])),
    ("Toolbar.SplitButtonDropDown", image_part(r"Silver\ToolbarSplitDropDown.png", 6, margins="3, 3, 4, 4",
                                               extra=[("Transparent", "True"), ("TransparentColor", "255 0 255")])),
    ("Status", border_fill("236 237 240", extra=[("TextColor", "0 0 0")])),
    ("Status.Pane", image_part(r"Silver\StatusPane.png", 1, margins="0, 2, 0, 0")),
    ("Status.GripperPane", image_part(r"Silver\StatusGripperPane.png", 1)),
    ("Status.Gripper", image_part(r"Silver\StatusGripper.png", 1, sizing="TrueSize",
                                  extra=[("VAlign", "Bottom"), ("HAlign", "Right")])),
    ("ListBox", border_fill("255 255 255", "134 139 145")),
    ("ListView", border_fill("255 255 255", "134 139 145", extra=[("TextColor", "0 0 0")])),
    ("Header", border_fill("255 255 255", extra=[("TextColor", "0 0 0")])),
    ("Header.HeaderItem", image_part(r"Silver\HeaderItem.png", 3, margins="3, 3, 3, 3",
                                     extra=[("ContentMargins", "4, 4, 2, 2")])),
    ("Progress", [("ProgressChunkSize", "8"), ("ProgressSpaceSize", "2")]),
    ("Progress.Bar", image_part(r"Silver\ProgressTrack.png", 1, margins="4, 4, 4, 4",
                                extra=[("ContentMargins", "3, 3, 3, 3")])),
    ("Progress.Chunk", image_part(r"Silver\ProgressChunk.png", 1)),
    ("Progress.BarVert", image_part(r"Silver\ProgressTrackVert.png", 1, margins="4, 4, 4, 4",
                                    extra=[("ContentMargins", "3, 3, 3, 3")])),
    ("Progress.ChunkVert", image_part(r"Silver\ProgressChunkVert.png", 1)),
    ("Tab", [("TextColor", "0 0 0")]),
    ("Tab.Pane", image_part(r"Silver\TabPane.png", 1, margins="2, 2, 2, 2")),
    ("Tab.TabItem", image_part(r"Silver\TabItem.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TabItemLeftEdge", image_part(r"Silver\TabItemLeft.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TabItemRightEdge", image_part(r"Silver\TabItemRight.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TabItemBothEdge", image_part(r"Silver\TabItemBoth.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TopTabItem", image_part(r"Silver\TopTabItem.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TopTabItemLeftEdge", image_part(r"Silver\TopTabItemLeft.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TopTabItemRightEdge", image_part(r"Silver\TopTabItemRight.png", 5, margins="4, 4, 4, 4")),
    ("Tab.TopTabItemBothEdge", image_part(r"Silver\TopTabItemBoth.png", 5, margins="4, 4, 4, 4")),
    ("Tab.Body", image_part(r"Silver\TabBody.png", 1)),
    ("TrackBar", [("TextColor", "0 0 0")]),
    ("TrackBar.Thumb", image_part(r"Silver\TrackThumb.png", 5, sizing="TrueSize")),
    ("TrackBar.ThumbTop", image_part(r"Silver\TrackThumbTop.png", 5, sizing="TrueSize")),
    ("TrackBar.ThumbBottom", image_part(r"Silver\TrackThumbBottom.png", 5, sizing="TrueSize")),
    ("TrackBar.ThumbVert", image_part(r"Silver\TrackThumbVert.png", 5, sizing="TrueSize")),
    ("TrackBar.ThumbLeft", image_part(r"Silver\TrackThumbLeft.png", 5, sizing="TrueSize")),
    ("TrackBar.ThumbRight", image_part(r"Silver\TrackThumbRight.png", 5, sizing="TrueSize")),
    ("TrackBar.Track", image_part(r"Silver\Track.png", 1, margins="2, 2, 1, 1")),
    ("TrackBar.TrackVert", image_part(r"Silver\TrackVert.png", 1, margins="1, 1, 2, 2")),
    ("TreeView", border_fill("255 255 255", "134 139 145", extra=[("TextColor", "0 0 0")])),
    ("TreeView.Glyph", image_part(r"Silver\TreeGlyph.png", 2, sizing="TrueSize")),
    ("Spin", [("TextColor", "0 0 0")]),
    ("Spin.Up", image_part(r"Silver\SpinUp.png", 4, margins="3, 3, 3, 3")),
    ("Spin.Down", image_part(r"Silver\SpinDown.png", 4, margins="3, 3, 3, 3")),
    ("Spin.UpHorz", image_part(r"Silver\SpinUpHorz.png", 4, margins="3, 3, 3, 3")),
    ("Spin.DownHorz", image_part(r"Silver\SpinDownHorz.png", 4, margins="3, 3, 3, 3")),
    ("Scrollbar.ArrowBtn", [("BgType", "ImageFile"), ("SizingMargins", "5, 5, 5, 5"),
                            ("ContentMargins", "0, 0, 3, 3"), ("SizingType", "Stretch"), ("ImageCount", "20"),
                            ("ImageLayout", "Vertical"), ("GlyphType", "ImageGlyph"), ("GlyphTransparent", "True"),
                            ("ImageSelectType", "Size"), ("ImageFile", r"Silver\ScrollArrows.png"),
                            ("ImageFile1", r"Silver\ScrollArrowGlyphs.png")]),
    ("Scrollbar.ThumbBtnHorz", image_part(r"Silver\ScrollThumbHorz.png", 4, margins="5, 5, 5, 5")),
    ("Scrollbar.GripperHorz", image_part(r"Silver\ScrollGripperHorz.png", 4, sizing="TrueSize")),
    ("Scrollbar.ThumbBtnVert", image_part(r"Silver\ScrollThumbVert.png", 4, margins="5, 5, 5, 5")),
    ("Scrollbar.GripperVert", image_part(r"Silver\ScrollGripperVert.png", 4, sizing="TrueSize")),
    ("Scrollbar.LowerTrackHorz", image_part(r"Silver\ScrollTrackHorz.png", 4)),
    ("Scrollbar.UpperTrackHorz", image_part(r"Silver\ScrollTrackHorz.png", 4)),
    ("Scrollbar.LowerTrackVert", image_part(r"Silver\ScrollTrackVert.png", 4)),
    ("Scrollbar.UpperTrackVert", image_part(r"Silver\ScrollTrackVert.png", 4)),
    ("Scrollbar.SizeBox", image_part(r"Silver\ScrollSizeBox.png", 2, sizing="TrueSize",
                                     extra=[("VAlign", "Bottom")])),
    ("Edit", border_fill("255 255 255", "134 139 145", extra=[("TextColor", "0 0 0")])),
    ("Edit.EditText(Disabled)", [("FillColor", "244 244 244"), ("TextColor", TEXT_DIS)]),
    ("Edit.EditText(ReadOnly)", [("FillColor", "246 247 249")]),
    ("ComboBox", border_fill("255 255 255", "134 139 145", extra=[("TextColor", "0 0 0")])),
    ("ComboBox(Disabled)", [("FillColor", "244 244 244"), ("BorderColor", "190 192 198"), ("TextColor", TEXT_DIS)]),
    ("ComboBox.DropDownButton", image_part(r"Silver\ComboDropDown.png", 4, margins="3, 3, 3, 3")),
    ("ExplorerBar.HeaderClose", image_part(r"Silver\ExplorerClose.png", 3, sizing="TrueSize")),
    ("ExplorerBar.Headerpin", image_part(r"Silver\ExplorerPin.png", 6, sizing="TrueSize")),
    # A non-zero border size is what marks the menus as themed; the border is the fill colour.
    ("Menu.PopupBackground", border_fill("250 250 250", "250 250 250", size=4)),
    ("Menu.PopupBorders", border_fill("250 250 250", "150 155 165", extra=[("BorderOnly", "True")])),
    ("Menu.PopupGutter", image_part(r"Silver\MenuGutter.png", 1)),
    ("Menu.PopupSeparator", image_part(r"Silver\MenuSeparator.png", 1, margins="1, 1, 0, 0")),
    ("Menu.PopupItem", image_part(r"Silver\MenuItem.png", 4, margins="4, 4, 4, 4",
                                  extra=[("TextColor", "0 0 0")])),
    ("Menu.PopupItem(Disabled)", [("TextColor", TEXT_DIS)]),
    ("Menu.PopupItem(DisabledHot)", [("TextColor", TEXT_DIS)]),
    ("Menu.PopupCheck", image_part(r"Silver\MenuCheck.png", 4, sizing="TrueSize")),
    ("Menu.PopupCheckBackground", image_part(r"Silver\MenuCheckBackground.png", 3, margins="4, 4, 4, 4")),
    ("Menu.PopupSubmenu", image_part(r"Silver\MenuSubmenu.png", 2, sizing="TrueSize")),
    ("Menu.SystemClose", image_part(r"Silver\MenuSystemClose.png", 2, sizing="TrueSize")),
    ("Menu.SystemMaximize", image_part(r"Silver\MenuSystemMaximize.png", 2, sizing="TrueSize")),
    ("Menu.SystemMinimize", image_part(r"Silver\MenuSystemMinimize.png", 2, sizing="TrueSize")),
    ("Menu.SystemRestore", image_part(r"Silver\MenuSystemRestore.png", 2, sizing="TrueSize")),
    ("Button.PushButton(Disabled)", [("TextColor", "161 161 146")]),
    ("TrackBar.Tics", border_fill("150 156 166")),
    ("TrackBar.TicsVert", border_fill("150 156 166")),
    ("ComboBox(Hot)", [("BorderColor", "96 134 184")]),
]

INDEX = [
    ("Documentation", [("DisplayName", "Tamrivel"), ("Description", "Themes carried by Tamrivel"),
                       ("Copyright", "Tamrivel"), ("Author", "Tamrivel"), ("Company", "Tamrivel"),
                       ("URL", ""), ("Version", "1.0")]),
    ("ColorScheme.Silver", [("DisplayName", "Silver")]),
    ("Size.NormalSize", [("DisplayName", "Normal")]),
    ("File.NormalSilver", [("FileName", "NormalSilver.ini"), ("ColorSchemes", "Silver"), ("Sizes", "NormalSize")]),
]


def ini_text(sections, header_comment):
    lines = ["; " + header_comment, ""]
    for name, props in sections:
        lines.append("[%s]" % name)
        for key, value in props:
            lines.append("%s = %s" % (key, value))
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


def utf16(text):
    return b"\xff\xfe" + text.encode("utf-16-le")


def resource_name(path):
    return path.upper().replace(".", "_").replace("\\", "_")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources",
                                                             "theme")
    out = os.path.abspath(out)
    make_window()
    make_buttons()
    make_bars()
    make_tabs()
    make_trackbar()
    make_misc()
    make_menus()

    named = []
    for _, props in SECTIONS:
        for key, value in props:
            if key.upper().startswith("IMAGEFILE") or key.upper() in ("GLYPHIMAGEFILE", "STOCKIMAGEFILE"):
                if value not in named:
                    named.append(value)
    missing = [p for p in named if p not in IMAGES]
    unused = [p for p in IMAGES if p not in named]
    if missing or unused:
        raise SystemExit("theme images out of step: missing %s, unused %s" % (missing, unused))
    assert len(SECTIONS) == 126, len(SECTIONS)

    os.makedirs(os.path.join(out, "Silver"), exist_ok=True)
    for path, (img, alpha) in IMAGES.items():
        with open(os.path.join(out, *path.split("\\")), "wb") as f:
            f.write(png_bytes(img, alpha))
    with open(os.path.join(out, "NormalSilver.ini"), "wb") as f:
        f.write(utf16(ini_text(SECTIONS, "Tamrivel light silver theme (generated by tools/theme/make_theme.py)")))
    with open(os.path.join(out, "themes.ini"), "wb") as f:
        f.write(utf16(ini_text(INDEX, "Themes of this package (generated by tools/theme/make_theme.py)")))

    rc = ["// Theme package of the program (generated by tools/theme/make_theme.py; do not edit).",
          "// Included by the program's resource script; paths are relative to the resources folder.",
          "",
          "THEMES_INI TEXTFILE \"theme/themes.ini\"",
          "NORMALSILVER_INI TEXTFILE \"theme/NormalSilver.ini\"",
          ""]
    for path in sorted(IMAGES, key=resource_name):
        rc.append("%s PNG \"theme/%s\"" % (resource_name(path), path.replace("\\", "/")))
    with open(os.path.join(out, "theme.rc"), "w", newline="\n") as f:
        f.write("\n".join(rc) + "\n")
    print("theme: %d sections, %d images in %s" % (len(SECTIONS), len(IMAGES), out))


if __name__ == "__main__":
    main()
