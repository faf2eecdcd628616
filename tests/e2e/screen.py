#!/usr/bin/env python3
"""Screen reading for the end-to-end test: pixels of X screenshots (xwd), and a player that finds
the snake and the item on the screen by the sprite atlas and steers toward the item with xdotool.

  screen.py has FILE R,G,B X0 Y0 X1 Y1           exit 0 when the colour occurs in the rectangle
  screen.py rows FILE R,G,B X0 X1 Y0 STEP COUNT  prints how many 16-pixel row bands hold the colour
  screen.py differ FILE1 FILE2 X0 Y0 X1 Y1       exit 0 when the two pictures differ in the rectangle
  screen.py wait DISPLAY SECONDS OUT R,G,B X0 Y0 X1 Y1 [R,G,B X0 Y0 X1 Y1]...
                                                 waits until every colour shows, each in its rectangle,
                                                 in one shot; the last shot goes to OUT
  screen.py shot DISPLAY OUT                     the screen as an xwd dump of 32-bit pixels
  screen.py head FILE ICONS                      prints the head's cell and heading, or exits 1
  screen.py play DISPLAY ICONS PICKUPS SECONDS   steers the snake until it has eaten PICKUPS items
  screen.py settle DISPLAY SECONDS OUT           waits until two shots in a row are the same and not
                                                 all black; the last shot goes to OUT
  screen.py blocks FILE REFERENCE                exit 0 when FILE is REFERENCE (800 x 600) enlarged
                                                 by a whole factor, each pixel an exact block
  screen.py fitted FILE REFERENCE                exit 0 when FILE shows REFERENCE as large as fits,
                                                 centred, black around it, its flat areas in their colours
  screen.py scores FILE NAME                     exit 0 when FILE is a score file as the game writes it
                                                 after one game of 2 or more by NAME on default scores:
                                                 that record, 199 defaults, "0" and an empty line, CR LF

Rectangles are inclusive pixel coordinates of the 800 x 600 screen.
"""
import os
import re
import struct
import subprocess
import sys
import time

FIELD_LEFT, FIELD_TOP, CELL = 23, 105, 16
COLUMNS, ROWS = 47, 29
HEADINGS = ("Up", "Right", "Down", "Left")  # atlas cells 0, 16, 32, 48 of the top row
OPPOSITE = {"Up": "Down", "Down": "Up", "Left": "Right", "Right": "Left"}
STEP = {"Up": (0, -1), "Down": (0, 1), "Left": (-1, 0), "Right": (1, 0)}


class Picture:
    """An RGB picture, three bytes a pixel, rows top first."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.rgb[at:at + 3])

    def row(self, x, y, width):
        at = (y * self.width + x) * 3
        return bytes(self.rgb[at:at + width * 3])

    def has(self, colour, x0, y0, x1, y1):
        wanted = bytes(colour)
        for y in range(max(0, y0), min(self.height - 1, y1) + 1):
            line = self.row(max(0, x0), y, min(self.width - 1, x1) - max(0, x0) + 1)
            for i in range(0, len(line), 3):
                if line[i:i + 3] == wanted:
                    return True
        return False

    def cell(self, x, y, width=CELL, height=CELL):
        return tuple(self.row(x, y + r, width) for r in range(height))


def parse_xwd(data):
    """The pixels of an xwd dump of a TrueColor screen with 8-bit channels."""
    fields = struct.unpack(">25I", data[:100])
    header_size, _, _, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14:17]
    colour_count = fields[19]
    pixels = data[header_size + colour_count * 12:]
    if bits_per_pixel != 32:  # exit code 2: neither "has" nor "has not"
        print("xwd: only 32-bit pixels are read, not %d" % bits_per_pixel, file=sys.stderr)
        sys.exit(2)
    shifts = [mask.bit_length() - 8 for mask in (red_mask, green_mask, blue_mask)]
    # The byte that holds each channel, in the order the pixel's bytes lie in the file.
    offsets = [(s // 8) if byte_order == 0 else 3 - (s // 8) for s in shifts]
    rgb = bytearray(width * height * 3)
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * 4]
        out = y * width * 3
        for channel, offset in enumerate(offsets):
            rgb[out + channel:out + width * 3:3] = line[offset::4]
    return Picture(width, height, rgb)


def read_xwd(path):
    return parse_xwd(open(path, "rb").read())


def grab(display, out=None):
    # While Wine takes the screen, a dump may fail or come out in another pixel layout for a moment.
    for _ in range(20):
        data = subprocess.run(["xwd", "-root", "-silent", "-display", display], stdout=subprocess.PIPE).stdout
        if len(data) >= 100 and struct.unpack_from(">I", data, 44)[0] == 32:
            break
        time.sleep(0.1)
    if out:
        with open(out, "wb") as f:
            f.write(data)
    return parse_xwd(data)


def read_bmp24(path):
    """An uncompressed 24-bit Windows bitmap."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise SystemExit("%s: only 24-bit bitmaps are read, not %d" % (path, bits))
    stride = (width * 3 + 3) // 4 * 4
    rgb = bytearray(width * abs(height) * 3)
    for y in range(abs(height)):
        source = y if height < 0 else abs(height) - 1 - y
        line = data[offset + source * stride:offset + source * stride + width * 3]
        out = y * width * 3
        rgb[out:out + width * 3:3] = line[2::3]
        rgb[out + 1:out + width * 3:3] = line[1::3]
        rgb[out + 2:out + width * 3:3] = line[0::3]
    return Picture(width, abs(height), rgb)


