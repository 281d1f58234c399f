#!/usr/bin/python3
"""Draws the program's pictures and writes them under resources/.

    /usr/bin/python3 tools/make_pictures.py                  # writes the resources
    /usr/bin/python3 tools/make_pictures.py --previews DIR   # PNG previews of the written files

Needs Debian's python3-pil and fonts-ipafont-gothic. The results are committed, so building the
program needs no Python.

Written files:
  resources/keyboard_base.bmp     every key released: 1000 x 242, 4 bits per pixel, 16 greys
  resources/keyboard_pressed.bmp  the same drawing with every key face, both mouse buttons and the
                                  wheel red, and the red wheel arrow; 4 bits per pixel, own palette
  resources/app.ico               the program icon: 256, 48, 32 and 16 px, 16 colours each
  resources/keyboard.bmp          the colour-coded sample for the custom pressed picture: every key
                                  face in the colour of the finger that types it, 24 bits per pixel
  resources/keyboard_base_DPI.png, resources/keyboard_pressed_DPI.png
                                  the two pictures drawn anew for displays of DPI 120, 144, 168 and
                                  192 (125 to 200 %): (1000 x 242) times DPI / 96, 4-bit palette PNGs
                                  with the palettes of the BMPs, pressed complete as at 100 %

The key rectangles are read from src/keyboard/key_layout.cpp, so the pictures and the program share
one table. Every key is drawn inside its rectangle: its black outline on the rectangle's edge, the
bevel inside that and the face inside the bevel. At another scale every rectangle edge e becomes
(e * DPI + 48) // 96, the rule by which the program scales the rectangles it lights, and the
outlines, bevels, legends, lamps and mouse are drawn at that scale, not stretched.

--previews writes each picture as an RGB PNG, the 100 % ones also enlarged three times, and the
icon's four sizes side by side.
"""
import argparse
import re
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

ROOT = Path(__file__).resolve().parent.parent
LAYOUT_SOURCE = ROOT / "src" / "keyboard" / "key_layout.cpp"
RESOURCES = ROOT / "resources"
FONT_MONO = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
FONT_PROPORTIONAL = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"

WIDTH, HEIGHT = 1000, 242

# ---------------------------------------------------------------------------------------------
# The layout


def read_layout():
    """The key table (code -> (x, y, w, h)) and the five pointer rectangles of key_layout.cpp."""
    text = LAYOUT_SOURCE.read_text(encoding="utf-8")
    keys = {}
    for m in re.finditer(r"\{0x([0-9A-Fa-f]{2}),\s*\{(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\}\}", text):
        keys[int(m.group(1), 16)] = tuple(int(m.group(i)) for i in range(2, 6))
    start = text.index("kPointerTable")
    body = text[start:text.index(";", start)]
    pointers = [tuple(int(v) for v in m.groups())
                for m in re.finditer(r"\{(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\}", body)]
    if len(keys) != 109 or len(pointers) != 5:
        sys.exit(f"unexpected layout in {LAYOUT_SOURCE}: {len(keys)} keys, {len(pointers)} pointer slots")
    return keys, pointers


# What each key shows. A pair (main, kana) is a character key: the character top left, the kana
# bottom right. A string is a named key; "\n" breaks it into lines.
CHARACTER_KEYS = {
    0x30: ("0", "わ"), 0x31: ("1", "ぬ"), 0x32: ("2", "ふ"), 0x33: ("3", "あ"), 0x34: ("4", "う"),
    0x35: ("5", "え"), 0x36: ("6", "お"), 0x37: ("7", "や"), 0x38: ("8", "ゆ"), 0x39: ("9", "よ"),
    0x41: ("A", "ち"), 0x42: ("B", "こ"), 0x43: ("C", "そ"), 0x44: ("D", "し"), 0x45: ("E", "い"),
    0x46: ("F", "は"), 0x47: ("G", "き"), 0x48: ("H", "く"), 0x49: ("I", "に"), 0x4A: ("J", "ま"),
    0x4B: ("K", "の"), 0x4C: ("L", "り"), 0x4D: ("M", "も"), 0x4E: ("N", "み"), 0x4F: ("O", "ら"),
    0x50: ("P", "せ"), 0x51: ("Q", "た"), 0x52: ("R", "す"), 0x53: ("S", "と"), 0x54: ("T", "か"),
    0x55: ("U", "な"), 0x56: ("V", "ひ"), 0x57: ("W", "て"), 0x58: ("X", "さ"), 0x59: ("Y", "ん"),
    0x5A: ("Z", "つ"),
    0xBA: (":", "け"), 0xBB: (";", "れ"), 0xBC: (",", "ね"), 0xBD: ("-", "ほ"), 0xBE: (".", "る"),
    0xBF: ("/", "め"), 0xC0: ("@", "゛"), 0xDB: ("[", "゜"), 0xDC: ("¥", "ー"), 0xDD: ("]", "む"),
    0xDE: ("^", "へ"), 0xE2: ("\\", "ろ"),
}

