#!/usr/bin/python3
"""Writes all of Emberfall's artwork and colour catalogues as SVG and JSON.

One palette, one small stroke font and a handful of drawing helpers make every
image asset of the framework (OrreryCore, the dial skins) and of the extension.
Output is deterministic: the same program always writes the same bytes.

    /usr/bin/python3 tools/artwork/generate.py           write every asset
    /usr/bin/python3 tools/artwork/generate.py --check   exit 1 if any file differs
"""
import json
import math
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# --------------------------------------------------------------------------- palette
# Warm charcoal panels, cream print, four lamp colours. Everything below draws from here.
PALETTE = {
    "ink": "#0b0a09",  # outlines, deepest shadow
    "screen": "#100f0d",  # pad and preset display glass
    "panelTop": "#24211d",
    "panelBottom": "#171513",
    "plate": "#29251f",
    "plateEdge": "#3b352e",
    "engrave": "#4a433a",  # printed panel lines and small captions
    "keyTop": "#4b4640",
    "keyBottom": "#2a2623",
    "cream": "#e6dac2",  # printed text, pointers
    "creamDim": "#b3a893",
    "creamPressed": "#a59a86",
    "muted": "#857c70",
    "grey": "#c2b9ab",
    "steel": "#9a9184",  # lit arc of the small grey dials, a step below their titles
    "greyDark": "#7a7268",
    "red": "#e5533d",
    "yellow": "#f2c14e",
    "orange": "#f0883a",
    "blue": "#5aa8e8",
    "blueText": "#7ab8ec",
    "white": "#f4eee2",
    "purple": "#a486dc",
    "amber": "#e9b44c",
    "yellowInk": "#2b2115",
    "retroTop": "#e4d7bc",
    "retroBottom": "#c2b392",
    "meterOff": "#2e2a26",
    "aqua": "#5cc4b4",
    "purpleDark": "#5d4a86",
}

# The framework's colour assets (header, buttons) and its six named plug-in colours.
CORE_COLOURS = {
    "ChaosYellowText": "yellowInk",
    "background": "panelBottom",
    "buttonText": "creamDim",
    "chaosToggleText": "cream",
    "chaosToggleTextPressed": "creamPressed",
    "tabSelected": "cream",
    "tabUnselected": "greyDark",
    "updateBackground": "yellow",
    "versionInfo": "muted",
    "pluginGrey": "grey",
    "pluginBlue": "blueText",
    "pluginYellow": "yellow",
    "pluginRed": "red",
    "pluginPurple": "purple",
    "tinyDialLabel": "muted",
}
EXTENSION_COLOURS = {
    "meterFilled": "amber",
    "meterLimit": "red",
    "meterUnfilled": "meterOff",
    "values": "cream",
}
# The control library's colours: its greys run from the panels' ink to the print's white.
TIDEGLASS_COLOURS = {
    "Background/Normal": "panelBottom",
    "Background/Darker": "#12110f",
    "Background/Darkest": "screen",
    "Error": "red",
    # Deep enough that selected text (Grey 100%) reads on it at better than 4.5 : 1.
    "Highlight/System": "#9e5a0a",
    "Quarro/Aqua": "aqua",
    "Quarro/Blue": "blue",
    "Quarro/DarkPurple": "purpleDark",
    "Quarro/LightBlue": "blueText",
    "Quarro/Orange": "orange",
    "Quarro/Purple": "purple",
    "Quarro/Red": "red",
    "Quarro/Yellow": "yellow",
}
for _percent in (20, 30, 40, 50, 60, 70, 85, 100):
    TIDEGLASS_COLOURS[f"Grey {_percent}%"] = None  # filled in once mix() exists
LAMPS = {"yellow": "yellow", "blue": "blue", "red": "red", "white": "white"}
DIAL_SKINS = {  # module folder, asset prefix, lamp colour
    "red": ("OrreryLargeDialRed", "chaos-dial-large-red", "red"),
    "yellow": ("OrreryLargeDialYellow", "chaos-dial-large-yellow", "yellow"),
    "orange": ("OrreryLargeDialOrange", "chaos-dial-large-orange", "orange"),
    "blue": ("OrreryLargeDialBlue", "chaos-dial-large-blue", "blue"),
    "grey": ("OrreryChaosDial", "chaos-dial-grey", "steel"),
}

# --------------------------------------------------------------------------- editor layout
# Where the editor lays out its controls on the 472 x 672 canvas; the background
# leaves room for them and the preview's mock-up places them here.
CANVAS = (472, 672)
LOGO = (72, 18)
HEADER = {"y": 16, "height": 22, "left": 24, "right": 32, "spacing": 4, "gap": 32}
PRESET_BOX = (154, 22)
PRESET_STEP = (20, 22)
METER_ROW_Y = 46
METER_X = (32, 429)  # left edges of the input and output meter columns (11 wide)
METER_TOP = METER_ROW_Y + 8
METER_HEIGHT = 42 * 2 + 41 * 2
PAD = {"x": 51, "y": METER_ROW_Y, "w": 370, "h": 194, "inset": 8, "scale_band": 14}
# The dial rows are framed 144 and 146 high and centre their dials in that height: the
# large dials' row starts at 276 and centres the 82-high dial (31 down), the small
# dials' row starts at 419 and centres the 64-high dial (41 down); each dial's frame is
# lifted 16 above its place.
# The knob's radius, the width of its knurled skirt and of the pointer notch. The notch
# reaches 1 point into the cap's face, so the face is clear for the dial's title within
# knob - skirt - 1 - pointer/2 - 0.3 of the centre: 19.8 (large) and 13.3 (small), the
# title radii of the dials' KnobArtwork.
LARGE_DIAL = {"w": 72, "h": 82, "cx": 36, "cy": 34, "top": 276 + 31 - 16, "knob": 25, "skirt": 3.0, "pointer": 1.8}
CHAOS_DIAL = {"w": 56, "h": 64, "cx": 28, "cy": 25, "top": 419 + 41 - 16, "knob": 18, "skirt": 2.8, "pointer": 1.6}
LARGE_DIAL_CENTRES = [63 + i * 86.5 for i in range(5)]
CHAOS_DIAL_CENTRES = [56 + i * 72 for i in range(6)]
MODE_ROW_Y = 276 + 144 + 146 + 2
MODE_BUTTON_X = [32 + i * 72 for i in range(6)]
MODE_LABEL_Y = MODE_ROW_Y + 56 + 4 + 9  # centre of the "DELAY" / "MODE" captions
MODE_GROUPS = [(32, 152, 38), (176, 440, 36)]  # x from, x to, caption width
DELAY_MS = (1.0, 5000.0, 100.0)  # range and midpoint of the delay time
FEEDBACK_MAX = 150.0
DIAL_SWEEP = 150.0  # degrees either side of straight up
FRAMES = 51


