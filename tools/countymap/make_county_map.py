#!/usr/bin/env python3
"""Draws the Carvonia county map and its hot-spot table.

Writes data/CountyMapZQ.png (621 x 295, 24-bit RGB) and data/CountyMapZQ.txt
(one line per county, in the order of county2.txt:
"name",left,top,width,height in picture pixels).  The program ships the two
files as they are committed; the build never runs this script.

The state's outline is the one of the start-up picture: straight northern
and western borders, a river to the east and a ragged coast to the south.
It is cut into one region per county by growing the regions from evenly
spread seeds over slightly uneven ground, so every region is one connected
piece.  Between two regions, and between a region and the outside, lies a
border line that also closes the diagonal steps: no county pixel has a
pixel of another county or of the outside among its eight neighbours.  Each
county carries its abbreviation in small grey letters (whose counters, as in
A or O, keep the county's colour), and its hot spot is a rectangle around the
point of the county farthest from its border.

Only the Python standard library is used.  Usage:
    python3 tools/countymap/make_county_map.py [repository folder]
"""

import heapq
import math
import os
import random
import struct
import sys
import zlib

WIDTH, HEIGHT = 621, 295
SEED = 20260912

OUTSIDE = (255, 255, 255)
BORDER = (0, 0, 0)
COUNTY = (255, 250, 214)  # red 255: never one of the painted colours (0..253)
LETTER = (128, 128, 128)

# The outline of the start-up picture, in shares of its width and height.
OUTLINE = [(0.10, 0.15), (0.78, 0.15), (0.82, 0.30), (0.76, 0.42), (0.88, 0.55),
           (0.84, 0.70), (0.90, 0.86), (0.62, 0.82), (0.50, 0.90), (0.34, 0.80),
           (0.22, 0.86), (0.10, 0.78)]
# Edges from this index on (to the end and back to the first point) follow a
# river or a coast and get a ragged course; the northern border (edge 0) and
# the western border (the last edge) stay straight.
RAGGED_FROM, RAGGED_TO = 1, len(OUTLINE) - 2

# A 3 x 5 pixel alphabet for the abbreviations.
GLYPHS = {
    'A': ["010", "101", "111", "101", "101"], 'B': ["110", "101", "110", "101", "110"],
    'C': ["011", "100", "100", "100", "011"], 'D': ["110", "101", "101", "101", "110"],
    'E': ["111", "100", "110", "100", "111"], 'F': ["111", "100", "110", "100", "100"],
    'G': ["011", "100", "101", "101", "011"], 'H': ["101", "101", "111", "101", "101"],
    'I': ["111", "010", "010", "010", "111"], 'J': ["001", "001", "001", "101", "010"],
    'K': ["101", "101", "110", "101", "101"], 'L': ["100", "100", "100", "100", "111"],
    'M': ["101", "111", "111", "101", "101"], 'N': ["110", "101", "101", "101", "101"],
    'O': ["010", "101", "101", "101", "010"], 'P': ["110", "101", "110", "100", "100"],
    'Q': ["010", "101", "101", "110", "011"], 'R': ["110", "101", "110", "101", "101"],
    'S': ["011", "100", "010", "001", "110"], 'T': ["111", "010", "010", "010", "010"],
    'U': ["101", "101", "101", "101", "111"], 'V': ["101", "101", "101", "101", "010"],
    'W': ["101", "101", "111", "111", "101"], 'X': ["101", "101", "010", "101", "101"],
    'Y': ["101", "101", "010", "010", "010"], 'Z': ["111", "001", "010", "100", "111"],
}