NAMED_KEYS = {
    0x08: "Back\nspace", 0x09: "Tab", 0x0D: "Enter", 0x13: "Pause", 0x14: "CapsLk\n英数",
    0x1B: "Esc", 0x1C: "変換", 0x1D: "無変換", 0x20: "", 0x21: "Page\nUp", 0x22: "Page\nDown",
    0x23: "End", 0x24: "Home", 0x2C: "Print\nScr.", 0x2D: "Insert", 0x2E: "Delete",
    0x5B: "Win.", 0x5C: "Win.", 0x5D: "App.",
    0x90: "Num\nLock", 0x91: "Scroll\nLock",
    0xA0: "Shift", 0xA1: "Shift", 0xA2: "Ctrl", 0xA3: "Ctrl", 0xA4: "Alt", 0xA5: "Alt",
    0xF2: "カタカナ\nひらがな", 0xF4: "半角/\n全角",
}
for _i in range(12):
    NAMED_KEYS[0x70 + _i] = f"F{_i + 1}"

ARROW_KEYS = {0x25: "←", 0x26: "↑", 0x27: "→", 0x28: "↓"}

# Keypad keys: the digit or sign large, the navigation meaning small below it.
KEYPAD_KEYS = {
    0x60: ("0", "Ins"), 0x61: ("1", "End"), 0x62: ("2", "↓"), 0x63: ("3", "PgDn"),
    0x64: ("4", "←"), 0x65: ("5", ""), 0x66: ("6", "→"), 0x67: ("7", "Home"), 0x68: ("8", "↑"),
    0x69: ("9", "PgUp"), 0x6A: ("*", ""), 0x6B: ("+", ""), 0x6D: ("-", ""), 0x6E: (".", "Del"),
    0x6F: ("/", ""),
}

# The keypad Enter below the keypad +: drawn in both pictures, but no code lights it.
KEYPAD_ENTER = (858, 165, 38, 77)
# The main Enter is an L: the full-width upper part one row high, the narrower lower part beside
# the ] key. Its rectangle's notch shows the right edge of that key.
ENTER_UPPER_HEIGHT = 38
ENTER_LOWER_LEFT = 551

# Keys whose face is the lighter tone: the ones that type a character.
LIGHT_FACE = set(CHARACTER_KEYS) | {0x20}

# ---------------------------------------------------------------------------------------------
# Touch typing: which finger types which key (for the colour-coded sample).

FINGERS = {
    "left little": [0xF4, 0x31, 0x51, 0x41, 0x5A, 0x09, 0x14, 0xA0, 0xA2],
    "left ring": [0x32, 0x57, 0x53, 0x58],
    "left middle": [0x33, 0x45, 0x44, 0x43],
    "left index": [0x34, 0x35, 0x52, 0x54, 0x46, 0x47, 0x56, 0x42],
    "right index": [0x36, 0x37, 0x59, 0x55, 0x48, 0x4A, 0x4E, 0x4D,
                    0x90, 0x67, 0x64, 0x61],
    "right middle": [0x38, 0x49, 0x4B, 0xBC, 0x6F, 0x68, 0x65, 0x62],
    "right ring": [0x39, 0x4F, 0x4C, 0xBE, 0x6A, 0x69, 0x66, 0x63, 0x6E],
    "right little": [0x30, 0xBD, 0xDE, 0xDC, 0x08, 0x50, 0xC0, 0xDB, 0x0D, 0xBB, 0xBA, 0xDD,
                     0xBF, 0xE2, 0xA1, 0xA3, 0x6D, 0x6B, "keypad enter"],
    "thumb": [0x20, 0x1D, 0x1C, 0xF2, 0x60],
}

FINGER_COLOURS = {
    "left little": (255, 150, 200),
    "left ring": (255, 190, 110),
    "left middle": (250, 240, 110),
    "left index": (160, 230, 120),
    "right index": (110, 225, 215),
    "right middle": (130, 185, 255),
    "right ring": (195, 160, 255),
    "right little": (245, 145, 245),
    "thumb": (205, 205, 175),
}
# Keys that no finger of the home position owns (function row, navigation, arrows, Alt, Win.)
# light as in the pressed picture.
OTHER_KEYS_COLOUR = (255, 0, 0)


def finger_of(code):
    for finger, codes in FINGERS.items():
        if code in codes:
            return finger
    return None


# ---------------------------------------------------------------------------------------------
# Palettes and themes

BASE_PALETTE = [(17 * i, 17 * i, 17 * i) for i in range(16)]
PRESSED_PALETTE = [(0, 0, 0), (192, 192, 192), (192, 220, 192), (32, 32, 64), (64, 64, 64),
                   (96, 96, 64), (96, 96, 128), (128, 128, 128), (160, 160, 164), (255, 0, 0),
                   (255, 255, 255)] + [(0, 0, 0)] * 5