# --------------------------------------------------------------------------- SVG writing
def num(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def rgb(name_or_hex):
    h = PALETTE.get(name_or_hex, name_or_hex).lstrip("#")
    return tuple(int(h[i : i + 2], 16) / 255 for i in (0, 2, 4))


def hexa(c):
    return "#" + "".join(f"{round(max(0, min(1, x)) * 255):02x}" for x in c)


def mix(a, b, t):
    """Colour a moved a fraction t of the way to colour b."""
    return hexa([x + (y - x) * t for x, y in zip(rgb(a), rgb(b))])


def light(c, t):
    return mix(c, "#ffffff", t)


def dark(c, t):
    return mix(c, "#000000", t)


class Svg:
    """An SVG document built from elements; gradients get numbered ids."""

    def __init__(self, w, h):
        self.w, self.h, self.defs, self.items = w, h, [], []

    def _gradient(self, kind, stops, geometry):
        gid = f"g{len(self.defs) + 1}"
        body = "".join(
            f'<stop offset="{num(o)}" stop-color="{PALETTE.get(c, c)}"'
            + (f' stop-opacity="{num(a)}"' if a != 1 else "")
            + "/>"
            for o, c, a in ((s + (1,))[:3] for s in stops)
        )
        self.defs.append(f'<{kind} id="{gid}"{attrs(geometry)}>{body}</{kind}>')
        return f"url(#{gid})"

    def linear(self, stops, x1=0, y1=0, x2=0, y2=1):
        return self._gradient("linearGradient", stops, dict(x1=x1, y1=y1, x2=x2, y2=y2))

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
        g = dict(cx=cx, cy=cy, r=r)
        if fx is not None:
            g.update(fx=fx, fy=fy)
        return self._gradient("radialGradient", stops, g)

    def el(self, tag, **a):
        self.items.append(f"<{tag}{attrs(a)}/>")

    def text(self):
        defs = f"<defs>{''.join(self.defs)}</defs>\n" if self.defs else ""
        return (
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{num(self.w)}" height="{num(self.h)}"'
            f' viewBox="0 0 {num(self.w)} {num(self.h)}">\n{defs}' + "\n".join(self.items) + "\n</svg>\n"
        )


def attrs(a):
    out = []
    for k, v in a.items():
        if v is None:
            continue
        v = PALETTE.get(v, v) if isinstance(v, str) else num(v)
        out.append(f' {k.rstrip("_").replace("_", "-")}="{v}"')
    return "".join(out)


def polar(cx, cy, r, deg):
    """Point at angle deg, clockwise from straight up."""
    a = math.radians(deg)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def spoke(cx, cy, r0, r1, deg):
    """Path of a radial line from radius r0 to r1 at angle deg (a negative radius crosses the centre)."""
    (x0, y0), (x1, y1) = polar(cx, cy, r0, deg), polar(cx, cy, r1, deg)
    return f"M{num(x0)} {num(y0)}L{num(x1)} {num(y1)}"


def arc(cx, cy, r, a0, a1):
    (x0, y0), (x1, y1) = polar(cx, cy, r, a0), polar(cx, cy, r, a1)
    large = 1 if a1 - a0 > 180 else 0
    return f"M{num(x0)} {num(y0)}A{num(r)} {num(r)} 0 {large} 1 {num(x1)} {num(y1)}"


# --------------------------------------------------------------------------- stroke font
# Capitals and figures drawn as centre lines on a 10-unit cap height, stroked with
# round ends: light and narrow like the editor's typeface, and no font needed.
GLYPHS = {
    "A": (6, "M0 10L3 0L6 10M1.1 6.6L4.9 6.6"),
    "B": (
        5.2,
        "M0 10L0 0L2.9 0C4.2 0 5 .9 5 2.4C5 3.9 4.2 4.8 2.9 4.8L0 4.8M2.9 4.8C4.4 4.8 5.2 5.8 5.2 7.4C5.2 9 4.3 10 2.9 10L0 10",
    ),
    "C": (5.6, "M5.6 1.6C5 .6 4.1 0 3.1 0C1.3 0 0 2.2 0 5C0 7.8 1.3 10 3.1 10C4.1 10 5 9.4 5.6 8.4"),
    "D": (5.6, "M0 0L0 10L2.2 10C4.3 10 5.6 8 5.6 5C5.6 2 4.3 0 2.2 0Z"),
    "E": (4.6, "M4.6 0L0 0L0 10L4.6 10M0 4.9L3.9 4.9"),
    "F": (4.4, "M4.4 0L0 0L0 10M0 4.9L3.7 4.9"),
    "G": (
        5.8,
        "M5.6 1.6C5 .6 4.1 0 3.1 0C1.3 0 0 2.2 0 5C0 7.8 1.3 10 3.1 10C4.8 10 5.8 8.7 5.8 6.6L5.8 5.4L3.4 5.4",
    ),
    "H": (5.4, "M0 0L0 10M5.4 0L5.4 10M0 4.9L5.4 4.9"),
    "I": (0, "M0 0L0 10"),
    "K": (5.2, "M0 0L0 10M5.2 0L0 6.3M1.9 4.1L5.4 10"),
    "L": (4.4, "M0 0L0 10L4.4 10"),
    "M": (7, "M0 10L0 0L3.5 7.2L7 0L7 10"),
    "N": (5.4, "M0 10L0 0L5.4 10L5.4 0"),
    "O": (6.2, "M3.1 0C4.9 0 6.2 2.2 6.2 5C6.2 7.8 4.9 10 3.1 10C1.3 10 0 7.8 0 5C0 2.2 1.3 0 3.1 0Z"),
    "P": (5, "M0 10L0 0L2.8 0C4.2 0 5 1.1 5 2.8C5 4.5 4.2 5.6 2.8 5.6L0 5.6"),
    "R": (5.2, "M0 10L0 0L2.8 0C4.2 0 5 1.1 5 2.8C5 4.5 4.2 5.6 2.8 5.6L0 5.6M2.6 5.6L5.2 10"),
    "S": (
        5,
        "M4.7 1.5C4.1 .5 3.3 0 2.4 0C1.1 0 .2 .9 .2 2.4C.2 5.6 5 4.4 5 7.5C5 9 4 10 2.5 10C1.4 10 .5 9.4 0 8.4",
    ),
    "T": (5.4, "M0 0L5.4 0M2.7 0L2.7 10"),
    "U": (5.4, "M0 0L0 7C0 8.9 1.1 10 2.7 10C4.3 10 5.4 8.9 5.4 7L5.4 0"),
    "V": (5.8, "M0 0L2.9 10L5.8 0"),
    "W": (8.4, "M0 0L2.1 10L4.2 2.4L6.3 10L8.4 0"),
    "Y": (5.6, "M0 0L2.8 5.2L5.6 0M2.8 5.2L2.8 10"),
    "0": (5, "M2.5 0C4 0 5 2.2 5 5C5 7.8 4 10 2.5 10C1 10 0 7.8 0 5C0 2.2 1 0 2.5 0Z"),
    "1": (2.6, "M0 2L2.6 0L2.6 10"),
    "2": (5, "M.2 2.2C.6 .8 1.5 0 2.6 0C4 0 4.9 1 4.9 2.6C4.9 4.9 0 7.3 0 10L5 10"),
    "3": (
        4.9,
        "M.3 1.1C.9 .4 1.7 0 2.5 0C3.9 0 4.7 1 4.7 2.5C4.7 4 3.7 4.9 2.1 4.9C3.9 4.9 4.9 5.9 4.9 7.4C4.9 9 3.9 10 2.4 10C1.4 10 .6 9.5 0 8.7",
    ),
    "4": (5.2, "M3.8 10L3.8 0L0 7L5.2 7"),
    "5": (
        4.9,
        "M4.7 0L.7 0L.3 4.6C.9 4.1 1.7 3.8 2.5 3.8C4 3.8 4.9 5 4.9 6.9C4.9 8.8 3.9 10 2.4 10C1.4 10 .5 9.4 0 8.5",
    ),
    "6": (
        5,
        "M4.4 .8C3.8 .3 3.2 0 2.6 0C1 0 0 2.4 0 5.6C0 8.5 1 10 2.5 10C4 10 5 8.8 5 7C5 5.2 4 4.1 2.6 4.1C1.5 4.1 .6 4.7 0 5.8",
    ),
    "7": (4.8, "M0 0L4.8 0L1.5 10"),
    "8": (
        5,
        "M2.5 4.8C1.2 4.8 .3 3.9 .3 2.4C.3 1 1.2 0 2.5 0C3.8 0 4.7 1 4.7 2.4C4.7 3.9 3.8 4.8 2.5 4.8C1 4.8 0 5.9 0 7.4C0 9 1.1 10 2.5 10C3.9 10 5 9 5 7.4C5 5.9 4 4.8 2.5 4.8Z",
    ),
    "9": (
        5,
        "M.6 9.2C1.2 9.7 1.8 10 2.4 10C4 10 5 7.6 5 4.4C5 1.5 4 0 2.5 0C1 0 0 1.2 0 3C0 4.8 1 5.9 2.4 5.9C3.5 5.9 4.4 5.3 5 4.2",
    ),
    "/": (3.4, "M3.4 0L0 10"),
    ".": (0, "M0 9.9L0 10"),
    " ": (2.2, ""),
}
TRACKING = 2.6  # units between glyphs


def text_width(s, cap, tracking=TRACKING):
    units = sum(GLYPHS[c][0] for c in s) + tracking * (len(s) - 1)
    return units * cap / 10


def text_path(s, x, baseline, cap, anchor="middle", tracking=TRACKING):
    """Path data of s with its baseline at `baseline`; x is its centre, start or end."""
    w = text_width(s, cap, tracking)
    x -= {"start": 0, "middle": w / 2, "end": w}[anchor]
    k, out = cap / 10, []
    for c in s:
        width, d = GLYPHS[c]
        tokens = iter(re.findall(r"[MLCZ]|-?\d*\.?\d+", d))
        for tok in tokens:
            if tok in ("M", "L", "C", "Z"):
                out.append(tok)
                continue
            pair = f"{num(x + float(tok) * k)} {num(baseline - cap + float(next(tokens)) * k)}"
            out.append(pair if out[-1] in ("M", "L", "C", "Z") else " " + pair)
        x += (width + tracking) * k
    return "".join(out)


def caption(svg, s, x, baseline, cap, colour, weight, anchor="middle", opacity=1):
    svg.el(
        "path",
        d=text_path(s, x, baseline, cap, anchor),
        fill="none",
        stroke=colour,
        stroke_width=weight,
        stroke_linecap="round",
        stroke_linejoin="round",
        opacity=opacity if opacity != 1 else None,
    )


def engraved(svg, s, x, baseline, cap, weight, anchor="middle"):
    """Text cut into the panel: a dark groove with a faint lit lower lip."""
    caption(svg, s, x, baseline + 0.8, cap, "#ffffff", weight, anchor, 0.05)
    caption(svg, s, x, baseline, cap, "engrave", weight, anchor)


# --------------------------------------------------------------------------- shared parts
def rounded(svg, x, y, w, h, r, **a):
    svg.el("rect", x=x, y=y, width=w, height=h, rx=r, **a)


def raised(svg, x, y, w, h, r, top, bottom, edge, pressed, drop, travel):
    """Shadow, shaded body and lit top edge of a raised part; pressed, it sinks by `travel` and darkens.

    Returns how far the body moved."""
    dy = travel if pressed else 0
    rounded(svg, x, y + (drop - travel if pressed else drop), w, h, r, fill="#000000", opacity=0.55)
    if pressed:
        top, bottom = dark(top, 0.12), dark(bottom, 0.12)
    rounded(svg, x, y + dy, w, h, r, fill=svg.linear([(0, top), (1, bottom)]), stroke=edge, stroke_width=1)
    svg.el(
        "path",
        d=f"M{num(x + r)} {num(y + dy + 1)}H{num(x + w - r)}",
        stroke="#ffffff",
        stroke_opacity=0.08 if pressed else 0.18,
        stroke_width=1,
        stroke_linecap="round",
    )
    return dy


def key(svg, x, y, w, h, top, bottom, pressed, r=4.5):
    """A keycap: a raised body with a dished face."""
    dy = raised(svg, x, y, w, h, r, top, bottom, "ink", pressed, drop=2, travel=1.2)
    if pressed:
        top, bottom = dark(top, 0.12), dark(bottom, 0.12)
    face = svg.linear([(0, dark(top, 0.1)), (1, light(bottom, 0.08))])
    rounded(svg, x + 2.5, y + dy + 2, w - 5, h - 5, r - 1.5, fill=face)


def lamp(svg, cx, cy, colour, r=2.3):
    """A small indicator lamp; colour None is unlit."""
    if colour is None:
        svg.el("circle", cx=cx, cy=cy, r=r + 0.6, fill="#000000", opacity=0.5)
        svg.el(
            "circle", cx=cx, cy=cy, r=r, fill=svg.radial([(0, "#2a2521"), (1, "#141210")], fx=0.4, fy=0.35)
        )
        return
    svg.el(
        "circle",
        cx=cx,
        cy=cy,
        r=r * 3.4,
        fill=svg.radial([(0, colour, 0.55), (0.45, colour, 0.18), (1, colour, 0)]),
    )
    svg.el(
        "circle",
        cx=cx,
        cy=cy,
        r=r,
        fill=svg.radial(
            [(0, light(colour, 0.75)), (0.55, light(colour, 0.2)), (1, colour)], fx=0.42, fy=0.38
        ),
    )


def lit_key(svg, x, bottom, w, colour):
    """The lamp's light caught on the lower edge of the key above it."""
    if colour:
        svg.el(
            "rect",
            x=x + 3,
            y=bottom - 1.6,
            width=w - 6,
            height=1.3,
            fill=svg.linear([(0, colour, 0), (0.5, colour, 0.75), (1, colour, 0)], x2=1, y2=0),
        )


def chevron(svg, cx, cy, size, direction, colour, weight=1.6):
    s = size / 2
    pts = {
        "left": [(s * 0.5, -s), (-s * 0.5, 0), (s * 0.5, s)],
        "right": [(-s * 0.5, -s), (s * 0.5, 0), (-s * 0.5, s)],
        "down": [(-s, -s * 0.5), (0, s * 0.5), (s, -s * 0.5)],
    }[direction]
    d = "M" + "L".join(f"{num(cx + px)} {num(cy + py)}" for px, py in pts)
    svg.el(
        "path",
        d=d,
        fill="none",
        stroke=colour,
        stroke_width=weight,
        stroke_linecap="round",
        stroke_linejoin="round",
    )


def screw(svg, cx, cy, deg):
    svg.el("circle", cx=cx, cy=cy + 0.6, r=3.6, fill="#000000", opacity=0.5)
    svg.el(
        "circle",
        cx=cx,
        cy=cy,
        r=3.2,
        fill=svg.radial([(0, "#5a534b"), (1, "#2b2723")], fx=0.35, fy=0.3),
        stroke="ink",
        stroke_width=0.6,
    )
    svg.el(
        "path",
        d=spoke(cx, cy, -2.3, 2.3, deg),
        stroke="ink",
        stroke_width=0.9,
        stroke_linecap="round",
    )


# --------------------------------------------------------------------------- framework faces
def chaos_toggle(lamp_colour, pressed):
    """48 x 56 grey key with its lamp below; the label sits on the key's upper part."""
    svg = Svg(48, 56)
    key(svg, 2.5, 2.5, 43, 41, "keyTop", "keyBottom", pressed)
    lit_key(svg, 2.5, 2.5 + 41 + (1.2 if pressed else 0), 43, lamp_colour)
    lamp(svg, 24, 50, PALETTE[lamp_colour] if lamp_colour else None)
    return svg


def chaos_yellow(pressed):
    svg = Svg(48, 56)
    key(svg, 2.5, 2.5, 43, 45, light("yellow", 0.12), dark("yellow", 0.16), pressed)
    return svg


def chaos_narrow(lamp_colour, pressed):
    svg = Svg(24, 62)
    key(svg, 2.5, 2.5, 19, 51, "keyTop", "keyBottom", pressed, r=4)
    lit_key(svg, 2.5, 2.5 + 51 + (1.2 if pressed else 0), 19, lamp_colour)
    lamp(svg, 12, 58, PALETTE[lamp_colour] if lamp_colour else None, r=2)
    return svg


def small_arrow(direction, pressed):
    svg = Svg(28, 34)
    key(svg, 2.5, 2.5, 23, 27, light("yellow", 0.12), dark("yellow", 0.16), pressed, r=4)
    dy = 1.2 if pressed else 0
    tip, back = (10.2, 16.8) if direction == "left" else (17.8, 11.2)
    svg.el(
        "path",
        d=f"M{num(tip)} {num(16 + dy)}L{num(back)} {num(11.5 + dy)}L{num(back)} {num(20.5 + dy)}Z",
        fill="yellowInk",
        stroke="yellowInk",
        stroke_width=1,
        stroke_linejoin="round",
    )
    return svg


def wide_face(w, h, top, bottom, edge, pressed, lit=None, r=4):
    """A flat rounded face (modern, retro, settings); `lit` lights it from inside."""
    svg = Svg(w, h)
    raised(svg, 0.5, 0.5, w - 1, h - 2, r, top, bottom, edge, pressed, drop=1, travel=0)
    if lit:  # backlit: a warm wash from below and a glowing inner edge
        rounded(svg, 1.5, 1.5, w - 3, h - 4, r - 1, fill=svg.linear([(0, lit, 0), (1, lit, 0.2)]))
        rounded(
            svg, 1.5, 1.5, w - 3, h - 4, r - 1, fill="none", stroke=lit, stroke_opacity=0.7, stroke_width=1
        )
    return svg


def modern(on, pressed):
    return wide_face(88, 27, "#37322d", "#24211e", "ink", pressed, PALETTE["amber"] if on else None)


def retro(pressed):
    return wide_face(88, 27, "retroTop", "retroBottom", "#5e5343", pressed)


def settings(pressed):
    return wide_face(80, 24, "#37322d", "#24211e", "ink", pressed, r=11.5)


def logo():
    """The maker's mark: a small orrery (ring and planet) and the name."""
    w, h = LOGO
    svg = Svg(w, h)
    svg.el("circle", cx=8, cy=9, r=6, fill="none", stroke="orange", stroke_width=1.6)
    svg.el("circle", cx=8, cy=9, r=2.2, fill="cream")
    px, py = polar(8, 9, 6, 52)
    svg.el("circle", cx=px, cy=py, r=2.3, fill="yellow", stroke="panelBottom", stroke_width=1)
    caption(svg, "KORVANE", 19, 13.5, 9, "cream", 1.5, "start")
    return svg


def framework_images():
    images = {"korvane-logo": logo()}
    for pressed, suffix in ((False, ""), (True, "-down")):
        images["chaos-button-yellow" + suffix] = chaos_yellow(pressed)
        images["chaos-button-grey-off" + suffix] = chaos_toggle(None, pressed)
        for colour in LAMPS:
            images[f"chaos-button-grey-on-{colour}{suffix}"] = chaos_toggle(LAMPS[colour], pressed)
        images["chaos-button-narrow-grey-off" + suffix] = chaos_narrow(None, pressed)
        images["chaos-button-narrow-grey-on-yellow" + suffix] = chaos_narrow("yellow", pressed)
        for direction in ("left", "right"):
            images[f"chaos-button-small-yellow-{direction}{suffix}"] = small_arrow(direction, pressed)
        images["modern-button" + suffix] = modern(False, pressed)
        images["modern-button-on" + suffix] = modern(True, pressed)
        images["retro-button" + suffix] = retro(pressed)
        images["settings-button" + suffix] = settings(pressed)
    return images


# --------------------------------------------------------------------------- dials
def dial_frame(geometry, colour, t, large):
    """One frame of a dial: scale, groove, lit arc to the value t (0...1), turned knob."""
    w, h, cx, cy = geometry["w"], geometry["h"], geometry["cx"], geometry["cy"]
    svg = Svg(w, h)
    angle = -DIAL_SWEEP + 2 * DIAL_SWEEP * t
    r_track, track_w = (30, 3.4) if large else (23, 2.8)
    r_knob = geometry["knob"]
    if large:  # printed scale outside the groove
        for i in range(11):
            a = -DIAL_SWEEP + i * 2 * DIAL_SWEEP / 10
            svg.el(
                "path",
                d=spoke(cx, cy, 33.2, 35.4 if i % 5 == 0 else 34.6, a),
                stroke="muted",
                stroke_width=1,
                stroke_linecap="round",
            )
    groove = arc(cx, cy, r_track, -DIAL_SWEEP, DIAL_SWEEP)
    svg.el(
        "path",
        d=groove,
        fill="none",
        stroke="#ffffff",
        stroke_opacity=0.06,
        stroke_width=track_w + 1.6,
        stroke_linecap="round",
        transform="translate(0 0.6)",
    )
    svg.el("path", d=groove, fill="none", stroke="#0d0c0b", stroke_width=track_w + 1, stroke_linecap="round")
    lit = PALETTE[colour]
    if t > 0:
        d = arc(cx, cy, r_track, -DIAL_SWEEP, angle)
        svg.el(
            "path",
            d=d,
            fill="none",
            stroke=lit,
            stroke_opacity=0.22,
            stroke_width=track_w + 3.5,
            stroke_linecap="round",
        )
        svg.el("path", d=d, fill="none", stroke=lit, stroke_width=track_w - 0.6, stroke_linecap="round")
    hx, hy = polar(cx, cy, r_track, angle)
    svg.el("circle", cx=hx, cy=hy, r=track_w * 1.6, fill=svg.radial([(0, lit, 0.6), (1, lit, 0)]))
    svg.el("circle", cx=hx, cy=hy, r=track_w * 0.62, fill=light(lit, 0.55))
    # knob: shadow, knurled skirt, dished face, pointer
    svg.el(
        "circle",
        cx=cx,
        cy=cy + 2.5,
        r=r_knob + 2,
        fill=svg.radial([(0.7, "#000000", 0.6), (1, "#000000", 0)]),
    )
    svg.el(
        "circle",
        cx=cx,
        cy=cy,
        r=r_knob,
        fill=svg.linear([(0, "#4f4943"), (1, "#1d1a17")]),
        stroke="ink",
        stroke_width=0.8,
    )
    teeth = 40 if large else 30
    knurl = "".join(spoke(cx, cy, r_knob - 2.6, r_knob - 0.5, angle + i * 360 / teeth) for i in range(teeth))
    svg.el("path", d=knurl, stroke="#000000", stroke_opacity=0.28, stroke_width=0.8)
    r_face = r_knob - geometry["skirt"]
    svg.el(
        "circle",
        cx=cx,
        cy=cy,
        r=r_face,
        fill=svg.radial([(0, "#3a3531"), (1, "#211e1b")], fx=0.38, fy=0.3, r=0.6),
        stroke="#000000",
        stroke_opacity=0.5,
        stroke_width=0.6,
    )
    svg.el(
        "path",
        d=arc(cx, cy, r_face - 0.6, -60, 60),
        fill="none",
        stroke="#ffffff",
        stroke_opacity=0.12,
        stroke_width=0.8,
        stroke_linecap="round",
    )
    svg.el(
        "path",
        d=spoke(cx, cy, r_face - 1, r_knob - 0.6, angle),  # a notch across the skirt
        stroke=light(lit, 0.35),
        stroke_width=geometry["pointer"],
        stroke_linecap="round",
    )
    return svg


def dial_strips():
    strips = {}
    for colour_name, (module, prefix, lamp_name) in DIAL_SKINS.items():
        large = colour_name != "grey"
        geometry = LARGE_DIAL if large else CHAOS_DIAL
        strips[module] = {
            f"knobs/{prefix}_{i:02d}": dial_frame(geometry, lamp_name, (i - 1) / (FRAMES - 1), large)
            for i in range(1, FRAMES + 1)
        }
    return strips


# --------------------------------------------------------------------------- extension images
def delay_position(ms):
    """Where the pad puts a delay time: the knob's logarithmic mapping with its midpoint."""
    lo, hi, mid = DELAY_MS
    k = -math.log(2) / math.log(math.log(mid / lo) / math.log(hi / lo))
    return (math.log(ms / lo) / math.log(hi / lo)) ** k


def pad(mode):
    """The pad's screen: feedback lines upwards (runaway zone above 100 %), time across.

    The time scale is printed on the panel under the glass, out of the dot's travel, so
    the image is the glass with a band of SCALE_BAND above (empty) and below it, centred
    on the pad's frame as the glass is."""
    w, h, p, band = PAD["w"], PAD["h"], PAD["inset"], PAD["scale_band"]
    svg = Svg(w, h + 2 * band)
    x_at = lambda t: p + t * (w - 2 * p)
    y_at = lambda fb: p + (1 - fb / FEEDBACK_MAX) * (h - 2 * p)
    scale_baseline = band + h + 11.5  # below the bezel's line around the glass
    svg.items.append(f'<g transform="translate(0 {band})">')
    rounded(svg, 0.5, 0.5, w - 1, h - 1, 6, fill="screen", stroke="ink", stroke_width=1)
    rounded(svg, 1.5, 1.5, w - 3, h - 3, 5, fill=svg.radial([(0, "#1e1b17"), (1, "#0f0e0c")], r=0.75))
    rounded(svg, 1.5, 1.5, w - 3, y_at(100) - 1.5, 5, fill=svg.linear([(0, "red", 0.16), (1, "red", 0.03)]))
    for fb in range(0, 151, 25):
        y = round(y_at(fb)) + 0.5
        strong = fb == 100
        svg.el(
            "path",
            d=f"M{p} {num(y)}H{w - p}",
            stroke="red" if strong else "#ffffff",
            stroke_opacity=0.45 if strong else 0.07,
            stroke_width=1,
            stroke_dasharray="2 3" if strong else None,
        )
    for fb in (0, 50, 100, 150):  # above its line, the top one below
        baseline = round(y_at(fb)) + (8 if fb == FEEDBACK_MAX else -2.5)
        caption(svg, str(fb), w - p - 2, baseline, 5, "muted", 0.9, "end", 0.8)
    scale = []  # (text, x, anchor) printed under the glass
    if mode == "ms":
        for ms in (1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000):
            major = ms in (1, 10, 100, 1000)
            x = round(x_at(delay_position(ms))) + 0.5
            svg.el(
                "path",
                d=f"M{num(x)} {p}V{h - p}",
                stroke="amber",
                stroke_opacity=0.3 if major else 0.1,
                stroke_width=1,
            )
            if major or ms == 5000:
                anchor = "start" if ms == 1 else "end" if ms == 5000 else "middle"
                scale.append((str(ms), x + {"start": -1, "end": 1, "middle": 0}[anchor], anchor))
        caption(svg, "MS", p + 4, p + 9, 6, "amber", 1.1, "start", 0.7)
    else:
        names = ["32", "16", "8", "4", "2"]
        for i in range(15):
            x = round(x_at(i / 14)) + 0.5
            svg.el(  # from under the group captions
                "path",
                d=f"M{num(x)} {p + 12}V{h - p}",
                stroke="amber",
                stroke_opacity=0.3 if i % 5 == 0 else 0.12,
                stroke_width=1,
            )
            scale.append(("1/" + names[i % 5] + ["", ".", "T"][i // 5], x, "middle"))
        for g, name in enumerate(("STRAIGHT", "DOTTED", "TRIPLET")):
            caption(svg, name, x_at((g * 5 + 2) / 14), p + 9, 5, "amber", 1, "middle", 0.6)
    svg.el("path", d=f"M6 1.5H{w - 6}", stroke="#000000", stroke_opacity=0.6, stroke_width=2)  # glass lip
    rounded(
        svg,
        0.5,
        0.5,
        w - 1,
        h - 1,
        6,
        fill="none",
        stroke="#ffffff",
        stroke_opacity=0.05,
        stroke_width=1,
        transform="translate(0 1)",
    )
    svg.items.append("</g>")
    for text, x, anchor in scale:
        caption(svg, text, x, scale_baseline, 5.5, "creamDim", 0.95, anchor, 0.8)
    return svg


def grid_dot(down):
    size = 24 if down else 18
    c = size / 2
    svg = Svg(size, size)
    svg.el(
        "circle",
        cx=c,
        cy=c,
        r=c,
        fill=svg.radial([(0, "amber", 0.75 if down else 0.55), (0.5, "amber", 0.2), (1, "amber", 0)]),
    )
    svg.el(
        "circle",
        cx=c,
        cy=c,
        r=6.2 if down else 4.6,
        fill="none",
        stroke=light("amber", 0.3),
        stroke_width=1.4 if down else 1.2,
    )
    svg.el(
        "circle",
        cx=c,
        cy=c,
        r=3.4 if down else 2.6,
        fill=svg.radial([(0, "#ffffff"), (1, light("amber", 0.4))]),
    )
    return svg


def preset_box():
    w, h = PRESET_BOX
    svg = Svg(w, h)
    rounded(svg, 0.5, 1, w - 1, h - 1.5, 4, fill="#ffffff", opacity=0.05)
    rounded(
        svg,
        0.5,
        0.5,
        w - 1,
        h - 1.5,
        4,
        fill=svg.linear([(0, "#0c0b0a"), (1, "screen")]),
        stroke="ink",
        stroke_width=1,
    )
    svg.el("path", d=f"M4 2H{w - 4}", stroke="#000000", stroke_opacity=0.7, stroke_width=1.5)
    svg.el("path", d=f"M{w - 18.5} 4V{h - 5}", stroke="plateEdge", stroke_width=1)
    chevron(svg, w - 9.5, h / 2 - 0.5, 6, "down", "creamDim", 1.4)
    return svg


def preset_step(direction):
    w, h = PRESET_STEP
    svg = Svg(w, h)
    key(svg, 0.5, 0.5, w - 1, h - 2.5, "keyTop", "keyBottom", False, r=4)
    chevron(svg, w / 2 + (-0.3 if direction == "left" else 0.3), h / 2 - 1.3, 7, direction, "cream", 1.6)
    return svg


def revert_icon():
    """The modified mark after the preset's name: 4 points of air to its left."""
    svg = Svg(18, 14)
    cx = 11
    svg.el(
        "path",
        d=arc(cx, 7, 4.6, -20, 250),
        fill="none",
        stroke="amber",
        stroke_width=1.6,
        stroke_linecap="round",
    )
    x, y = polar(cx, 7, 4.6, -20)
    svg.el(
        "path",
        d=f"M{num(x - 3.6)} {num(y - 1.4)}L{num(x + 0.3)} {num(y + 0.4)}L{num(x - 0.2)} {num(y - 3.8)}",
        fill="none",
        stroke="amber",
        stroke_width=1.6,
        stroke_linecap="round",
        stroke_linejoin="round",
    )
    return svg


def background():
    W, H = CANVAS
    svg = Svg(W, H)
    svg.el("rect", width=W, height=H, fill=svg.linear([(0, "panelTop"), (1, "panelBottom")]))
    svg.el("rect", width=W, height=H, fill=svg.radial([(0.6, "#000000", 0), (1, "#000000", 0.35)], r=0.75))
    # header strip
    svg.el("rect", width=W, height=42, fill="#000000", opacity=0.22)
    svg.el("path", d=f"M0 42.5H{W}", stroke="#000000", stroke_opacity=0.5, stroke_width=1)
    svg.el("path", d=f"M0 43.5H{W}", stroke="#ffffff", stroke_opacity=0.04, stroke_width=1)
    # meter wells and their captions
    for x, name in zip(METER_X, ("IN", "OUT")):
        rounded(
            svg,
            x - 2.5,
            METER_TOP - 3.5,
            16,
            METER_HEIGHT + 7,
            3,
            fill="screen",
            stroke="ink",
            stroke_width=1,
        )
        svg.el(
            "path",
            d=f"M{x - 1} {METER_TOP + METER_HEIGHT + 4.5}H{x + 12}",
            stroke="#ffffff",
            stroke_opacity=0.05,
        )
        engraved(svg, name, x + 5.5, METER_TOP + METER_HEIGHT + 14, 5.5, 1.1)
    # pad bezel
    px, py, pw, ph = PAD["x"], PAD["y"], PAD["w"], PAD["h"]
    rounded(
        svg,
        px - 2.5,
        py - 1.5,
        pw + 5,
        ph + 4,
        8,
        fill="none",
        stroke="#000000",
        stroke_opacity=0.35,
        stroke_width=2,
    )
    # plates for the three control rows
    plates = [(276, 110), (398, 154), (560, 104)]
    for y, h in plates:
        rounded(svg, 10.5, y + 1, W - 21, h, 8, fill="#000000", opacity=0.45)
        rounded(
            svg,
            10.5,
            y + 0.5,
            W - 21,
            h,
            8,
            fill=svg.linear([(0, "#2c2823"), (1, "#221f1b")]),
            stroke="#0f0e0c",
            stroke_width=1,
        )
        svg.el("path", d=f"M18 {y + 1.5}H{W - 18}", stroke="#ffffff", stroke_opacity=0.07)
    # dial wells behind the large dials
    for cx in LARGE_DIAL_CENTRES:
        cy = LARGE_DIAL["top"] + LARGE_DIAL["cy"]
        svg.el("circle", cx=cx, cy=cy, r=37, fill=svg.radial([(0.8, "#000000", 0.25), (1, "#000000", 0)]))
    # section captions over the small dials
    cap_y = CHAOS_DIAL["top"] - 7
    for first, last, name in ((0, 2, "MODULATION"), (3, 3, "STEREO"), (4, 5, "TONE")):
        x0, x1 = CHAOS_DIAL_CENTRES[first] - 26, CHAOS_DIAL_CENTRES[last] + 26
        bracket(svg, x0, x1, cap_y, name)
    # name plate between the small dials and the mode keys
    engraved(svg, "EMBERFALL", W / 2, 531, 11, 1.8)
    engraved(svg, "RECURRENT ANALOGUE DELAY", W / 2, 544, 5, 1)
    # captions of the mode keys are drawn by the editor; the panel draws their rules
    for x0, x1, cw in MODE_GROUPS:
        mid = (x0 + x1) / 2
        for a, b in ((x0, mid - cw / 2 - 6), (mid + cw / 2 + 6, x1)):
            svg.el(
                "path", d=f"M{num(a)} {num(MODE_LABEL_Y + 0.5)}H{num(b)}", stroke="engrave", stroke_width=1
            )
        for x in (x0, x1):
            svg.el(
                "path",
                d=f"M{num(x + 0.5)} {num(MODE_LABEL_Y - 4)}V{num(MODE_LABEL_Y + 0.5)}",
                stroke="engrave",
                stroke_width=1,
            )
    for cx, cy, deg in ((7, 7, 30), (W - 7, 7, 80), (7, H - 7, 120), (W - 7, H - 7, 10)):
        screw(svg, cx, cy, deg)
    return svg


def bracket(svg, x0, x1, y, name):
    """A printed group rule: ticks at both ends and the caption in a gap in the middle."""
    mid, half = (x0 + x1) / 2, text_width(name, 5.5) / 2 + 5
    y += 0.5
    d = f"M{num(x0 + 0.5)} {num(y + 4)}V{num(y)}H{num(mid - half)}M{num(mid + half)} {num(y)}H{num(x1 - 0.5)}V{num(y + 4)}"
    svg.el("path", d=d, fill="none", stroke="engrave", stroke_width=1)
    caption(svg, name, mid, y + 2.75, 5.5, "muted", 1.05)


def extension_images():
    return {
        "background": background(),
        "korvane-logo": logo(),
        "header-preset": preset_box(),
        "header-preset-previous": preset_step("left"),
        "header-preset-next": preset_step("right"),
        "header-preset-revert": revert_icon(),
        "grid-dot": grid_dot(False),
        "grid-dot-down": grid_dot(True),
        "morph-note": pad("note"),
        "morph-ms": pad("ms"),
    }


# --------------------------------------------------------------------------- control library
# The Tideglass controls' art: the same keys, wells and print as the editor, at the
# sizes the library's controls draw them (their cells stretch the middle).
for _percent in (20, 30, 40, 50, 60, 70, 85, 100):
    TIDEGLASS_COLOURS[f"Grey {_percent}%"] = mix("ink", "white", _percent / 100)


def push_face(w, h, pressed, selected, r=4):
    """A push button: the keycap; selected (on), it sits down a little darker inside a lit
    amber rim, so that its title stays readable."""
    svg = Svg(w, h)
    top, bottom = ("keyTop", "keyBottom") if not selected else (dark("keyTop", 0.18), dark("keyBottom", 0.18))
    key(svg, 0.5, 0.5, w - 1, h - 2.5, top, bottom, pressed, r)
    if selected:
        dy = 1.2 if pressed else 0
        rounded(svg, 3, 2.5 + dy, w - 6, h - 7, r - 1.5, fill="amber", opacity=0.07)
        rounded(svg, 3.5, 3 + dy, w - 7, h - 8, r - 1.8, fill="none", stroke="amber", stroke_opacity=0.75, stroke_width=1)
    return svg


def well(w, h, edge=None, r=3):
    """A sunken field: the glass of the preset display with an optional lit rim."""
    svg = Svg(w, h)
    rounded(svg, 0.5, 1, w - 1, h - 1.5, r, fill="#ffffff", opacity=0.05)
    rounded(svg, 0.5, 0.5, w - 1, h - 1.5, r, fill="screen", stroke=edge or "ink", stroke_width=1)
    svg.el(
        "path", d=f"M{num(r + 1)} 1.5H{num(w - r - 1)}", stroke="#000000", stroke_opacity=0.5, stroke_width=1
    )
    return svg


def check_box(state, pressed):
    """16 x 16 box: empty, ticked (on) or with a bar (mixed)."""
    svg = Svg(16, 16)
    # Held down, the box sinks and darkens, so the press shows at a glance at this size.
    top, bottom = ("keyTop", "keyBottom") if not pressed else (dark("keyTop", 0.35), dark("keyBottom", 0.35))
    key(svg, 0.5, 0.5, 15, 14, top, bottom, pressed, 3)
    dy = 1.2 if pressed else 0
    if state == "on":
        svg.el(
            "path",
            d=f"M4.2 {num(7.6 + dy)}L6.8 {num(10.2 + dy)}L11.8 {num(4.6 + dy)}",
            fill="none",
            stroke="cream",
            stroke_width=1.8,
            stroke_linecap="round",
            stroke_linejoin="round",
        )
    elif state == "mixed":
        svg.el(
            "path", d=f"M4.5 {num(7.5 + dy)}H11.5", stroke="cream", stroke_width=1.8, stroke_linecap="round"
        )
    return svg


def checkerboard(cell):
    """Transparency behind colour swatches: two warm greys in squares of `cell`."""
    size = cell * 4
    svg = Svg(size, size)
    svg.el("rect", x=0, y=0, width=size, height=size, fill="muted")
    for row in range(4):
        for col in range(4):
            if (row + col) % 2:
                svg.el("rect", x=col * cell, y=row * cell, width=cell, height=cell, fill="greyDark")
    return svg


def popup_face(w, h, pressed, arrows):
    """A pop-up key with its chevrons at the trailing end: up and down (2), or down (1). They
    lie within the last 13 points, clear of the title, which the cells end 14 points short
    of the right edge; the cells stretch only the middle, so they keep this shape."""
    popup_key = push_face(w, h, pressed, False)
    cx, cy = w - 8.5, (h - 2) / 2 + (1.2 if pressed else 0)
    marks = [(-1.5, -4.5), (1.5, 4.5)] if arrows == 2 else [(-1.8, 1.8)]
    for start, tip in marks:
        popup_key.el(
            "path",
            d=f"M{num(cx - 3)} {num(cy + start)}L{num(cx)} {num(cy + tip)}L{num(cx + 3)} {num(cy + start)}",
            fill="none",
            stroke="creamDim",
            stroke_width=1.4,
            stroke_linecap="round",
            stroke_linejoin="round",
        )
    return popup_key


def combo_face(closed):
    """A combo box's piece of art, 20 x 26 with the field 20 high in the middle: the field's
    well (stretched for the body; the right end while the list is open), or, closed, the
    right end's arrow key with its chevron pointing down to where the list opens."""
    svg = Svg(20, 26)
    # No side edges: the body is this art stretched, and a stretched edge grows thick.
    rounded(svg, 0, 3.5, 20, 19.5, 2, fill="#ffffff", opacity=0.05)
    rounded(svg, 0, 3, 20, 19, 2, fill="screen")
    svg.el("path", d="M1 3.5H19", stroke="ink", stroke_width=1)
    if not closed:
        svg.el("path", d="M1 4.5H19", stroke="#000000", stroke_opacity=0.5, stroke_width=1)
        return svg
    key(svg, 1, 3.5, 18, 17, "keyTop", "keyBottom", False, r=3)
    svg.el(
        "path",
        d="M7 11.2L10 14.2L13 11.2",
        fill="none",
        stroke="creamDim",
        stroke_width=1.4,
        stroke_linecap="round",
        stroke_linejoin="round",
    )
    return svg


def knob(d, pressed, ghost=False):
    """A slider's round knob; the ghost knob shows where other selected values lie."""
    svg = Svg(d, d)
    c = d / 2
    svg.el("circle", cx=c, cy=c + 0.8, r=c - 1, fill="#000000", opacity=0.5)
    # Held, the knob lights up: a bright face inside an amber rim.
    top, bottom = ("creamDim", "greyDark") if not pressed else ("cream", "grey")
    svg.el(
        "circle",
        cx=c,
        cy=c,
        r=c - 1,
        fill=svg.radial([(0, top), (1, bottom)], fx=0.4, fy=0.35),
        stroke="amber" if pressed else "ink",
        stroke_width=1.4 if pressed else 1,
        opacity=0.6 if ghost else None,
    )
    if ghost:
        svg.el("circle", cx=c, cy=c, r=c - 4, fill="none", stroke="cream", stroke_width=1)
    return svg


def bar(w, lit, stretched_to=None):
    """A slider's bar. One drawn stretched along the track is as wide as the knob (the slider's knob
    thickness comes from it); its corners are pre-squeezed so they are round at `stretched_to`."""
    svg = Svg(w, 4)
    if stretched_to:
        svg.el("rect", x=0, y=0, width=w, height=4, rx=2 * w / stretched_to, ry=2, fill="amber" if lit else "ink")
    else:
        rounded(svg, 0, 0, w, 4, 2, fill="amber" if lit else "ink")
    if not lit:
        inset = 3 * w / stretched_to if stretched_to else 2
        svg.el("path", d=f"M{num(inset)} 3.5H{num(w - inset)}", stroke="#ffffff", stroke_opacity=0.07, stroke_width=1)
    return svg


def magnifier(svg, x, y, colour):
    svg.el("circle", cx=x, cy=y, r=3.2, fill="none", stroke=colour, stroke_width=1.3)
    svg.el(
        "path",
        d=f"M{num(x + 2.3)} {num(y + 2.3)}L{num(x + 4.6)} {num(y + 4.6)}",
        stroke=colour,
        stroke_width=1.5,
        stroke_linecap="round",
    )


def search_field(focus):
    # About as wide as a search field is drawn, so the icon is not stretched much. The
    # field's text starts 18 points in: the icon ends 4 points before it, level with the
    # text's middle.
    svg = well(180, 22, "amber" if focus else None, r=10.5)
    magnifier(svg, 8.2, 9.6, "creamDim")
    return svg


def window_tab(pressed, selected):
    """A tab of a properties panel: the lifted tab is lit along its lower edge; held down, it
    sinks darker and its edge glows faintly where the light will come on."""
    svg = Svg(80, 26)
    top = "plate" if selected else ("keyBottom" if pressed else "panelTop")
    face = dark(PALETTE[top], 0.3) if pressed else PALETTE[top]
    svg.el(
        "path",
        d="M0.5 25.5V5.5Q0.5 1.5 4.5 1.5H75.5Q79.5 1.5 79.5 5.5V25.5Z",
        fill=svg.linear([(0, face), (1, dark(face, 0.2))]),
        stroke="plateEdge",
        stroke_width=1,
    )
    if pressed:
        svg.el("path", d="M4.5 2.5H75.5", stroke="#000000", stroke_opacity=0.45, stroke_width=1)
    if selected or pressed:
        svg.el("rect", x=10, y=23, width=60, height=2, rx=1, fill="amber", opacity=0.35 if pressed else None)
    return svg


def corner_tool(pressed, selected):
    svg = Svg(24, 24)
    key(svg, 0.5, 0.5, 23, 21.5, "plate" if not selected else "keyTop", "keyBottom", pressed, 4)
    if selected:
        lamp(svg, 12, 19.5, "amber", 1.2)
    return svg


def more_badge():
    """The tool button's "more" badge: a small cream triangle in the bottom-right corner,
    clear of the tool's own image in the middle (it is drawn over the whole button)."""
    svg = Svg(24, 24)
    svg.el("path", d="M15.5 16.5L21 16.5L18.25 19.8Z", fill="cream", stroke="ink", stroke_width=0.8, stroke_linejoin="round")
    return svg


def tracking_cursor():
    """Drag left or right: a double arrow, cream on an ink outline."""
    svg = Svg(16, 16)
    d = "M1.5 8L5 4.5V6.8H11V4.5L14.5 8L11 11.5V9.2H5V11.5Z"
    svg.el("path", d=d, fill="cream", stroke="ink", stroke_width=1.2, stroke_linejoin="round")
    return svg


def disclose(open_):
    svg = Svg(12, 12)
    d = "M3.5 2.5L8.5 6L3.5 9.5Z" if not open_ else "M2.5 3.5L9.5 3.5L6 8.5Z"
    svg.el("path", d=d, fill="creamDim", stroke="creamDim", stroke_width=0.8, stroke_linejoin="round")
    return svg


def star(filled):
    svg = Svg(14, 14)
    pts = []
    for i in range(10):
        x, y = polar(7, 7.4, 6 if i % 2 == 0 else 2.6, i * 36)
        pts.append(f"{num(x)} {num(y)}")
    svg.el(
        "path",
        d="M" + "L".join(pts) + "Z",
        fill="amber" if filled else "none",
        stroke="amber" if filled else "muted",
        stroke_width=1.1,
        stroke_linejoin="round",
    )
    return svg


def back_button(pressed):
    svg = push_face(28, 22, pressed, False)
    chevron(svg, 13.5, 9.8 + (1.2 if pressed else 0), 8, "left", "cream", 1.6)
    return svg


def small_glyph_button(kind, pressed):
    """16 x 16 borderless table-header buttons: a plus, or three dots for more."""
    svg = Svg(16, 16)
    colour = "creamPressed" if pressed else "cream"
    if pressed:
        rounded(svg, 0.5, 0.5, 15, 15, 3, fill="#000000", opacity=0.35)
    if kind == "add":
        svg.el("path", d="M8 3.5V12.5M3.5 8H12.5", stroke=colour, stroke_width=1.6, stroke_linecap="round")
    else:
        for x in (4, 8, 12):
            svg.el("circle", cx=x, cy=8, r=1.3, fill=colour)
    return svg


def big_logo():
    """The maker's mark at window size: the orrery and the name, 2.5 times the header's."""
    w, h = LOGO
    k = 2.5
    svg = Svg(w * k, h * k)
    svg.el("circle", cx=8 * k, cy=9 * k, r=6 * k, fill="none", stroke="orange", stroke_width=1.6 * k)
    svg.el("circle", cx=8 * k, cy=9 * k, r=2.2 * k, fill="cream")
    px, py = polar(8 * k, 9 * k, 6 * k, 52)
    svg.el("circle", cx=px, cy=py, r=2.3 * k, fill="yellow", stroke="panelBottom", stroke_width=k)
    caption(svg, "KORVANE", 19 * k, 13.5 * k, 9 * k, "cream", 1.5 * k, "start")
    return svg


def tideglass_images():
    images = {}
    for pressed, down in ((False, ""), (True, "-down")):
        images["tgui-checkbox" + down] = check_box(None, pressed)
        images["tgui-checkbox-on" + down] = check_box("on", pressed)
        images["tgui-checkbox-mixed" + down] = check_box("mixed", pressed)
        images["tgui-popup" + down] = popup_face(80, 22, pressed, 2)
        images["tgui-popdown" + down] = popup_face(80, 22, pressed, 1)
        images["tgui-popup-tool" + down] = popup_face(32, 20, pressed, 1)
        images["tgui-slider-handle" + down] = knob(14, pressed)
        images["tgui-customslider-handle" + down] = knob(12, pressed)
        images["tgui-window-tab" + down] = window_tab(pressed, False)
        images["corner-tool-background" + down] = corner_tool(pressed, False)
        images["organiser-navbar-back" + down] = back_button(pressed)
        images["properties-table-add" + down] = small_glyph_button("add", pressed)
        images["properties-tableheader-overflow" + down] = small_glyph_button("more", pressed)
    images.update(
        {
            "tgui-button": push_face(64, 22, False, False),
            "tgui-button-down": push_face(64, 22, True, False),
            "tgui-button-selected": push_face(64, 22, False, True),
            "tgui-checkerboard": checkerboard(4),
            "tgui-checkerboard-small": checkerboard(2),
            "tgui-combobox": combo_face(False),
            "tgui-combobox-up": combo_face(True),
            "tgui-customslider-on": bar(40, True),
            "tgui-searchfield": search_field(False),
            "tgui-searchfield-focus": search_field(True),
            "tgui-slider": bar(14, True, stretched_to=140),
            "tgui-slider-alley": bar(14, False, stretched_to=140),
            "tgui-slider-handle-multi": knob(14, False, ghost=True),
            "tgui-textfield": well(100, 22),
            "tgui-textfield-error": well(100, 22, "red"),
            "tgui-textfield-focus": well(100, 22, "amber"),
            "tgui-textfield-tableheader": well(100, 20, "plateEdge", r=2),
            "tgui-window-tab-selected": window_tab(False, True),
            "corner-tool-background-selected": corner_tool(False, True),
            "corner-tool-more": more_badge(),
            "cursor-trackingslider": tracking_cursor(),
            "organiser-icon-disclose": disclose(False),
            "organiser-icon-disclose-open": disclose(True),
            "organiser-icon-star": star(True),
            "organiser-icon-star-empty": star(False),
            "window-korvane": big_logo(),
        }
    )
    return images


# --------------------------------------------------------------------------- catalogues
def colours_json(table):
    def rgba(name):
        return [round(v, 4) for v in rgb(name)] + [1.0]

    return json.dumps({k: rgba(v) for k, v in sorted(table.items())}, indent=2) + "\n"


def catalogues():
    """Every file the generator owns, as path (from the repository root) -> text."""
    files = {}

    def add(folder, images, colours):
        files[f"{folder}/Assets/colors.json"] = colours_json(colours)
        for name, svg in images.items():
            files[f"{folder}/Assets/{name}.svg"] = svg.text()

    add("OrreryCore", framework_images(), CORE_COLOURS)
    for module, frames in dial_strips().items():
        add(module, frames, {})
    add("extension", extension_images(), EXTENSION_COLOURS)
    add("Tideglass", tideglass_images(), TIDEGLASS_COLOURS)
    return files


def main(argv):
    check = "--check" in argv
    root = argv[argv.index("--root") + 1] if "--root" in argv else ROOT
    files = catalogues()
    stale = []
    for folder in sorted({p.split("/Assets/")[0] for p in files}):
        for base, _, names in os.walk(os.path.join(root, folder, "Assets")):
            for name in names:
                path = os.path.relpath(os.path.join(base, name), root).replace(os.sep, "/")
                if path not in files:  # not ours, or left over from an older generator
                    stale.append(path)
                    if not check:
                        print("not written by the generator (remove it if it is stale):", path)
    for path, text in files.items():
        full = os.path.join(root, path)
        old = open(full, encoding="utf-8").read() if os.path.exists(full) else None
        if old == text:
            continue
        if check:
            stale.append(path)
        else:
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
    if check and stale:
        print("out of date (run tools/artwork/generate.py):", *stale[:20], sep="\n  ")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