class Sprites:
    def __init__(self, atlas_path):
        atlas = read_bmp24(atlas_path)
        self.kinds = {atlas.cell(16 * i, 0): heading for i, heading in enumerate(HEADINGS)}
        self.kinds[atlas.cell(64, 0)] = "body"
        self.kinds[atlas.cell(80, 0)] = "item"
        self.first_rows = {sprite[0] for sprite in self.kinds}  # a quick look before the whole cell

    def scan(self, picture):
        """The head (cell and heading), the body cells and the item cells on the playfield."""
        head, body, items = None, set(), []
        for cy in range(ROWS):
            for cx in range(COLUMNS):
                x, y = FIELD_LEFT + CELL * cx, FIELD_TOP + CELL * cy
                if picture.row(x, y, CELL) not in self.first_rows:
                    continue
                kind = self.kinds.get(picture.cell(x, y))
                if kind == "body":
                    body.add((cx, cy))
                elif kind == "item":
                    items.append((cx, cy))
                elif kind:
                    head = (cx, cy, kind)
        return head, body, items


def colour_arg(text):
    return tuple(int(part) for part in text.split(","))


def choose(head, body, target):
    """The heading that brings the head nearer the target without dying on the next step."""
    hx, hy, heading = head
    options = []
    if target is not None:
        dx, dy = target[0] - hx, target[1] - hy
        closer = [d for d, ok in (("Right", dx > 0), ("Left", dx < 0), ("Down", dy > 0), ("Up", dy < 0)) if ok]
        # Keep going while the heading still closes in; otherwise the axis with further to go first.
        closer.sort(key=lambda d: (d != heading, -abs(dx if d in ("Left", "Right") else dy)))
        options += closer
    options += [heading] + [d for d in ("Up", "Left", "Down", "Right") if d != heading]
    for direction in options:
        if direction == OPPOSITE[heading]:
            continue
        nx, ny = hx + STEP[direction][0], hy + STEP[direction][1]
        if 0 <= nx < COLUMNS and 0 <= ny < ROWS and (nx, ny) not in body:
            return direction
    return heading


def play(display, atlas_path, pickups_wanted, seconds):
    sprites = Sprites(atlas_path)
    deadline = time.monotonic() + seconds
    pickups, headings_seen = 0, set()
    last_head, last_items, turned_at = None, [], None
    while time.monotonic() < deadline:
        head, body, items = sprites.scan(grab(display))
        if head is None:
            time.sleep(0.01)
            continue
        headings_seen.add(head[2])
        moved = last_head is None or head[:2] != last_head[:2]
        if moved and head[:2] in last_items:
            # An item shows from the moment it is placed, so a head arriving on its cell eats it.
            pickups += 1
            print("pickup %d at (%d, %d)" % (pickups, head[0], head[1]), flush=True)
            if pickups >= pickups_wanted:
                print("headings seen: %s" % " ".join(sorted(headings_seen)), flush=True)
                return 0
        last_items = items
        last_head = head
        # Decide once per step, right after the head moved, so the key lands well before the next step.
        if not moved or turned_at == head[:2]:
            continue
        target = min(items, key=lambda c: abs(c[0] - head[0]) + abs(c[1] - head[1])) if items else None
        direction = choose(head, body, target)
        if direction != head[2]:
            subprocess.run(["xdotool", "key", direction], check=True, env=dict(os.environ, DISPLAY=display))
            turned_at = head[:2]
            print("turn %s at (%d, %d)" % (direction, head[0], head[1]), flush=True)
    print("gave up after %d pickups; headings seen: %s" % (pickups, " ".join(sorted(headings_seen))), flush=True)
    return 1


def blocks(shot, reference):
    factor = shot.width // reference.width
    if factor < 1 or shot.width != factor * reference.width or shot.height != factor * reference.height:
        print("    %dx%d is not a whole multiple of %dx%d" % (shot.width, shot.height, reference.width, reference.height))
        return 1
    wrong = 0
    for y in range(reference.height):
        line = reference.row(0, y, reference.width)
        wanted = b"".join(line[i:i + 3] * factor for i in range(0, len(line), 3))
        for r in range(factor):
            got = shot.row(0, y * factor + r, shot.width)
            if got != wanted:
                wrong += sum(1 for i in range(0, len(got), 3) if got[i:i + 3] != wanted[i:i + 3])
    print("    %d of %d screen pixels differ from their %dx%d block" % (wrong, shot.width * shot.height, factor, factor))
    return 0 if wrong == 0 else 1