RED = (255, 0, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def grey(i):
    return BASE_PALETTE[i]


class Theme:
    """The colours of one picture. Each is an exact palette colour of that picture."""

    def __init__(self, name, **colours):
        self.name = name
        self.__dict__.update(colours)

    def face(self, code):
        return self.face_of(code)


BASE = Theme(
    "base",
    case=grey(4), outline=BLACK, legend=BLACK, background=WHITE,
    skirt_top=grey(12), skirt_left=grey(10), skirt_right=grey(8), skirt_bottom=grey(7),
    face_of=lambda code: WHITE if code in LIGHT_FACE else grey(14),
    mouse_body=WHITE, mouse_shade=grey(11), button=grey(14), wheel=grey(10), wheel_ridge=grey(7),
    slot=grey(4), arrow=None, led=grey(2), led_label=WHITE,
    blend_palette=BASE_PALETTE, ink_boost=1.0,
)

PRESSED = Theme(
    "pressed",
    case=PRESSED_PALETTE[4], outline=BLACK, legend=BLACK, background=WHITE,
    skirt_top=PRESSED_PALETTE[1], skirt_left=PRESSED_PALETTE[8], skirt_right=PRESSED_PALETTE[7],
    skirt_bottom=PRESSED_PALETTE[7],
    face_of=lambda code: RED,
    mouse_body=WHITE, mouse_shade=PRESSED_PALETTE[1], button=RED, wheel=RED, wheel_ridge=BLACK,
    slot=PRESSED_PALETTE[4], arrow=RED, led=BLACK, led_label=WHITE,
    # Anti-aliased legends on red blend into these only, never into the greenish entry.
    blend_palette=[BLACK, PRESSED_PALETTE[4], PRESSED_PALETTE[7], RED, WHITE], ink_boost=1.8,
)


def sample_face(code):
    finger = finger_of(code)
    return FINGER_COLOURS[finger] if finger else OTHER_KEYS_COLOUR


SAMPLE = Theme(
    "sample",
    case=grey(4), outline=BLACK, legend=BLACK, background=WHITE,
    skirt_top=grey(12), skirt_left=grey(10), skirt_right=grey(8), skirt_bottom=grey(7),
    face_of=sample_face,
    mouse_body=WHITE, mouse_shade=grey(11), button=RED, wheel=RED, wheel_ridge=BLACK,
    slot=grey(4), arrow=RED, led=grey(2), led_label=WHITE,
    blend_palette=None, ink_boost=1.0,
)

# ---------------------------------------------------------------------------------------------
# Scale


class Scale:
    """Maps the 96-dpi drawing to a display's dpi. An edge e goes to (e * dpi + 48) // 96, e * dpi / 96
    rounded half up; a rectangle is scaled by its edges, so that neighbouring keys still tile and the
    program, which scales the key rectangles by the same rule, lights exactly the key drawn there.
    Lengths that are not edges (bevels, font sizes, offsets) are rounded the same way."""

    def __init__(self, dpi):
        self.dpi = dpi
        # Outlines, dividers and the wheel's ridges: 1 px at 100 %, 2 px from 150 %.
        self.line = self.length(1)

    def edge(self, e):
        return (e * self.dpi + 48) // 96

    length = edge

    def rect(self, rect):
        x, y, w, h = rect
        return (self.edge(x), self.edge(y),
                self.edge(x + w) - self.edge(x), self.edge(y + h) - self.edge(y))

    def first(self, p):
        """The first column of what 96-dpi column p covers."""
        return self.edge(p)

    def last(self, p):
        """The last column of what 96-dpi column p covers."""
        return self.edge(p + 1) - 1

    def centre(self, p):
        """The column under the centre of 96-dpi column p (the left one of two)."""
        return (2 * p + 1) * self.dpi // 192


UNSCALED = Scale(96)
DPIS = (120, 144, 168, 192)

# ---------------------------------------------------------------------------------------------
# Drawing

_fonts = {}


def font(size, proportional=False):
    key = (size, proportional)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_PROPORTIONAL if proportional else FONT_MONO, size)
    return _fonts[key]


class Canvas:
    """An RGB picture at one scale with anti-aliased text whose blends snap to the theme's palette."""

    def __init__(self, theme, scale):
        self.theme = theme
        self.scale = scale
        self.width, self.height = scale.edge(WIDTH), scale.edge(HEIGHT)
        self.image = Image.new("RGB", (self.width, self.height), theme.case)
        self.px = self.image.load()

    def put(self, x, y, colour):
        self.px[x, y] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills columns x0..x1, rows y0..y1 (inclusive)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.px[x, y] = colour

    def snap(self, colour):
        palette = self.theme.blend_palette
        if palette is None:
            return colour
        return min(palette, key=lambda p: sum((a - b) ** 2 for a, b in zip(p, colour)))

    def text(self, x, baseline, string, size, colour, proportional=False, clip=None):
        """Draws string from (x, baseline) on its baseline; clip = (x0, y0, x1, y1) inclusive."""
        f = font(size, proportional)
        # The fonts draw U+005C as the yen sign; a real backslash is the slash mirrored.
        mirrored = string == "\\"
        if mirrored:
            string = "/"
        left, top, right, bottom = f.getbbox(string, anchor="ls")
        mask = Image.new("L", (right - left, bottom - top), 0)
        ImageDraw.Draw(mask).text((-left, -top), string, font=f, fill=255, anchor="ls")
        if mirrored:
            mask = mask.transpose(Image.FLIP_LEFT_RIGHT)
        m = mask.load()
        for my in range(mask.height):
            for mx in range(mask.width):
                a = m[mx, my]
                if not a:
                    continue
                px, py = x + left + mx, baseline + top + my
                if clip and not (clip[0] <= px <= clip[2] and clip[1] <= py <= clip[3]):
                    continue
                under = self.px[px, py]
                # With few colours to blend into, faint edges are strengthened so that thin
                # strokes do not break up.
                a = min(255, a * self.theme.ink_boost)
                mixed = tuple(round(u + (c - u) * a / 255) for u, c in zip(under, colour))
                self.px[px, py] = self.snap(mixed)


