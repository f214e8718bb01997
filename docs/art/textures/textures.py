#!/usr/bin/python3
"""Draws the course's procedural textures and the ones derived from the
Moon, Earth and Saturn-ring maps. Needs python3-pil, python3-numpy,
librsvg2-bin (rsvg-convert) and imagemagick (convert)."""
import math
import os
import subprocess
import sys

import numpy as np
from PIL import Image

T = sys.argv[1] if len(sys.argv) > 1 else "/work/main/content/Textures"
SRC = "/tmp/deb/x"
STEL = SRC + "/stellarium-data/usr/share/stellarium/textures"
XPL = SRC + "/xplanet-images/usr/share/xplanet/images"
HERE = os.path.dirname(os.path.abspath(__file__))
SVG = os.path.join(HERE, "svg")


def save_bmp(arr, name):
    img = Image.fromarray(np.clip(arr, 0, 255).astype(np.uint8), "RGB")
    img.save(os.path.join(T, name), format="BMP")  # 24-bit, BI_RGB


def save_jpg(img, name):
    img.convert("RGB").save(os.path.join(T, name), "JPEG", quality=85, optimize=True)


# ---------------------------------------------------------------- noise
def periodic_noise(n, cells, rng, cells_y=None):
    """Value noise on an n x n tile that wraps, smooth cubic interpolation."""
    cy = cells_y or cells
    g = rng.random((cy, cells))
    ys = np.arange(n) * cy / n
    xs = np.arange(n) * cells / n
    y0 = np.floor(ys).astype(int)
    x0 = np.floor(xs).astype(int)
    fy = ys - y0
    fx = xs - x0
    fy = fy * fy * (3 - 2 * fy)
    fx = fx * fx * (3 - 2 * fx)
    y1 = (y0 + 1) % cy
    x1 = (x0 + 1) % cells
    a = g[np.ix_(y0, x0)]
    b = g[np.ix_(y0, x1)]
    c = g[np.ix_(y1, x0)]
    d = g[np.ix_(y1, x1)]
    fx = fx[None, :]
    fy = fy[:, None]
    return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy


