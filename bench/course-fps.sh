#!/usr/bin/env bash
# Frames per second of every 3D topic in one run, side by side: each page is
# opened in a 1024 x 768 window, "+run" starts its animation (a topic without
# one is redrawn 200 times, as a drag redraws it), and Vantrel's --benchmark
# figures are collected into one table.
#   bench/course-fps.sh [BUILD_BIN_FOLDER]
set -euo pipefail
bin=${1:-build/bin}
cfg=$(mktemp -d)
trap 'rm -rf "$cfg"' EXIT
export XDG_CONFIG_HOME=$cfg QTWEBENGINE_DISABLE_SANDBOX=1
pages=(MOONPHASE ECLIPSE NIGHTDAY SEASONS SOLARSYSTEM SATELLITES GRAVITY MOTOR BELL RELAY LEFTHAND SPEAKER
       CONDUCTION RADABSORB HCMODEL SPEED EARTHFIELD PLANE_MIRROR1 REFRACTION STWIRE DOMAIN PLANE_MIRROR2)
echo "| Page \`+run\` | fps | frame_ms_p50 | frame_ms_p99 | frame_ms_mean |"
echo "|---|---|---|---|---|"
for page in "${pages[@]}"; do
  out=$("$bin/vantrel" --open "$page.HTM" --command +run --benchmark --quit 2>/dev/null || true)
  value() { sed -n "s/^$1: //p" <<<"$out" | head -1; }
  echo "| $page.HTM | $(value fps) | $(value frame_ms_p50) | $(value frame_ms_p99) | $(value frame_ms_mean) |"
done
