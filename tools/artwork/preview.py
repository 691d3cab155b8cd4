#!/usr/bin/python3
"""Renders the artwork to PNG for a person to look at (needs rsvg-convert).

    /usr/bin/python3 tools/artwork/preview.py [--out DIR] [--update-sheet]

Writes into DIR (default build/artwork-preview): every asset at scale 1 and 2
under png/, a contact sheet of the faces, the extension's images and a few
frames of every dial strip, and two mock-ups of the whole editor (delay in
milliseconds and in note values) composed from the assets at the places where
the editor lays them out, with the texts the editor draws over them.
--update-sheet also refreshes tools/artwork/contact-sheet.png (needs ImageMagick).
"""
import os
import re
import subprocess
import sys

import generate as art


def embed(text, x, y, prefix):
    """An asset's SVG as a nested document at (x, y), its gradient ids made unique."""
    text = re.sub(r'id="(g\d+)"', rf'id="{prefix}\1"', text)
    text = re.sub(r"url\(#(g\d+)\)", rf"url(#{prefix}\1)", text)
    return text.replace(
        '<svg xmlns="http://www.w3.org/2000/svg"', f'<svg x="{art.num(x)}" y="{art.num(y)}"', 1
    )


class Sheet:
    def __init__(self, files):
        self.files, self.parts, self.count = files, [], 0

    def image(self, path, x, y):
        self.count += 1
        self.parts.append(embed(self.files[path], x, y, f"a{self.count}_"))

    def text(self, s, x, centre_y, size, colour, weight=400, anchor="middle", opacity=1, family="Dosis"):
        fill = art.PALETTE.get(colour, colour)
        self.parts.append(
            f'<text x="{art.num(x)}" y="{art.num(centre_y + 0.36 * size)}" font-family="{family}" font-weight="{weight}"'
            f' font-size="{art.num(size)}" fill="{fill}" fill-opacity="{art.num(opacity)}"'
            f' text-anchor="{anchor}">{s}</text>'
        )

    def rect(self, x, y, w, h, colour):
        self.parts.append(
            f'<rect x="{art.num(x)}" y="{art.num(y)}" width="{art.num(w)}" height="{art.num(h)}" fill="{colour}"/>'
        )

    def svg(self, w, h, background=None):
        bg = f'<rect width="{w}" height="{h}" fill="{background}"/>' if background else ""
        return (
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">'
            + bg
            + "\n".join(self.parts)
            + "</svg>\n"
        )


def colour(folder, name):
    table = art.CORE_COLOURS if folder == "OrreryCore" else art.EXTENSION_COLOURS
    return art.PALETTE[table[name]]


def meter(sheet, x, y, width, value, hold):
    """The meter view's rule: lit below the level, a hold mark above it, top four in the limit colour."""
    n = 42
    lit, held = int(value / 100 * n), int(hold / 100 * n)
    for i in range(n):
        r = n - 1 - i
        on = r < lit or (held >= 1 and r == held - 1 and r >= lit)
        name = "meterUnfilled" if not on else "meterLimit" if r >= n - 4 else "meterFilled"
        sheet.rect(x, y + i * 4, width, 2, colour("extension", name))


def frame_for(t):
    return min(art.FRAMES, max(1, int(t * (art.FRAMES - 1) + 1.5)))