def fbm(n, base, octaves, rng, stretch=1):
    out = np.zeros((n, n))
    amp = 1.0
    tot = 0.0
    cells = base
    for _ in range(octaves):
        out += amp * periodic_noise(n, max(1, cells // stretch), rng, cells)
        tot += amp
        amp *= 0.5
        cells *= 2
        if cells > n:
            break
    return out / tot


def lerp(c0, c1, t):
    c0 = np.array(c0, float)
    c1 = np.array(c1, float)
    return c0 + (c1 - c0) * t[..., None]


# ---------------------------------------------------------------- wood
def wood(name, seed, light, dark, rings, warp):
    n = 256
    rng = np.random.default_rng(seed)
    y = np.arange(n)[:, None] / n * np.ones((1, n))
    big = fbm(n, 4, 4, rng, stretch=4)          # slow wobble of the rings
    fibre = fbm(n, 64, 3, rng, stretch=16)      # fine grain along x
    phase = y * rings + (big - 0.5) * warp
    ring = phase - np.floor(phase)
    # late wood: a sharp darker band at the end of each ring
    band = np.clip((ring - 0.62) / 0.3, 0, 1) ** 1.5
    band = np.where(ring > 0.92, (1 - ring) / 0.08 * band, band)
    t = np.clip(0.15 + 0.7 * band + 0.35 * (fibre - 0.5), 0, 1)
    col = lerp(light, dark, t)
    col *= (0.92 + 0.12 * fbm(n, 8, 3, rng))[..., None]
    save_bmp(col, name)


# ---------------------------------------------------------------- chequer
def squares():
    n, s = 256, 32
    y, x = np.mgrid[0:n, 0:n]
    on = ((x // s) + (y // s)) % 2 == 0
    col = np.where(on[..., None], np.array([235, 235, 235]), np.array([40, 40, 40]))
    save_bmp(col, "squares.bmp")


# ---------------------------------------------------------------- chrome
def chrome():
    n = 128
    rng = np.random.default_rng(7)
    y = np.arange(n, dtype=float)[:, None] * np.ones((1, n))
    h = 0.55 * n  # horizon
    sky_t = np.clip(y / h, 0, 1) ** 1.6
    sky = lerp((55, 75, 115), (232, 238, 248), sky_t)
    g_t = np.clip((y - h) / (n - h), 0, 1) ** 0.7
    ground = lerp((60, 52, 46), (165, 155, 145), g_t)
    col = np.where((y < h)[..., None], sky, ground)
    glow = np.exp(-((y - h) / 2.2) ** 2)[..., None] * 255
    col = np.maximum(col, glow * np.array([1, 1, 1]))
    streak = fbm(n, 16, 3, rng, stretch=16)
    col *= (0.9 + 0.2 * streak)[..., None]
    save_bmp(col, "Chrome.bmp")


# ---------------------------------------------------------------- ice
def voronoi(n, pts):
    y, x = np.mgrid[0:n, 0:n].astype(float)
    d1 = np.full((n, n), 1e9)
    d2 = np.full((n, n), 1e9)
    idx = np.zeros((n, n), int)
    for i, (px, py) in enumerate(pts):
        for ox in (-n, 0, n):
            for oy in (-n, 0, n):
                d = np.hypot(x - px - ox, y - py - oy)
                closer = d < d1
                d2 = np.where(closer, d1, np.minimum(d2, d))
                idx = np.where(closer, i, idx)
                d1 = np.where(closer, d, d1)
    return d1, d2, idx


def ice_base(rng, n=128):
    pts = rng.random((38, 2)) * n
    d1, d2, idx = voronoi(n, pts)
    edge = np.clip((d2 - d1) / 7.0, 0, 1)      # 0 on a crack, 1 inside
    cell_b = rng.random(len(pts))[idx]
    # a light direction per chunk gives faceted shading
    ang = rng.random(len(pts))[idx] * 2 * math.pi
    y, x = np.mgrid[0:n, 0:n].astype(float)
    cx = pts[idx, 0]
    cy = pts[idx, 1]
    facet = 0.5 + 0.5 * np.cos(np.arctan2(y - cy, x - cx) - ang)
    t = 0.35 + 0.35 * edge + 0.15 * cell_b + 0.15 * facet * edge
    t *= 0.9 + 0.2 * fbm(n, 8, 3, rng)
    col = lerp((95, 135, 170), (238, 246, 252), np.clip(t, 0, 1))
    # a small glint on some chunks
    hx = (cx + 4 * np.cos(ang)) % n
    hy = (cy + 4 * np.sin(ang)) % n
    glint = (np.hypot(x - hx, y - hy) < 1.8) & (cell_b > 0.45) & (edge > 0.5)
    col[glint] = 255
    return col, edge


def ice():
    col, _ = ice_base(np.random.default_rng(11))
    save_bmp(col, "ice.bmp")


def icesalt():
    rng = np.random.default_rng(11)
    col, edge = ice_base(rng)
    n = 128
    # melting where salt lies: darker, clearer, wetter patches
    wet = np.clip((fbm(n, 4, 3, np.random.default_rng(5)) - 0.45) * 4, 0, 1)
    col = col * (1 - 0.35 * wet[..., None]) + np.array([60, 110, 150]) * 0.35 * wet[..., None]
    # salt grains: small opaque white crystals
    r2 = np.random.default_rng(23)
    for _ in range(260):
        x, y = r2.integers(0, n, 2)
        s = r2.integers(1, 3)
        shade = r2.integers(215, 256)
        col[y:y + s, x:x + s] = shade
        if s == 2 and r2.random() < 0.5:
            col[(y + s) % n, x:x + s] = shade * 0.7
    save_bmp(col, "icesalt.bmp")


# ---------------------------------------------------------------- eye
def eye():
    n, ss = 128, 4
    N = n * ss
    rng = np.random.default_rng(3)
    y, x = np.mgrid[0:N, 0:N].astype(float)
    c = (N - 1) / 2
    dx, dy = (x - c) / ss, (y - c) / ss
    r = np.hypot(dx, dy)
    a = np.arctan2(dy, dx)
    # sclera: white to faintly pink at the edges, a few veins
    col = lerp((248, 245, 240), (236, 200, 195), np.clip((r - 45) / 45, 0, 1))
    # fine wavy veins running in from the edge, fading towards the iris
    for k in range(14):
        a0 = rng.random() * 2 * math.pi
        amp = 0.06 + 0.06 * rng.random()
        wl = 4 + 4 * rng.random()
        wob = amp * np.sin(r / wl + 6 * rng.random())
        w = np.abs(np.angle(np.exp(1j * (a - a0 - wob)))) * r
        inner = 48 + 10 * rng.random()
        fade = np.clip((r - inner) / 12, 0, 1) * 0.55
        vein = np.clip(0.9 - w / 0.55, 0, 1) * fade
        col = col * (1 - vein[..., None]) + np.array([190, 55, 55]) * vein[..., None]
    R_IRIS, R_PUP = 40.0, 13.0
    # iris: radial fibres
    ang_noise = np.zeros_like(a)
    for f, amp in ((60, 1.0), (137, 0.6), (23, 0.8)):
        ph = rng.random(f) * 2 * math.pi
        k = ((a + math.pi) / (2 * math.pi) * f).astype(int) % f
        ang_noise += amp * np.sin(ph[k] + r * 0.15)
    ang_noise = (ang_noise - ang_noise.min()) / (np.ptp(ang_noise) + 1e-9)
    rr = np.clip((r - R_PUP) / (R_IRIS - R_PUP), 0, 1)
    iris = lerp((40, 95, 130), (110, 165, 190), ang_noise * 0.8 + 0.2 * (1 - rr))
    coll = np.exp(-((r - 19) / 3.5) ** 2)[..., None]   # brown collarette
    iris = iris * (1 - 0.6 * coll) + np.array([150, 110, 55]) * 0.6 * coll
    limbal = np.clip((r - (R_IRIS - 6)) / 6, 0, 1)[..., None]
    iris = iris * (1 - 0.7 * limbal) + np.array([20, 35, 50]) * 0.7 * limbal
    col = np.where((r < R_IRIS)[..., None], iris, col)
    col = np.where((r < R_PUP)[..., None], np.array([8, 8, 10]), col)
    hl = np.hypot(dx + 9, dy + 10) < 4.5
    col[hl] = np.array([255, 255, 255])
    img = Image.fromarray(np.clip(col, 0, 255).astype(np.uint8)).resize((n, n), Image.LANCZOS)
    save_bmp(np.array(img), "Eye.bmp")


# ---------------------------------------------------------------- moon disc
def full_moon():
    src = np.asarray(Image.open(STEL + "/moon_4k.jpg").convert("RGB")).astype(float)
    H, W = src.shape[:2]
    n, ss = 128, 4
    N = n * ss
    y, x = np.mgrid[0:N, 0:N].astype(float)
    R = 60.0 * ss
    c = (N - 1) / 2
    nx = (x - c) / R
    ny = (c - y) / R
    rr = nx * nx + ny * ny
    inside = rr <= 1
    nz = np.sqrt(np.clip(1 - rr, 0, 1))
    lat = np.arcsin(np.clip(ny, -1, 1))
    lon = np.arctan2(nx, nz)
    u = ((0.5 + lon / (2 * math.pi)) * W).astype(int) % W
    v = np.clip(((0.5 - lat / math.pi) * H).astype(int), 0, H - 1)
    col = src[v, u] * 1.08
    col *= (0.85 + 0.15 * nz)[..., None]       # slight limb darkening
    col[~inside] = 0
    img = Image.fromarray(np.clip(col, 0, 255).astype(np.uint8)).resize((n, n), Image.LANCZOS)
    save_bmp(np.array(img), "FullMoon.bmp")


# ---------------------------------------------------------------- ground track map
def ground_track():
    # whole longitude range, latitudes 80N to 80S (360:160 is the strip's 292:130)
    src = Image.open(XPL + "/earth.jpg").convert("RGB")
    W, H = src.size
    top = round(H * 10 / 180)
    img = src.crop((0, top, W, H - top)).resize((292, 130), Image.LANCZOS)
    save_bmp(np.array(img), "GndTrack.bmp")


# ---------------------------------------------------------------- Saturn's rings
def saturn_rings():
    a = np.asarray(Image.open(STEL + "/saturn_rings_radial.png").convert("RGBA")).astype(float)
    row = a[0]
    rgb = row[:, :3] * (row[:, 3:4] / 255.0)     # transparent parts become dark
    rgb *= 1.8                                   # brighten to the rings' look
    strip = np.repeat(rgb[None, :, :], 64, axis=0)
    img = Image.fromarray(np.clip(strip, 0, 255).astype(np.uint8)).resize((1024, 64), Image.LANCZOS)
    save_jpg(img, "SaturnRings.jpg")


# ---------------------------------------------------------------- SVG drawings
def svg(name, w, h):
    out = f"/tmp/qart/render_{name}.png"
    subprocess.check_call(["rsvg-convert", "-w", str(w), "-h", str(h), "-b", "white",
                           "-o", out, os.path.join(SVG, name + ".svg")])
    return out


def svg_bmp(name, w, h):
    img = Image.open(svg(name, w, h)).convert("RGB")
    save_bmp(np.array(img), name + ".bmp")


def sharp_and_blurred(name, w, h, out1, out2, sigma):
    png = svg(name, w, h)
    save_jpg(Image.open(png), out1)
    blurred = f"/tmp/qart/blur_{name}.png"
    subprocess.check_call(["convert", png, "-blur", f"0x{sigma}", blurred])
    save_jpg(Image.open(blurred), out2)


if __name__ == "__main__":
    os.makedirs(T, exist_ok=True)
    wood("wood.bmp", 1, (232, 192, 138), (168, 110, 58), 9, 1.6)
    wood("wood2.bmp", 2, (150, 86, 48), (78, 38, 18), 13, 2.4)
    squares()
    chrome()
    ice()
    icesalt()
    # Eye.bmp and BoyGirl.bmp are drawn in docs/art/light (the side view of
    # the eye and the children's portrait the light panels need).
    full_moon()
    ground_track()
    saturn_rings()
    svg_bmp("Switch", 128, 64)
    svg_bmp("Battery", 256, 128)
    sharp_and_blurred("Near", 320, 240, "Near_01.jpg", "Near_02.jpg", 5)
    sharp_and_blurred("Far", 320, 240, "Far_01.jpg", "Far_02.jpg", 5)
    sharp_and_blurred("Cat", 320, 240, "Cat_01.jpg", "Cat_02.jpg", 5)