N8 = [(-1, -1), (0, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (0, 1), (1, 1)]
N4 = [(0, -1), (-1, 0), (1, 0), (0, 1)]


def read_counties(repo):
    """The home state's counties of county2.txt: (name, abbreviation)."""
    out = []
    with open(os.path.join(repo, "data", "county2.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            fields = [v.strip().strip('"') for v in line.split(",")]
            if fields[0].startswith("ZQ"):
                out.append((fields[0][2:], fields[1]))
    return out


def outline_points(rng):
    """The outline in picture pixels, ragged along the river and the coast."""
    def place(p):
        return (6 + (p[0] - 0.10) / 0.80 * (WIDTH - 13),
                6 + (p[1] - 0.15) / 0.75 * (HEIGHT - 13))

    pts = [place(p) for p in OUTLINE]
    out = []
    for i, a in enumerate(pts):
        b = pts[(i + 1) % len(pts)]
        out.append(a)
        if RAGGED_FROM <= i <= RAGGED_TO:
            # Midpoint displacement across the edge, two levels deep.
            seg = [a, b]
            for level in range(3):
                nxt = [seg[0]]
                for p, q in zip(seg, seg[1:]):
                    dx, dy = q[0] - p[0], q[1] - p[1]
                    length = math.hypot(dx, dy)
                    off = rng.uniform(-0.12, 0.12) * length
                    m = ((p[0] + q[0]) / 2 - dy / length * off,
                         (p[1] + q[1]) / 2 + dx / length * off)
                    nxt += [m, q]
                seg = nxt
            out += seg[1:-1]
    # Keep every point inside the picture with a margin of 4 pixels.
    return [(min(max(x, 4), WIDTH - 5), min(max(y, 4), HEIGHT - 5)) for x, y in out]


def state_mask(poly):
    """True for the pixels whose centre lies inside the outline."""
    mask = [[False] * WIDTH for _ in range(HEIGHT)]
    n = len(poly)
    for y in range(HEIGHT):
        yc = y + 0.5
        xs = []
        for i in range(n):
            (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
            if (y1 <= yc < y2) or (y2 <= yc < y1):
                xs.append(x1 + (yc - y1) * (x2 - x1) / (y2 - y1))
        xs.sort()
        for a, b in zip(xs[0::2], xs[1::2]):
            for x in range(max(0, math.ceil(a - 0.5)), min(WIDTH, math.floor(b - 0.5) + 1)):
                mask[y][x] = True
    return mask


def ground(rng):
    """Uneven ground: a travel cost per pixel from smooth value noise."""
    cell = 14
    gw, gh = WIDTH // cell + 2, HEIGHT // cell + 2
    grid = [[rng.random() for _ in range(gw)] for _ in range(gh)]
    cost = [[1.0] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        gy, fy = divmod(y / cell, 1)
        gy = int(gy)
        for x in range(WIDTH):
            gx, fx = divmod(x / cell, 1)
            gx = int(gx)
            top = grid[gy][gx] * (1 - fx) + grid[gy][gx + 1] * fx
            bottom = grid[gy + 1][gx] * (1 - fx) + grid[gy + 1][gx + 1] * fx
            cost[y][x] = 0.7 + 0.6 * (top * (1 - fy) + bottom * fy)
    return cost


def grow(mask, cost, seeds):
    """Every state pixel goes to the seed it is cheapest to reach from."""
    label = [[-1] * WIDTH for _ in range(HEIGHT)]
    dist = [[math.inf] * WIDTH for _ in range(HEIGHT)]
    heap = []
    for k, (x, y) in enumerate(seeds):
        dist[y][x] = 0.0
        heapq.heappush(heap, (0.0, k, x, y))
    while heap:
        d, k, x, y = heapq.heappop(heap)
        if label[y][x] != -1:
            continue
        label[y][x] = k
        for dx, dy in N8:
            nx, ny = x + dx, y + dy
            if 0 <= nx < WIDTH and 0 <= ny < HEIGHT and mask[ny][nx] and label[ny][nx] == -1:
                step = (1.4142 if dx and dy else 1.0) * (cost[y][x] + cost[ny][nx]) / 2
                nd = d + step
                if nd < dist[ny][nx]:
                    dist[ny][nx] = nd
                    heapq.heappush(heap, (nd, k, nx, ny))
    return label


def region_pixels(label, count):
    pixels = [[] for _ in range(count)]
    for y in range(HEIGHT):
        row = label[y]
        for x in range(WIDTH):
            if row[x] >= 0:
                pixels[row[x]].append((x, y))
    return pixels


def relax(label, count):
    """New seeds: each region's pixel nearest to its centroid."""
    seeds = []
    for px in region_pixels(label, count):
        cx = sum(p[0] for p in px) / len(px)
        cy = sum(p[1] for p in px) / len(px)
        seeds.append(min(px, key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2))
    return seeds


def initial_seeds(mask, count, rng):
    """Seeds spread evenly over the state: farthest-point sampling."""
    inside = [(x, y) for y in range(HEIGHT) for x in range(WIDTH) if mask[y][x]]
    seeds = [rng.choice(inside)]
    best = [math.inf] * len(inside)
    while len(seeds) < count:
        sx, sy = seeds[-1]
        far, far_i = -1.0, 0
        for i, (x, y) in enumerate(inside):
            d = (x - sx) ** 2 + (y - sy) ** 2
            if d < best[i]:
                best[i] = d
            if best[i] > far:
                far, far_i = best[i], i
        seeds.append(inside[far_i])
    return seeds


def components(pixels):
    """The 4-connected pieces of a set of pixels, largest first."""
    left = set(pixels)
    parts = []
    while left:
        start = left.pop()
        part, todo = [start], [start]
        while todo:
            x, y = todo.pop()
            for dx, dy in N4:
                q = (x + dx, y + dy)
                if q in left:
                    left.remove(q)
                    part.append(q)
                    todo.append(q)
        parts.append(part)
    parts.sort(key=len, reverse=True)
    return parts


def farthest_from_border(pixels):
    """The pixel of the region whose nearest non-region pixel is farthest
    (8-neighbour steps), ties to the one nearest the region's centroid."""
    inside = set(pixels)
    depth = {}
    frontier = [p for p in pixels
                if any((p[0] + dx, p[1] + dy) not in inside for dx, dy in N8)]
    for p in frontier:
        depth[p] = 1
    level = 1
    while frontier:
        nxt = []
        for x, y in frontier:
            for dx, dy in N8:
                q = (x + dx, y + dy)
                if q in inside and q not in depth:
                    depth[q] = level + 1
                    nxt.append(q)
        frontier = nxt
        level += 1
    cx = sum(p[0] for p in pixels) / len(pixels)
    cy = sum(p[1] for p in pixels) / len(pixels)
    return max(pixels, key=lambda p: (depth[p], -((p[0] - cx) ** 2 + (p[1] - cy) ** 2)))


def hot_spot(cx, cy, inside):
    """The rectangle centred on (cx, cy), of even width and height, grown
    while it stays inside the region: (left, top, width, height)."""
    a = b = 1

    def fits(a, b):
        return all((x, y) in inside for x in range(cx - a, cx + a) for y in range(cy - b, cy + b))

    if not fits(a, b):
        return (cx - 1, cy - 1, 2, 2)
    grown = True
    while grown:
        grown = False
        # Grow the shorter side first, so the spot stays about square.
        for side in sorted(("a", "b"), key=lambda s: a if s == "a" else b):
            if side == "a" and a < 20 and fits(a + 1, b):
                a += 1
                grown = True
            elif side == "b" and b < 14 and fits(a, b + 1):
                b += 1
                grown = True
    return (cx - a, cy - b, 2 * a, 2 * b)


def letters_at(text, left, top):
    """The pixels of a text in the 3 x 5 alphabet."""
    out = []
    for i, ch in enumerate(text):
        rows = GLYPHS.get(ch)
        if rows is None:
            continue
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == "1":
                    out.append((left + i * 4 + gx, top + gy))
    return out


def assign_names(regions, names, rng):
    """Region index per name.  A few names follow the lie of the land:
    Eastfall lies farthest east, Heron Bay on the southern coast, North
    Sable directly above South Sable; the rest are shuffled."""
    centres = [(sum(p[0] for p in px) / len(px), sum(p[1] for p in px) / len(px))
               for px in regions]
    free = set(range(len(regions)))
    chosen = {}

    def take(name, k):
        chosen[name] = k
        free.discard(k)

    take("Eastfall", max(free, key=lambda k: centres[k][0]))
    take("Heron Bay", max((k for k in free if 250 < centres[k][0] < 360),
                          key=lambda k: centres[k][1]))
    # North and South Sable: the pair of free regions in the west half whose
    # centres lie most nearly one above the other.
    best = None
    for s in free:
        for n in free:
            if n == s or centres[s][0] > WIDTH / 2:
                continue
            dx = abs(centres[s][0] - centres[n][0])
            dy = centres[s][1] - centres[n][1]
            if 25 < dy < 60:
                score = dx + abs(dy - 40)
                if best is None or score < best[0]:
                    best = (score, n, s)
    take("North Sable", best[1])
    take("South Sable", best[2])
    rest = [n for n in names if n not in chosen]
    pool = sorted(free)
    rng.shuffle(pool)
    for n, k in zip(rest, pool):
        chosen[n] = k
    return chosen


def write_png(path, pixels):
    raw = bytearray()
    for y in range(HEIGHT):
        raw.append(0)
        for x in range(WIDTH):
            raw += bytes(pixels[y][x])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    counties = read_counties(repo)
    names = [n for n, _ in counties]
    abbrev = dict(counties)
    count = len(counties)
    rng = random.Random(SEED)

    poly = outline_points(rng)
    mask = state_mask(poly)
    cost = ground(rng)
    seeds = initial_seeds(mask, count, rng)
    for _ in range(6):
        label = grow(mask, cost, seeds)
        seeds = relax(label, count)
    label = grow(mask, cost, seeds)

    # Borders: a state pixel next to the outside, or next to a pixel of a
    # region with a lower index, becomes a border pixel.  Any two neighbours
    # (diagonals included) of different regions thus have one border pixel
    # between them.
    colour = [[OUTSIDE] * WIDTH for _ in range(HEIGHT)]
    owner = [[-1] * WIDTH for _ in range(HEIGHT)]  # region of each county pixel
    for y in range(HEIGHT):
        for x in range(WIDTH):
            k = label[y][x]
            if k < 0:
                continue
            edge = False
            for dx, dy in N8:
                nx, ny = x + dx, y + dy
                if not (0 <= nx < WIDTH and 0 <= ny < HEIGHT):
                    edge = True
                    break
                m = label[ny][nx]
                if m < 0 or m < k:
                    edge = True
                    break
            if edge:
                colour[y][x] = BORDER
            else:
                colour[y][x] = COUNTY
                owner[y][x] = k

    regions = [[] for _ in range(count)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if owner[y][x] >= 0:
                regions[owner[y][x]].append((x, y))
    # A region cut in two by its borders keeps its largest piece.
    for k in range(count):
        parts = components(regions[k])
        for part in parts[1:]:
            for x, y in part:
                colour[y][x] = BORDER
                owner[y][x] = -1
        regions[k] = parts[0]

    where = assign_names(regions, names, rng)
    spots = {}
    for name in names:
        k = where[name]
        px = regions[k]
        inside = set(px)
        county = set(px)  # with the letters: where the hot spot may lie
        cx, cy = farthest_from_border(px)
        # The abbreviation under the centre, else above it, where it fits
        # with a free pixel all round.
        text = abbrev[name]
        tw, th = 4 * len(text) - 1, 5
        for top in (cy + 3, cy - 3 - th):
            left = cx - tw // 2
            box = [(x, y) for x in range(left - 1, left + tw + 1) for y in range(top - 1, top + th + 1)]
            if all(p in inside for p in box):
                for x, y in letters_at(text, left, top):
                    colour[y][x] = LETTER
                    inside.discard((x, y))
                break
        # The county is the piece around its centre; the counters of
        # letters such as A and O stay pixels of the county's colour that
        # the letter closes off.
        parts = components(inside)
        regions[k] = parts[0]
        assert (cx, cy) in set(parts[0])
        assert all(len(part) <= 3 for part in parts[1:])
        spots[name] = hot_spot(cx, cy, county)

    write_png(os.path.join(repo, "data", "CountyMapZQ.png"), colour)
    with open(os.path.join(repo, "data", "CountyMapZQ.txt"), "wb") as f:
        for name in names:
            left, top, w, h = spots[name]
            f.write(('"%s",%d,%d,%d,%d\r\n' % (name, left, top, w, h)).encode("ascii"))
    sizes = sorted(len(r) for r in regions)
    print("counties %d, pixels per county %d..%d" % (count, sizes[0], sizes[-1]))


if __name__ == "__main__":
    main()