def mockup(files, note_mode):
    s = Sheet(files)
    ext = "extension/Assets/"
    s.image(ext + "background.svg", 0, 0)
    hy = art.HEADER["y"]
    x = art.HEADER["left"]
    s.image(ext + "korvane-logo.svg", x, hy + (art.HEADER["height"] - art.LOGO[1]) / 2 + 1)
    x += art.LOGO[0] + art.HEADER["spacing"] * 2 + art.HEADER["gap"]
    s.image(ext + "header-preset.svg", x, hy)
    title = "DEEP SPACE" if note_mode else "DEFAULT"
    s.text(title, x + 4, hy + 11, 13, colour("OrreryCore", "pluginBlue"), 300, "start")
    s.image(ext + "header-preset-revert.svg", x + 8 + len(title) * 6.6, hy + 4)
    x += art.PRESET_BOX[0] + art.HEADER["spacing"]
    s.image(ext + "header-preset-previous.svg", x, hy)
    s.image(ext + "header-preset-next.svg", x + art.PRESET_STEP[0] + art.HEADER["spacing"], hy)
    s.text(
        "1.0.0",
        art.CANVAS[0] - art.HEADER["right"],
        hy + 11,
        13,
        colour("OrreryCore", "pluginBlue"),
        300,
        "end",
        0.7,
    )
    for mx, (level, hold) in zip(art.METER_X, ((62, 78), (55, 97))):
        meter(s, mx, art.METER_TOP, 5, level, hold)
        meter(s, mx + 6, art.METER_TOP, 5, level - 4, hold - 3)
    pad = art.PAD
    s.image(ext + ("morph-note.svg" if note_mode else "morph-ms.svg"), pad["x"], pad["y"] - pad["scale_band"])
    nx = 7 / 14 if note_mode else art.delay_position(375)
    ny = 0.45 / 1.5
    dot = 24 if note_mode else 18
    s.image(
        ext + ("grid-dot-down.svg" if note_mode else "grid-dot.svg"),
        pad["x"] + pad["inset"] + nx * (pad["w"] - 2 * pad["inset"]) - dot / 2,
        pad["y"] + pad["inset"] + (1 - ny) * (pad["h"] - 2 * pad["inset"]) - dot / 2,
    )
    values = colour("extension", "values")
    large = [
        ("blue", "DELAY NOTE", "1/8.", nx) if note_mode else ("blue", "DELAY MS", "375.0 MS", nx),
        ("blue", "FEEDBACK", "45 %", 0.3),
        ("yellow", "SPREAD", "-4.50 MS", 0.41),
        ("orange", "DIRT", "35 %", 0.675),
        ("red", "MIX", "30 %", 0.3),
    ]
    for cx, (skin, name, value, t) in zip(art.LARGE_DIAL_CENTRES, large):
        module, prefix, _ = art.DIAL_SKINS[skin]
        s.image(f"{module}/Assets/knobs/{prefix}_{frame_for(t):02d}.svg", cx - 36, art.LARGE_DIAL["top"])
        s.text(name, cx, 293, 14, values, 500)
        s.text(value, cx, 330, 14, values, 500)
    small = [
        ("RATE", "0.80 Hz", 0.48),
        ("DEPTH", "2.5 MS", 0.025),
        ("SHAPE", "SIN", 1 / 3),
        ("WIDTH", "100.0 %", 0.75),
        ("LOW CUT", "80 Hz", 0.2),
        ("HIGH CUT", "8000 Hz", 0.87),
    ]
    for cx, (name, value, t) in zip(art.CHAOS_DIAL_CENTRES, small):
        s.image(
            f"OrreryChaosDial/Assets/knobs/chaos-dial-grey_{frame_for(t):02d}.svg",
            cx - 28,
            art.CHAOS_DIAL["top"],
        )
        s.text(name, cx, 428, 14, colour("OrreryCore", "pluginGrey"), 500)
        s.text(value, cx, 465, 14, values, 500)
    selected = {0 if note_mode else 1, 2 if note_mode else 4}
    for i, (bx, label) in enumerate(zip(art.MODE_BUTTON_X, ("NOTE", "MS", "BBD 1", "BBD 2", "PT 1", "PT 2"))):
        face = "chaos-button-grey-on-yellow" if i in selected else "chaos-button-grey-off"
        s.image(f"OrreryCore/Assets/{face}.svg", bx, art.MODE_ROW_Y)
        s.text(label, bx + 24, art.MODE_ROW_Y + 22, 13, colour("OrreryCore", "chaosToggleText"), 500)
    for (x0, x1, _), label in zip(art.MODE_GROUPS, ("DELAY", "MODE")):
        s.text(label, (x0 + x1) / 2, art.MODE_LABEL_Y, 14, values, 300)
    return s.svg(*art.CANVAS)


