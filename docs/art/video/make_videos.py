#!/usr/bin/env python3
"""Draws the course's three short films frame by frame and encodes them.

Each frame is an SVG drawing written by this script, rendered to PNG with
rsvg-convert; ffmpeg then joins the frames into an FLV file (H.264 video,
390 x 264 pixels, 25 frames a second, no sound).

    python3 make_videos.py [--out DIR] [--keep] [NAME ...]

NAME is any of CompassNeedle, SoundWave, MoonOrbit (all three when none is
given). DIR defaults to content/Video in this repository. --keep leaves the
PNG frames in a folder named after the film under /tmp for looking at.
Only the Python standard library is used.
"""
import argparse
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

W, H, FPS = 390, 264, 25
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "..", "content", "Video"))
FONT = 'font-family="DejaVu Sans, Bitstream Vera Sans, sans-serif"'


def svg_doc(body, background="#ffffff"):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" '
            f'viewBox="0 0 {W} {H}"><rect width="{W}" height="{H}" fill="{background}"/>'
            f"{body}</svg>")


# --------------------------------------------------------------------------
# Compass needle: a bar magnet slides in from the right, N end first; the
# needle (red north-seeking end, blue south-seeking end) swings and settles
# along the field at its centre.
# --------------------------------------------------------------------------
def compass_frames():
    seconds = 7.0
    n = int(seconds * FPS)
    cx, cy = 130.0, 132.0          # compass centre
    mag_len, mag_h = 150.0, 34.0   # bar magnet size
    stop_x = cx + 92.0             # where the magnet's N end stops

    def magnet_n_end(t):
        # enters at 1.0 s, stops at 3.2 s, eased
        if t < 1.0:
            return W + 20.0
        if t > 3.2:
            return stop_x
        u = (t - 1.0) / 2.2
        u = u * u * (3 - 2 * u)
        return (W + 20.0) + (stop_x - (W + 20.0)) * u

    def field(t):
        # the Earth's field points up the screen (north); the magnet is two
        # poles, N at its left end, S at its right end; each pole's pull is
        # made to fall off as 1/r^3 so that the far-off magnet hardly acts
        bx, by = 0.0, -1.0
        nx = magnet_n_end(t) + 6.0
        sx = nx + mag_len - 12.0
        for px, q in ((nx, 1.0), (sx, -1.0)):
            dx, dy = cx - px, cy - cy
            r = math.hypot(dx, dy)
            k = q * 6.5e6 / (r * r * r * r)
            bx += k * dx
            by += k * dy
        return bx, by

    # integrate the needle: I a'' = -K |B| sin(a - phi) - c a'
    dt = 1.0 / (FPS * 20)
    angle = -math.pi / 2 + 0.12     # screen angle of the N end; starts a little off north
    vel = 0.0
    omega0 = 2 * math.pi * 0.5      # natural frequency in the Earth's field alone
    damping = 1.6
    angles = []
    t = 0.0
    for f in range(n):
        angles.append(angle)
        for _ in range(20):
            bx, by = field(t)
            b = math.hypot(bx, by)
            phi = math.atan2(by, bx)
            acc = -omega0 * omega0 * b * math.sin(angle - phi) - damping * vel
            vel += acc * dt
            angle += vel * dt
            t += dt

    for f in range(n):
        t = f / FPS
        a = math.degrees(angles[f])
        mx = magnet_n_end(t)
        parts = []
        # table top
        parts.append('<defs><radialGradient id="glass" cx="0.35" cy="0.3" r="0.8">'
                     '<stop offset="0" stop-color="#ffffff" stop-opacity="0.55"/>'
                     '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient>'
                     '<linearGradient id="red" x1="0" y1="0" x2="0" y2="1">'
                     '<stop offset="0" stop-color="#ff6a5a"/><stop offset="1" stop-color="#b81c14"/></linearGradient>'
                     '<linearGradient id="blue" x1="0" y1="0" x2="0" y2="1">'
                     '<stop offset="0" stop-color="#6a9cff"/><stop offset="1" stop-color="#1a46b8"/></linearGradient>'
                     '</defs>')
        # compass body
        parts.append(f'<circle cx="{cx}" cy="{cy + 4}" r="84" fill="#000" opacity="0.15"/>')
        parts.append(f'<circle cx="{cx}" cy="{cy}" r="84" fill="#c9a44a" stroke="#6e5416" stroke-width="3"/>')
        parts.append(f'<circle cx="{cx}" cy="{cy}" r="74" fill="#fbf6e6" stroke="#6e5416" stroke-width="2"/>')
        for d in range(0, 360, 10):
            r0 = 64 if d % 90 else 58
            x0 = cx + r0 * math.sin(math.radians(d))
            y0 = cy - r0 * math.cos(math.radians(d))
            x1 = cx + 72 * math.sin(math.radians(d))
            y1 = cy - 72 * math.cos(math.radians(d))
            parts.append(f'<line x1="{x0:.1f}" y1="{y0:.1f}" x2="{x1:.1f}" y2="{y1:.1f}" '
                         f'stroke="#444" stroke-width="{2 if d % 90 == 0 else 1}"/>')
        for txt, d in (("N", 0), ("E", 90), ("S", 180), ("W", 270)):
            x = cx + 47 * math.sin(math.radians(d))
            y = cy - 47 * math.cos(math.radians(d)) + 6
            parts.append(f'<text x="{x:.1f}" y="{y:.1f}" {FONT} font-size="17" font-weight="bold" '
                         f'text-anchor="middle" fill="#333">{txt}</text>')
        # needle, drawn pointing along +x then rotated to its angle
        parts.append(f'<g transform="translate({cx},{cy}) rotate({a:.2f})">'
                     '<path d="M0 -7 L62 0 L0 7 Z" fill="url(#red)" stroke="#5a0e08" stroke-width="1"/>'
                     '<path d="M0 -7 L-62 0 L0 7 Z" fill="url(#blue)" stroke="#0e245a" stroke-width="1"/>'
                     '</g>')
        parts.append(f'<circle cx="{cx}" cy="{cy}" r="5" fill="#caa64a" stroke="#5a4410" stroke-width="1.5"/>')
        parts.append(f'<circle cx="{cx}" cy="{cy}" r="74" fill="url(#glass)"/>')
        # bar magnet, N end (red) facing the compass
        if mx < W + 10:
            my = cy - mag_h / 2
            half = mag_len / 2
            parts.append(f'<rect x="{mx + 3}" y="{my + 5}" width="{mag_len}" height="{mag_h}" rx="3" fill="#000" opacity="0.18"/>')
            parts.append(f'<rect x="{mx}" y="{my}" width="{half}" height="{mag_h}" fill="url(#red)" stroke="#5a0e08" stroke-width="1.5"/>')
            parts.append(f'<rect x="{mx + half}" y="{my}" width="{half}" height="{mag_h}" fill="url(#blue)" stroke="#0e245a" stroke-width="1.5"/>')
            parts.append(f'<text x="{mx + 16}" y="{cy + 9}" {FONT} font-size="24" font-weight="bold" '
                         f'text-anchor="middle" fill="#ffffff">N</text>')
            parts.append(f'<text x="{mx + mag_len - 16}" y="{cy + 9}" {FONT} font-size="24" font-weight="bold" '
                         f'text-anchor="middle" fill="#ffffff">S</text>')
        # caption
        parts.append(f'<text x="{W - 8}" y="{H - 10}" {FONT} font-size="12" text-anchor="end" fill="#5a4a30">'
                     f'{"The needle points north" if t < 2.0 else "A magnet pulls the needle round"}</text>')
        yield svg_doc("".join(parts), background="#e9dcc0")