def ink(string, size, proportional=False):
    """The ink box (left, top, right, bottom) of string drawn from the origin on its baseline."""
    return font(size, proportional).getbbox("/" if string == "\\" else string, anchor="ls")


def row_ink(string, size, proportional=False):
    """The strongest coverage (0..255) of each row of string's ink, from its top."""
    left, top, right, bottom = ink(string, size, proportional)
    mask = Image.new("L", (right - left, bottom - top), 0)
    ImageDraw.Draw(mask).text((-left, -top), "/" if string == "\\" else string,
                              font=font(size, proportional), fill=255, anchor="ls")
    return [max(mask.crop((0, y, mask.width, y + 1)).getdata()) for y in range(mask.height)]


def ink_width(string, size, proportional=False):
    left, _, right, _ = ink(string, size, proportional)
    return right - left


# At 100 %, legend sizes in pixels: characters, kana, named keys, arrows; the smallest a named
# key's legend may shrink to.
MAIN_SIZE, KANA_SIZE, SMALL_SIZE, ARROW_SIZE, LEAST_SIZE = 15, 13, 11, 18, 8

# At 100 %, bevel widths inside the outline: the face starts this many pixels in from the outline.
SKIRT_LEFT, SKIRT_RIGHT, SKIRT_TOP, SKIRT_BOTTOM = 4, 4, 3, 7


def skirts(scale):
    return tuple(scale.length(v) for v in (SKIRT_LEFT, SKIRT_RIGHT, SKIRT_TOP, SKIRT_BOTTOM))


def shape_mask(rects):
    """The union of rectangles (x, y, w, h) as a set of pixels."""
    return {(xx, yy) for x, y, w, h in rects for yy in range(y, y + h) for xx in range(x, x + w)}


def runs(pixels, step):
    """For each pixel, how many pixels of the shape follow it in direction step without a gap."""
    dx, dy = step
    count = {}
    # Visit pixels from the far end of the direction back, so that each one's follower is known.
    for (x, y) in sorted(pixels, key=lambda p: -(p[0] * dx + p[1] * dy)):
        ahead = (x + dx, y + dy)
        count[(x, y)] = count[ahead] + 1 if ahead in pixels else 0
    return count


def draw_keycap(canvas, rects, face_colour):
    """Draws one key of any rectilinear shape (rectangles already scaled): outline, four bevels,
    face. Returns the face of its first rectangle (x0, y0, x1, y1), where the legend goes."""
    t = canvas.theme
    line = canvas.scale.line
    skirt_left, skirt_right, skirt_top, skirt_bottom = skirts(canvas.scale)
    pixels = shape_mask(rects)
    # Steps to the outline in each direction (the outline itself is 0).
    left, right, up, down = (runs(pixels, step) for step in ((-1, 0), (1, 0), (0, -1), (0, 1)))
    for p in pixels:
        x, y = p
        dl, dr, du, dd = left[p], right[p], up[p], down[p]
        # An inner corner (the Enter key's notch) is also near the outside diagonally.
        near_corner = len(rects) > 1 and any(
            (x + ox, y + oy) not in pixels for ox in range(-line, line + 1) for oy in range(-line, line + 1))
        if min(dl, dr, du, dd) < line or near_corner:
            colour = t.outline
        elif dl >= skirt_left and dr >= skirt_right and du >= skirt_top and dd >= skirt_bottom:
            colour = face_colour
        else:
            # The bevel whose edge is relatively nearest: the corners meet on diagonals.
            side = min((dl / skirt_left, 0), (dr / skirt_right, 1), (du / skirt_top, 2),
                       (dd / skirt_bottom, 3))[1]
            colour = (t.skirt_left, t.skirt_right, t.skirt_top, t.skirt_bottom)[side]
        canvas.put(x, y, colour)
    return face_bounds(rects, canvas.scale)


def face_bounds(rects, scale):
    """The face of the rectangle that carries the legend (the first one)."""
    skirt_left, skirt_right, skirt_top, skirt_bottom = skirts(scale)
    x, y, w, h = rects[0]
    return (x + skirt_left, y + skirt_top, x + w - 1 - skirt_right, y + h - 1 - skirt_bottom)


def legend_lines(canvas, face, lines, size, proportional=True):
    """Lines of text, each centred on the face, the block centred vertically."""
    x0, y0, x1, y1 = face
    gap = canvas.scale.length(2)
    # Every line gets the height of a capital and a kana, so that lines of one key sit evenly
    # whatever their letters.
    _, ref_top, _, ref_bottom = ink("Hあ", size, proportional)
    line_height = ref_bottom - ref_top
    total = line_height * len(lines) + gap * (len(lines) - 1)
    top = y0 + (y1 - y0 + 1 - total + 1) // 2
    for i, line in enumerate(lines):
        if not line:
            continue
        left, _, right, _ = ink(line, size, proportional)
        x = x0 + (x1 - x0 + 1 - (right - left)) // 2 - left
        baseline = top + i * (line_height + gap) - ref_top
        canvas.text(x, baseline, line, size, canvas.theme.legend, proportional, clip=face)