def framework_in_use(s, y):
    """The framework's header strip and faces with the labels and colours its views put on them."""
    core = "OrreryCore/Assets/"
    c = lambda name: colour("OrreryCore", name)
    s.rect(12, y, 420, 46, c("background"))
    s.image(core + "korvane-logo.svg", 20, y + 14)
    s.text("CHORUS", 190, y + 24, 16, c("tabUnselected"), 700, family="League Spartan")
    s.text("DELAY", 262, y + 24, 16, c("tabSelected"), 700, family="League Spartan")
    s.rect(322, y + 15, 120, 17, c("updateBackground"))
    s.text("1.2.0 AVAILABLE", 382, y + 25, 13, c("background"), 700, family="League Spartan")
    y += 58
    s.image(core + "chaos-button-yellow.svg", 12, y)
    s.text("TAP", 36, y + 24, 13, c("ChaosYellowText"), 500)
    for i, (face, label, text_colour) in enumerate(
        (
            ("chaos-button-grey-off", "SYNC", "chaosToggleText"),
            ("chaos-button-grey-on-red", "HOLD", "chaosToggleText"),
            ("chaos-button-grey-on-blue-down", "WIDE", "chaosToggleTextPressed"),
        )
    ):
        s.image(core + face + ".svg", 72 + i * 60, y)
        s.text(label, 96 + i * 60, y + 22, 13, c(text_colour), 500)
    s.image(core + "chaos-button-narrow-grey-on-yellow.svg", 252, y - 3)
    s.text("L", 264, y + 26, 13, c("chaosToggleText"), 500)
    s.image(core + "chaos-button-small-yellow-left.svg", 288, y + 11)
    s.image(core + "chaos-button-small-yellow-right-down.svg", 320, y + 11)
    y += 70
    for i, (face, label, text_colour) in enumerate(
        (
            ("modern-button", "STEREO", "buttonText"),
            ("modern-button-on", "STEREO", "pluginYellow"),
            ("retro-button", "RETRO", "background"),
            ("settings-button", "SETTINGS", "buttonText"),
        )
    ):
        s.image(core + face + ".svg", 12 + i * 100, y)
        s.text(
            label,
            12 + i * 100 + (40 if "settings" in face else 44),
            y + 13.5 + 2,
            13,
            c(text_colour),
            700,
            family="League Spartan",
        )
    stretched = s.files[core + "modern-button-on.svg"].replace(
        'width="88"', 'width="180" preserveAspectRatio="none"', 1
    )
    s.parts.append(embed(stretched, 420, y, "stretched_"))
    s.text("FEEDBACK INVERT", 510, y + 15.5, 13, c("pluginYellow"), 700, family="League Spartan")
    return y + 40


def contact_sheet(files):
    s = Sheet(files)
    names = [
        p for p in files if p.endswith(".svg") and "/knobs/" not in p and not p.endswith("background.svg")
    ]
    for module, prefix, _ in art.DIAL_SKINS.values():
        names += [f"{module}/Assets/knobs/{prefix}_{i:02d}.svg" for i in (1, 13, 26, 38, 51)]
    x, y, row_h, width = 12, framework_in_use(s, 12), 0, 620
    for path in names:
        w, h = (float(v) for v in re.search(r'width="([\d.]+)" height="([\d.]+)"', files[path]).groups())
        cell = max(w, 2.9 * len(path.split("/Assets/")[1]) - 10) + 12
        if x + cell > width:
            x, y, row_h = 12, y + row_h + 22, 0
        s.image(path, x, y)
        label = path.split("/Assets/")[1][:-4].replace("knobs/chaos-dial-", "")
        s.text(label, x, y + h + 8, 6, "creamDim", 400, "start")
        x += cell
        row_h = max(row_h, h)
    return s.svg(width, int(y + row_h + 24), art.PALETTE["panelBottom"])


def render(svg_path, png_path, zoom):
    os.makedirs(os.path.dirname(png_path), exist_ok=True)
    subprocess.run(["rsvg-convert", "-z", str(zoom), "-o", png_path, svg_path], check=True)


def main(argv):
    out = (
        argv[argv.index("--out") + 1]
        if "--out" in argv
        else os.path.join(art.ROOT, "build", "artwork-preview")
    )
    files = {p: open(os.path.join(art.ROOT, p), encoding="utf-8").read() for p in art.catalogues()}
    for path in files:
        if path.endswith(".svg"):
            for zoom in (1, 2):
                render(
                    os.path.join(art.ROOT, path), os.path.join(out, "png", f"{path[:-4]}@{zoom}x.png"), zoom
                )
    sheets = {
        "contact-sheet": contact_sheet(files),
        "mockup-ms": mockup(files, False),
        "mockup-note": mockup(files, True),
    }
    for name, text in sheets.items():
        svg_path = os.path.join(out, name + ".svg")
        with open(svg_path, "w", encoding="utf-8") as f:
            f.write(text)
        for zoom in (1, 2):
            render(svg_path, os.path.join(out, f"{name}@{zoom}x.png"), zoom)
    if "--update-sheet" in argv:  # the small copy kept beside the generator, in 256 colours
        sheet = os.path.join(os.path.dirname(os.path.abspath(__file__)), "contact-sheet.png")
        subprocess.run(
            ["convert", os.path.join(out, "contact-sheet@1x.png"), "-colors", "255", "PNG8:" + sheet],
            check=True,
        )
    print("preview in", out)


if __name__ == "__main__":
    main(sys.argv[1:])