# --------------------------------------------------------------------------
# Sound wave: a loudspeaker cone moves in and out; the air particles in
# front of it are pushed into compressions and pulled apart into
# rarefactions, and the pattern travels away while each particle only
# moves to and fro about its own place (one is marked red).
# --------------------------------------------------------------------------
def sound_frames():
    seconds = 7.0
    n = int(seconds * FPS)
    freq = 0.9                  # cone vibrations a second (slowed down a great deal)
    wavelength = 120.0          # pixels
    speed = freq * wavelength   # pixels a second
    amp = 11.0                  # particle displacement in pixels
    cone_x = 92.0               # rest position of the cone's front
    top, bottom = 48, 204
    rng = random.Random(4)
    particles = []
    x = cone_x + 8
    while x < W + 20:
        y = top + 3
        while y < bottom - 2:
            particles.append((x + rng.uniform(-2.5, 2.5), y + rng.uniform(-2.5, 2.5)))
            y += 9.5
        x += 8.0
    marked = min(range(len(particles)),
                 key=lambda i: abs(particles[i][0] - 230) + abs(particles[i][1] - 133))

    def disp(x0, t):
        # the wave leaves the cone at t = 0 and travels right
        reach = speed * t
        d = x0 - cone_x
        if d > reach:
            return 0.0
        return amp * math.sin(2 * math.pi * freq * (t - d / speed))

    for f in range(n):
        t = f / FPS
        cone = amp * math.sin(2 * math.pi * freq * t)
        parts = ['<defs><linearGradient id="box" x1="0" y1="0" x2="1" y2="0">'
                 '<stop offset="0" stop-color="#3b3f47"/><stop offset="1" stop-color="#5b616b"/></linearGradient>'
                 '<linearGradient id="cone" x1="0" y1="0" x2="1" y2="0">'
                 '<stop offset="0" stop-color="#777"/><stop offset="1" stop-color="#c9c9c9"/></linearGradient>'
                 '</defs>']
        # air region
        parts.append(f'<rect x="{cone_x}" y="{top - 6}" width="{W - cone_x}" height="{bottom - top + 12}" fill="#eaf3fb"/>')
        # loudspeaker in side view: cabinet, magnet, moving cone
        parts.append('<rect x="6" y="38" width="62" height="188" rx="6" fill="url(#box)" stroke="#222" stroke-width="2"/>')
        parts.append('<rect x="22" y="110" width="26" height="44" rx="3" fill="#8a8f99" stroke="#222" stroke-width="1.5"/>')
        c = cone
        parts.append(f'<path d="M{46 + c:.1f} 118 L{cone_x + c:.1f} 62 L{cone_x + c:.1f} 202 L{46 + c:.1f} 146 Z" '
                     f'fill="url(#cone)" stroke="#222" stroke-width="2"/>')
        parts.append(f'<rect x="{cone_x - 3 + c:.1f}" y="58" width="6" height="148" rx="3" fill="#333"/>')
        parts.append(f'<rect x="{42 + c:.1f}" y="116" width="8" height="32" rx="2" fill="#b5892e" stroke="#222"/>')
        # particles
        dots = []
        for i, (x0, y0) in enumerate(particles):
            if i == marked:
                continue
            x = x0 + disp(x0, t)
            if x < cone_x + c + 3:
                x = cone_x + c + 3
            dots.append(f'<circle cx="{x:.1f}" cy="{y0:.1f}" r="2.3"/>')
        parts.append('<g fill="#2c4a7a">' + "".join(dots) + "</g>")
        mx0, my0 = particles[marked]
        mx = mx0 + disp(mx0, t)
        parts.append(f'<line x1="{mx0 - amp:.1f}" y1="{my0 + 7:.1f}" x2="{mx0 + amp:.1f}" y2="{my0 + 7:.1f}" '
                     'stroke="#d02020" stroke-width="1.2" opacity="0.6"/>')
        parts.append(f'<circle cx="{mx:.1f}" cy="{my0:.1f}" r="3.6" fill="#e02020" stroke="#600" stroke-width="1"/>')
        # labels that ride with one compression and the rarefaction behind
        # it for one vibration, then go back to the next compression out
        labels = []
        if t >= 2.0 / freq:
            # compressions are where the phase 2*pi*f*(t - d/v) is 0 (mod 2*pi)
            k = math.floor(freq * t) - 1
            xc = cone_x + speed * (t - k / freq)
            xr = xc - wavelength / 2
            for x, txt, colr, dy in ((xc, "compression", "#b01818", 0), (xr, "rarefaction", "#1a6a2a", 16)):
                if cone_x + 30 < x < W - 34:
                    labels.append(f'<line x1="{x:.1f}" y1="{bottom + 6}" x2="{x:.1f}" y2="{bottom + 16 + dy}" stroke="{colr}" stroke-width="2"/>')
                    labels.append(f'<text x="{x:.1f}" y="{bottom + 28 + dy}" {FONT} font-size="12" text-anchor="middle" fill="{colr}">{txt}</text>')
        parts.extend(labels)
        # wave direction
        parts.append(f'<line x1="{W - 150}" y1="24" x2="{W - 30}" y2="24" stroke="#333" stroke-width="2"/>')
        parts.append(f'<path d="M{W - 30} 24 l-10 -6 l0 12 Z" fill="#333"/>')
        parts.append(f'<text x="{W - 90}" y="16" {FONT} font-size="11" text-anchor="middle" fill="#333">the wave travels this way</text>')
        parts.append(f'<text x="37" y="24" {FONT} font-size="11" text-anchor="middle" fill="#333">loudspeaker</text>')
        yield svg_doc("".join(parts), background="#ffffff")