def legend_corner(canvas, face, main, reference):
    """The character or keypad sign in the face's top left corner, its top where reference's is."""
    s = canvas.scale
    x0, y0, _, _ = face
    size = s.length(MAIN_SIZE)
    _, cap_top, _, _ = ink(reference, size)
    left, top, _, _ = ink(main, size)
    baseline = y0 + s.length(1) - cap_top
    # A glyph taller than the reference ([, /) may rise above the face, where it is cut off: it is
    # lowered until no clearly visible ink would be lost.
    overhang = y0 - (baseline + top)
    strong = [i for i, alpha in enumerate(row_ink(main, size)[:max(0, overhang)]) if alpha >= 64]
    if strong:
        baseline += strong[-1] + 1
    canvas.text(x0 + s.length(2) - left, baseline, main, size, canvas.theme.legend, clip=face)


def legend_character(canvas, face, main, kana):
    """The character top left, its kana bottom right, as printed on JIS keys."""
    s = canvas.scale
    _, _, x1, y1 = face
    legend_corner(canvas, face, main, "A")
    # The voicing marks are small glyphs: they are printed larger to read as well as the kana.
    size = s.length(KANA_SIZE + 5 if kana in "゛゜" else KANA_SIZE)
    left, _, right, _ = ink(kana, size)
    _, _, _, kana_bottom = ink("あ", size)
    canvas.text(x1 - s.length(1) - right, y1 - kana_bottom, kana, size, canvas.theme.legend, clip=face)


def legend_keypad(canvas, face, main, sub):
    """The keypad's digit or sign top left, its navigation meaning small bottom right."""
    s = canvas.scale
    x0, _, x1, y1 = face
    legend_corner(canvas, face, main, "0")
    if sub:
        size = s.length(SMALL_SIZE)
        while size > s.length(LEAST_SIZE) and ink_width(sub, size, True) > x1 - x0 - s.length(2):
            size -= 1
        left, _, right, _ = ink(sub, size, True)
        _, _, _, bottom = ink("Hg", size, True)
        canvas.text(x1 - s.length(1) - right, y1 - bottom, sub, size, canvas.theme.legend, True, clip=face)


def legend_named(canvas, face, label):
    s = canvas.scale
    lines = label.split("\n")
    width = face[2] - face[0] + 1
    size = s.length(SMALL_SIZE)
    # Shrink until every line fits the face.
    while size > s.length(LEAST_SIZE) and any(
            ink_width(line, size, True) > width - s.length(2) for line in lines if line):
        size -= 1
    legend_lines(canvas, face, lines, size)


def legend_arrow(canvas, face, arrow):
    legend_lines(canvas, face, [arrow], canvas.scale.length(ARROW_SIZE), proportional=False)


def key_shape(code, rect, scale):
    """The scaled rectangles of one key: the main Enter is an L of two, every other key one."""
    if code != 0x0D:
        return [scale.rect(rect)]
    x, y, w, h = rect
    return [scale.rect((x, y, w, ENTER_UPPER_HEIGHT)),
            scale.rect((ENTER_LOWER_LEFT, y, x + w - ENTER_LOWER_LEFT, h))]


def draw_keys(canvas, keys):
    t = canvas.theme
    drawn = set()
    for code, rect in sorted(keys.items()):
        if rect in drawn:  # CapsLk has two codes
            continue
        drawn.add(rect)
        face = draw_keycap(canvas, key_shape(code, rect, canvas.scale), t.face(code))
        if code in CHARACTER_KEYS:
            legend_character(canvas, face, *CHARACTER_KEYS[code])
        elif code in KEYPAD_KEYS:
            legend_keypad(canvas, face, *KEYPAD_KEYS[code])
        elif code in ARROW_KEYS:
            legend_arrow(canvas, face, ARROW_KEYS[code])
        elif code == 0x0D:
            legend_named(canvas, face, "Enter")
        else:
            legend_named(canvas, face, NAMED_KEYS[code])
    face = draw_keycap(canvas, [canvas.scale.rect(KEYPAD_ENTER)], t.face("keypad enter"))
    legend_named(canvas, face, "Enter")