def fitted(shot, reference):
    # As large as fits with its shape kept, centred.
    scale = min(shot.width / reference.width, shot.height / reference.height)
    w, h = round(reference.width * scale), round(reference.height * scale)
    x0, y0 = (shot.width - w) // 2, (shot.height - h) // 2
    black = bytes(3)
    lit = 0
    for y in range(shot.height):
        line = shot.row(0, y, shot.width)
        inside = y0 <= y < y0 + h
        outside = line if not inside else line[:x0 * 3] + line[(x0 + w) * 3:]
        lit += sum(1 for i in range(0, len(outside), 3) if outside[i:i + 3] != black)
    # A picture pixel whose eight neighbours share its colour lies in a flat area: the screen pixel
    # at the centre of its place keeps that colour exactly.
    checked = wrong = 0
    for y in range(1, reference.height - 1):
        above, here, below = (reference.row(0, y + d, reference.width) for d in (-1, 0, 1))
        for x in range(1, reference.width - 1):
            colour = here[x * 3:x * 3 + 3]
            run = colour * 3
            if here[x * 3 - 3:x * 3 + 6] != run or above[x * 3 - 3:x * 3 + 6] != run or below[x * 3 - 3:x * 3 + 6] != run:
                continue
            checked += 1
            if shot.pixel(x0 + int((x + 0.5) * scale), y0 + int((y + 0.5) * scale)) != tuple(colour):
                wrong += 1
    print("    picture at x %d..%d, y %d..%d; %d lit pixels around it; %d of %d flat-area pixels changed colour"
          % (x0, x0 + w - 1, y0, y0 + h - 1, lit, wrong, checked))
    return 0 if lit == 0 and wrong == 0 and checked > reference.width * reference.height // 4 else 1


def score_file_problems(path, name):
    data = open(path, "rb").read()
    lines = data.split(b"\r\n")
    problems = []
    if not data.endswith(b"\r\n0\r\n\r\n") or len(lines) != 203:
        problems.append("%d CR LF lines, not 202 ending with 0 and an empty line" % (len(lines) - 1))
    if b"\n" in b"".join(lines) or b"\r" in b"".join(lines):
        problems.append("a line ends without CR LF")
    top = re.fullmatch(rb"([0-9]+) " + name.encode(), lines[0])
    if not top or int(top.group(1)) < 2:
        problems.append("first line %r is not a score of 2 or more for %s" % (lines[0], name))
    if lines[1:200] != [b"1 ostrel"] * 199:
        problems.append("lines 2 to 200 are not the default entries")
    return problems


def main(argv):
    command = argv[1] if len(argv) > 1 else ""
    if command == "has":
        return 0 if read_xwd(argv[2]).has(colour_arg(argv[3]), *map(int, argv[4:8])) else 1
    if command == "rows":
        picture, colour, (x0, x1, y0, step, count) = read_xwd(argv[2]), colour_arg(argv[3]), map(int, argv[4:9])
        print(sum(1 for i in range(count) if picture.has(colour, x0, y0 + step * i, x1, y0 + step * i + 15)))
        return 0
    if command == "differ":
        first, second = read_xwd(argv[2]), read_xwd(argv[3])
        x0, y0, x1, y1 = map(int, argv[4:8])
        return 0 if any(first.row(x0, y, x1 - x0 + 1) != second.row(x0, y, x1 - x0 + 1)
                        for y in range(y0, y1 + 1)) else 1
    if command == "shot":
        return 0 if grab(argv[2], argv[3]) else 1
    if command == "wait":
        display, deadline = argv[2], time.monotonic() + float(argv[3])
        wanted = [(colour_arg(argv[at]), *map(int, argv[at + 1:at + 5])) for at in range(5, len(argv), 5)]
        while True:
            picture = grab(display, argv[4])
            if all(picture.has(colour, *rectangle) for colour, *rectangle in wanted):
                return 0
            if time.monotonic() > deadline:
                return 1
            time.sleep(0.05)
    if command == "settle":
        deadline = time.monotonic() + float(argv[3])
        previous = None
        while time.monotonic() < deadline:
            picture = grab(argv[2], argv[4])
            if previous is not None and picture.rgb == previous.rgb and any(picture.rgb):
                return 0
            previous = picture
            time.sleep(0.5)
        return 1
    if command == "blocks":
        return blocks(read_xwd(argv[2]), read_xwd(argv[3]))
    if command == "fitted":
        return fitted(read_xwd(argv[2]), read_xwd(argv[3]))
    if command == "head":
        head, _, _ = Sprites(argv[3]).scan(read_xwd(argv[2]))
        if head is None:
            return 1
        print("%d %d %s" % head)
        return 0
    if command == "play":
        return play(argv[2], argv[3], int(argv[4]), float(argv[5]))
    if command == "scores":
        problems = score_file_problems(argv[2], argv[3])
        for problem in problems:
            print("    score file:", problem)
        return 1 if problems else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