# --------------------------------------------------------------------------
# The Moon's orbit seen from above the North Pole: sunlight comes from the
# left, so the left half of the Earth and of the Moon is always lit while
# the Moon goes once round in eight seconds (the film loops). The Moon
# keeps the same face (its dark seas) towards the Earth.
# --------------------------------------------------------------------------
def moon_frames():
    seconds = 8.0
    n = int(seconds * FPS)
    ex, ey = 215.0, 132.0       # Earth
    orbit = 100.0
    re, rm = 30.0, 11.0
    rng = random.Random(9)
    stars = [(rng.uniform(0, W), rng.uniform(0, H), rng.uniform(0.4, 1.1)) for _ in range(70)]

    defs = ('<defs>'
            '<linearGradient id="lit" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="#000" stop-opacity="0"/>'
            '<stop offset="0.47" stop-color="#000" stop-opacity="0"/>'
            '<stop offset="0.53" stop-color="#000" stop-opacity="0.82"/>'
            '<stop offset="1" stop-color="#000" stop-opacity="0.82"/></linearGradient>'
            '<linearGradient id="sun" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="#ffd94a" stop-opacity="0.55"/>'
            '<stop offset="1" stop-color="#ffd94a" stop-opacity="0"/></linearGradient>'
            '<radialGradient id="sea" cx="0.4" cy="0.4" r="0.7">'
            '<stop offset="0" stop-color="#3f8fe0"/><stop offset="1" stop-color="#1a4a9a"/></radialGradient>'
            '<clipPath id="earthclip"><circle cx="0" cy="0" r="%g"/></clipPath>'
            '</defs>' % re)

    for f in range(n):
        t = f / FPS
        ang = 2 * math.pi * t / seconds          # anticlockwise seen from above the North Pole
        mx = ex + orbit * math.cos(ang)
        my = ey - orbit * math.sin(ang)
        parts = [defs]
        parts.append('<g fill="#ffffff">' + "".join(
            f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.2f}" opacity="0.7"/>' for x, y, r in stars) + "</g>")
        # sunlight from the left
        parts.append(f'<rect x="0" y="0" width="70" height="{H}" fill="url(#sun)"/>')
        for y in range(30, H - 10, 34):
            parts.append(f'<line x1="8" y1="{y}" x2="44" y2="{y}" stroke="#ffd94a" stroke-width="2"/>'
                         f'<path d="M52 {y} l-10 -5 l0 10 Z" fill="#ffd94a"/>')
        parts.append(f'<text x="8" y="{H - 8}" {FONT} font-size="12" fill="#ffd94a">Sunlight</text>')
        # orbit
        parts.append(f'<circle cx="{ex}" cy="{ey}" r="{orbit}" fill="none" stroke="#7a8aa8" '
                     'stroke-width="1" stroke-dasharray="4 5"/>')
        # Earth seen from above the North Pole
        land = ('<path d="M-8 -24 C4 -20 10 -12 6 -4 C2 4 10 8 16 4 C22 0 20 -12 14 -20 Z" fill="#4a9a3e"/>'
                '<path d="M-22 -6 C-14 -4 -12 6 -18 14 C-22 10 -26 2 -22 -6 Z" fill="#5aa54a"/>'
                '<path d="M-6 12 C2 10 8 16 4 24 C-4 26 -10 20 -6 12 Z" fill="#7a9a4a"/>'
                '<circle cx="0" cy="0" r="7" fill="#f4f8ff"/>')
        parts.append(f'<g transform="translate({ex},{ey})"><g clip-path="url(#earthclip)">'
                     f'<circle r="{re}" fill="url(#sea)"/>{land}'
                     f'<rect x="{-re}" y="{-re}" width="{2 * re}" height="{2 * re}" fill="url(#lit)"/>'
                     f'</g><circle r="{re}" fill="none" stroke="#9ab8e8" stroke-width="0.8"/></g>')
        parts.append(f'<text x="{ex}" y="{ey + re + 16}" {FONT} font-size="12" text-anchor="middle" fill="#cfe0ff">Earth</text>')
        # Moon: the same face (seas) towards the Earth, the Sun's side lit
        face = math.degrees(math.atan2(ey - my, ex - mx))
        parts.append(f'<g transform="translate({mx:.2f},{my:.2f})">'
                     f'<circle r="{rm}" fill="#d8d8d0"/>'
                     f'<g transform="rotate({face:.2f})">'
                     '<circle cx="4" cy="-2" r="3" fill="#9a9a92"/><circle cx="3" cy="4" r="2.2" fill="#a4a49c"/>'
                     '<circle cx="-3" cy="-5" r="1.5" fill="#b0b0a8"/></g>'
                     f'<rect x="{-rm}" y="{-rm}" width="{2 * rm}" height="{2 * rm}" fill="url(#lit)"/>'
                     f'<circle r="{rm}" fill="none" stroke="#aaa" stroke-width="0.6"/></g>')
        lx = mx + 32 * math.cos(ang)
        ly = my - 20 * math.sin(ang) + 4
        parts.append(f'<text x="{lx:.1f}" y="{ly:.1f}" {FONT} font-size="11" text-anchor="middle" fill="#e8e8e0">Moon</text>')
        yield svg_doc("".join(parts), background="#05070f")


FILMS = {"CompassNeedle": compass_frames, "SoundWave": sound_frames, "MoonOrbit": moon_frames}


def make(name, out_dir, keep):
    frames_dir = os.path.join(tempfile.gettempdir(), f"quarvel-frames-{name}")
    shutil.rmtree(frames_dir, ignore_errors=True)
    os.makedirs(frames_dir)
    count = 0
    for i, doc in enumerate(FILMS[name]()):
        png = os.path.join(frames_dir, f"{i:04d}.png")
        subprocess.run(["rsvg-convert", "-w", str(W), "-h", str(H), "-o", png],
                       input=doc.encode("utf-8"), check=True)
        count += 1
    out = os.path.join(out_dir, f"{name}.flv")
    subprocess.run(["ffmpeg", "-y", "-loglevel", "error", "-framerate", str(FPS),
                    "-i", os.path.join(frames_dir, "%04d.png"),
                    "-c:v", "libx264", "-profile:v", "baseline", "-level", "3.0",
                    "-pix_fmt", "yuv420p", "-crf", "20", "-g", str(FPS),
                    "-an", "-f", "flv", out], check=True)
    if not keep:
        shutil.rmtree(frames_dir, ignore_errors=True)
    print(f"{out}: {count} frames, {os.path.getsize(out)} bytes")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("names", nargs="*", metavar="NAME", help=", ".join(FILMS))
    ap.add_argument("--out", default=DEFAULT_OUT)
    ap.add_argument("--keep", action="store_true")
    args = ap.parse_args()
    for tool in ("rsvg-convert", "ffmpeg"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: apt-get install librsvg2-bin ffmpeg")
    unknown = [x for x in args.names if x not in FILMS]
    if unknown:
        ap.error("unknown film: " + ", ".join(unknown))
    os.makedirs(args.out, exist_ok=True)
    for name in args.names or list(FILMS):
        make(name, args.out, args.keep)


if __name__ == "__main__":
    main()