def draw_leds(canvas):
    """The three lock lamps above the keypad (no key lights them): at 100 %, discs around column
    763 + 53 i, row 12 with a ring of the outline colour."""
    t = canvas.theme
    s = canvas.scale
    size = s.length(SMALL_SIZE - 1)
    for i, label in enumerate(("Num", "Caps", "Scroll")):
        cx, cy = 763 + i * 53, 12
        for y in range(s.first(9), s.last(15) + 1):
            for x in range(s.first(cx - 4), s.last(cx + 4) + 1):
                # Squared distance of the pixel's centre from the lamp's centre, in 100 % pixels,
                # times (2 dpi)^2 to stay in integers.
                d = (((2 * x + 1) * 96 - (2 * cx + 1) * s.dpi) ** 2 +
                     ((2 * y + 1) * 96 - (2 * cy + 1) * s.dpi) ** 2)
                unit = (2 * s.dpi) ** 2
                if d <= 12 * unit:
                    canvas.put(x, y, t.led)
                elif d <= 20 * unit:
                    canvas.put(x, y, t.outline)
        left, _, right, _ = ink(label, size, True)
        canvas.text(s.centre(cx) - (right - left) // 2 - left, s.edge(30), label, size, t.led_label, True)


class Mouse:
    """The mouse's geometry at one scale, from the pointer rectangles: the left button, the wheel and
    the right button side by side above the separator, the outline just outside them, the arrow's
    two halves below the wheel. The body is drawn on white from TOP to BOTTOM (100 % rows).
    Ranges are inclusive (first, last)."""

    TOP, BOTTOM = 5, 136

    def __init__(self, pointers, scale):
        left, right, middle, up, down = pointers
        if (middle[0] != left[0] + left[2] or right[0] != middle[0] + middle[2]
                or (up[0], up[2]) != (down[0], down[2]) or down[1] != up[1] + up[3]):
            sys.exit(f"unexpected mouse rectangles in {LAYOUT_SOURCE}: {pointers}")
        s = scale
        line = s.line
        self.body = (s.edge(left[0]) - line, s.first(Mouse.TOP),
                     s.edge(right[0] + right[2]) + line - 1, s.last(Mouse.BOTTOM))
        separator = s.edge(left[1] + left[3])
        self.separator = (separator - line, separator - 1)
        self.left_divider = (s.edge(middle[0]), s.edge(middle[0]) + line - 1)
        self.right_divider = (s.edge(middle[0] + middle[2]) - line, s.edge(middle[0] + middle[2]) - 1)
        self.wheel = (s.first(middle[0] + 2), s.first(14), s.last(middle[0] + middle[2] - 3), s.last(41))
        # The wheel's ridges start every 4 rows at 100 %.
        self.ridges = {s.first(row) + i for row in range(18, 41, 4) for i in range(line)}
        cable = middle[0] + middle[2] // 2
        self.cable = (s.first(cable - 1), s.last(cable))
        self.arrow = (s.edge(up[0]), s.edge(up[1]), s.edge(up[0] + up[2]) - 1, s.edge(down[1] + down[3]) - 1)


def draw_mouse(canvas, mouse):
    t = canvas.theme
    s = canvas.scale
    line = s.line
    width, height = canvas.width, canvas.height
    canvas.fill(s.edge(898), 0, width - 1, height - 1, t.background)
    mask = Image.new("1", (width, height), 0)
    # A rounded body: the buttons fill its upper part.
    ImageDraw.Draw(mask).rounded_rectangle(mouse.body, radius=s.length(34), fill=1)
    m = mask.load()

    def inside(x, y):
        return 0 <= x < width and 0 <= y < height and m[x, y]

    near = range(-line, line + 1)
    shade_steps = (0, s.length(2), s.length(3))
    separator_top, separator_bottom = mouse.separator
    x0, y0, x1, y1 = mouse.body
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if not m[x, y]:
                continue
            edge = not all(inside(x + ox, y + oy) for ox in near for oy in near)
            on_divider = any(a <= x <= b for a, b in (mouse.left_divider, mouse.right_divider))
            if edge or separator_top <= y <= separator_bottom or (y < separator_top and on_divider):
                colour = t.outline
            elif y < separator_top:
                between = mouse.left_divider[1] < x < mouse.right_divider[0]
                colour = t.slot if between else t.button
            else:
                # A shade along the body's right and bottom edges.
                shade = not all(inside(x + ox, y + oy) for ox in shade_steps for oy in shade_steps)
                colour = t.mouse_shade if shade else t.mouse_body
            canvas.put(x, y, colour)
    # The wheel: a rounded bar with ridges.
    x0, y0, x1, y1 = mouse.wheel
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            on_side = x < x0 + line or x > x1 - line
            on_end = y < y0 + line or y > y1 - line
            if on_side and on_end:
                continue
            if on_side or on_end:
                canvas.put(x, y, t.outline)
            elif y in mouse.ridges:
                canvas.put(x, y, t.wheel_ridge)
            else:
                canvas.put(x, y, t.wheel)
    # The cable leaves the mouse's top into the picture's edge.
    for y in range(0, mouse.body[1]):
        for x in range(mouse.cable[0], mouse.cable[1] + 1):
            canvas.put(x, y, t.outline)
    if t.arrow:
        draw_arrow(canvas, mouse.arrow)


def draw_arrow(canvas, box):
    """A vertical double arrow in box (x0, y0, x1, y1): head up in the upper half, head down in
    the lower half."""
    t = canvas.theme
    s = canvas.scale
    line = s.line
    x0, y0, x1, y1 = box
    cx = (x0 + x1) // 2
    shaft = s.length(3)  # half width of the shaft
    head = s.length(11)  # height of each head
    img = Image.new("L", (canvas.width, canvas.height), 0)
    d = ImageDraw.Draw(img)
    top, bottom = y0 + line, y1 - line
    polygon = [(cx, top), (x1 - line, top + head), (cx + shaft, top + head),
               (cx + shaft, bottom - head), (x1 - line, bottom - head), (cx, bottom),
               (x0 + line, bottom - head), (cx - shaft, bottom - head), (cx - shaft, top + head),
               (x0 + line, top + head)]
    d.polygon(polygon, fill=255, outline=128, width=line)
    p = img.load()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            # The right half mirrors the left, so that the arrow is symmetric in a box of even width.
            value = p[min(x, x0 + x1 - x), y]
            if value == 255:
                canvas.put(x, y, t.arrow)
            elif value == 128:
                canvas.put(x, y, t.outline)


def render(theme, keys, pointers, scale=UNSCALED):
    canvas = Canvas(theme, scale)
    draw_keys(canvas, keys)
    draw_leds(canvas)
    draw_mouse(canvas, Mouse(pointers, scale))
    return canvas.image


# ---------------------------------------------------------------------------------------------
# Files


def to_indices(image, palette):
    lookup = {colour: i for i, colour in reversed(list(enumerate(palette)))}
    px = image.load()
    rows = []
    for y in range(image.height):
        row = []
        for x in range(image.width):
            colour = px[x, y]
            if colour not in lookup:
                sys.exit(f"colour {colour} at ({x}, {y}) is not in the palette")
            row.append(lookup[colour])
        rows.append(row)
    return rows


def bmp_4bpp(rows, palette):
    """A BMP file: file header, BITMAPINFOHEADER, 16-entry palette, rows bottom-up."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 4 + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        packed = bytearray(stride)
        for x in range(0, width, 2):
            packed[x // 2] = (row[x] << 4) | (row[x + 1] if x + 1 < width else 0)
        data += packed
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + colours + bytes(data)


def bmp_24bpp(image):
    width, height = image.size
    stride = (width * 3 + 3) // 4 * 4
    px = image.load()
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + bytes(data)


def png_4bpp(rows, palette):
    """A PNG file of 4-bit palette indices with the given 16-entry palette (plain PNG that the
    Windows Imaging Component reads): of no filter or the Up filter on every row and two zlib
    strategies, the smallest result."""
    width, height = len(rows[0]), len(rows)
    lines = []
    for row in rows:
        packed = bytearray((width + 1) // 2)
        for x in range(0, width, 2):
            packed[x // 2] = (row[x] << 4) | (row[x + 1] if x + 1 < width else 0)
        lines.append(bytes(packed))
    unfiltered = b"".join(b"\0" + line for line in lines)
    up = b"".join(b"\2" + bytes((a - b) & 255 for a, b in zip(line, above))
                  for line, above in zip(lines, [bytes(len(lines[0]))] + lines))
    candidates = []
    for data in (unfiltered, up):
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED):
            z = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
            candidates.append(z.compress(data) + z.flush())
    idat = min(candidates, key=len)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0)
    colours = b"".join(bytes(colour) for colour in palette)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", colours)
            + chunk(b"IDAT", idat) + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------------------------
# The icon: a small keyboard with one red key, in the 16 standard colours.

VGA_PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
               (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
ICON_SIZES = (256, 48, 32, 16)
TRANSPARENT = None


# Per size: key pitch, key size, keys per row, outline width.
ICON_GEOMETRY = {16: (3, 2, 4, 1), 32: (4, 3, 7, 1), 48: (5, 4, 9, 1), 256: (24, 20, 10, 4)}


def icon_image(size):
    """The keyboard glyph for one size: a grey body, three staggered rows of white keys and a
    space bar, one key red. A list of rows of colours, None where transparent."""
    black, dark, silver, white, red = (VGA_PALETTE[i] for i in (0, 8, 7, 15, 9))
    grid = [[TRANSPARENT] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(size, y1 + 1)):
            for x in range(max(0, x0), min(size, x1 + 1)):
                grid[y][x] = colour

    pitch, key, columns, line = ICON_GEOMETRY[size]
    gap = pitch - key
    rows = 3 if size > 16 else 2
    pad = max(gap, size // 24)
    keys_width = columns * pitch - gap
    body_top_height = rows * pitch + (key if size > 16 else key // 2 + 1)
    body_height = body_top_height + 2 * (line + pad) - gap
    top = (size - body_height) // 2
    bottom = top + body_height - 1
    rect(0, top, size - 1, bottom, black)
    if size >= 256:
        # Rounded corners.
        for corner_y, step in ((top, 1), (bottom, -1)):
            for i in range(line * 2):
                for x in range(line * 2 - i):
                    grid[corner_y + step * i][x] = TRANSPARENT
                    grid[corner_y + step * i][size - 1 - x] = TRANSPARENT
    rect(line, top + line, size - 1 - line, bottom - line, silver)
    if size >= 48:
        shadow = max(1, size // 40)
        rect(line, bottom - line - shadow + 1, size - 1 - line, bottom - line, dark)
    left = (size - keys_width) // 2
    y = top + line + pad
    red_key = (0, columns // 2) if size == 16 else (1, columns // 2)

    def keycap(x0, y0, x1, y1, colour):
        if size == 16:
            rect(x0, y0, x1, y1, colour)
        elif size < 256:
            rect(x0, y0, x1, y1, dark)
            rect(x0, y0, x1 - 1, y1 - 1, colour)
        else:
            rect(x0, y0, x1, y1, black)
            rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, dark)
            rect(x0 + 2, y0 + 2, x1 - 4, y1 - 5, silver if colour == white else colour)
            rect(x0 + 4, y0 + 3, x1 - 5, y1 - 6, colour)

    for row in range(rows):
        # Rows are staggered as on a real keyboard; a staggered row has one key less.
        shift = (pitch // 2) * (row % 2) if size > 16 else 0
        count = columns - (1 if shift else 0)
        for c in range(count):
            x = left + shift + c * pitch
            keycap(x, y, x + key - 1, y + key - 1, red if (row, c) == red_key else white)
        y += pitch
    if size == 16:
        rect(left + pitch, y, left + keys_width - 1 - pitch, y, white)
    else:
        space_height = key if size >= 256 else key - 1
        keycap(left + 2 * pitch, y, left + keys_width - 1 - 2 * pitch, y + space_height - 1, white)
    return grid


def ico_file(images):
    entries = b""
    blobs = []
    offset = 6 + 16 * len(images)
    for grid in images:
        s = len(grid)
        xor_stride = (s * 4 + 31) // 32 * 4
        and_stride = (s + 31) // 32 * 4
        xor = bytearray()
        mask = bytearray()
        for row in reversed(grid):
            packed = bytearray(xor_stride)
            bits = bytearray(and_stride)
            for x, colour in enumerate(row):
                index = 0 if colour is TRANSPARENT else VGA_PALETTE.index(colour)
                packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
                if colour is TRANSPARENT:
                    bits[x // 8] |= 0x80 >> (x % 8)
            xor += packed
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
        colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA_PALETTE)
        blob = info + colours + bytes(xor) + bytes(mask)
        entries += struct.pack("<BBBBHHII", s % 256, s % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + b"".join(blobs)


# ---------------------------------------------------------------------------------------------


def write_resources():
    keys, pointers = read_layout()
    base = render(BASE, keys, pointers)
    pressed = render(PRESSED, keys, pointers)
    sample = render(SAMPLE, keys, pointers)
    (RESOURCES / "keyboard_base.bmp").write_bytes(bmp_4bpp(to_indices(base, BASE_PALETTE), BASE_PALETTE))
    (RESOURCES / "keyboard_pressed.bmp").write_bytes(
        bmp_4bpp(to_indices(pressed, PRESSED_PALETTE), PRESSED_PALETTE))
    (RESOURCES / "keyboard.bmp").write_bytes(bmp_24bpp(sample))
    (RESOURCES / "app.ico").write_bytes(ico_file([icon_image(s) for s in ICON_SIZES]))
    for dpi in DPIS:
        scale = Scale(dpi)
        for theme, palette in ((BASE, BASE_PALETTE), (PRESSED, PRESSED_PALETTE)):
            image = render(theme, keys, pointers, scale)
            path = RESOURCES / f"keyboard_{theme.name}_{dpi}.png"
            path.write_bytes(png_4bpp(to_indices(image, palette), palette))
            print(f"{path.name}: {image.width} x {image.height}, {path.stat().st_size} bytes")


def write_previews(directory):
    """PNG copies of the written files, and the pictures enlarged three times for a close look."""
    directory.mkdir(parents=True, exist_ok=True)
    for name in ("keyboard_base", "keyboard_pressed", "keyboard"):
        image = Image.open(RESOURCES / f"{name}.bmp").convert("RGB")
        image.save(directory / f"{name}.png")
        image.resize((image.width * 3, image.height * 3), Image.NEAREST).save(directory / f"{name}_x3.png")
    for dpi in DPIS:
        for name in (f"keyboard_base_{dpi}", f"keyboard_pressed_{dpi}"):
            Image.open(RESOURCES / f"{name}.png").convert("RGB").save(directory / f"{name}.png")
    icons = Image.new("RGB", (256 + 48 + 32 + 16 + 50 + 16 * 8, 256), (255, 255, 255))
    data = (RESOURCES / "app.ico").read_bytes()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    x = 0
    for i in range(count):
        w, h, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        image = decode_icon_image(data[offset:offset + size])
        icons.paste(image, (x, 0))
        x += image.width + 10
        if image.width == 16:
            icons.paste(image.resize((128, 128), Image.NEAREST), (x, 0))
    icons.save(directory / "app_icon.png")
    print(f"previews written to {directory}")


def decode_icon_image(blob):
    size, width, height2, _, bits = struct.unpack_from("<IiiHH", blob, 0)
    height = height2 // 2
    palette = [struct.unpack_from("<BBBB", blob, size + 4 * i)[2::-1] for i in range(16)]
    xor_stride = (width * bits + 31) // 32 * 4
    and_stride = (width + 31) // 32 * 4
    xor_at = size + 64
    and_at = xor_at + xor_stride * height
    image = Image.new("RGB", (width, height), (255, 255, 255))
    px = image.load()
    for row in range(height):
        y = height - 1 - row
        for x in range(width):
            byte = blob[xor_at + row * xor_stride + x // 2]
            index = (byte >> 4) if x % 2 == 0 else (byte & 15)
            transparent = blob[and_at + row * and_stride + x // 8] & (0x80 >> (x % 8))
            # Transparent pixels shown on a light checker so that the shape is visible.
            px[x, y] = ((230, 230, 255) if (x // 4 + y // 4) % 2 else (255, 255, 255)) if transparent \
                else tuple(palette[index])
    return image


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--previews", type=Path, help="write PNG previews of the resources here")
    args = parser.parse_args()
    if args.previews:
        write_previews(args.previews)
    else:
        write_resources()


if __name__ == "__main__":
    main()
