#!/bin/sh
# Planet maps from Debian packages (extracted under /tmp/deb/x)
set -e
S=/tmp/deb/x/stellarium-data/usr/share/stellarium/textures
X=/tmp/deb/x/xplanet-images/usr/share/xplanet/images
T=/work/main/content/Textures
J="-strip -interlace none -sampling-factor 2x2 -quality 85"
convert $X/earth.jpg -resize 2048x1024! $J $T/EarthMap.jpg
for p in Mercury:mercury venus:venus Mars:mars Jupiter:jupiter Saturn:saturn Uranus:uranus Neptune:neptune Pluto:pluto; do
  out=${p%%:*}; in=${p##*:}
  convert $S/$in.png -alpha off -filter Lanczos -resize 1024x512! $J $T/$out.jpg
done
