#!/usr/bin/env bash
# Start-up of Vantrel against a bare web view on the same index page, run
# alternately (five of each by default, RUNS=n for more) so both see the same
# machine; prints the two medians and their ratio.
#   bench/startup-compare.sh [BUILD_BIN_FOLDER]
set -euo pipefail
bin=${1:-build/bin}
runs=${RUNS:-5}
cfg=$(mktemp -d)
trap 'rm -rf "$cfg"' EXIT
export XDG_CONFIG_HOME=$cfg QTWEBENGINE_DISABLE_SANDBOX=1
vantrel=() baseline=()
for _ in $(seq "$runs"); do
  rm -rf "${cfg:?}"/* # every Vantrel run is a first run
  vantrel+=("$("$bin/vantrel" --benchmark --quit 2>/dev/null | sed -n 's/^startup_ms: //p')")
  baseline+=("$("$bin/webengine_baseline" "$bin/HTML/index.html" 2>/dev/null | sed -n 's/^startup_ms: //p')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
v=$(median "${vantrel[@]}")
b=$(median "${baseline[@]}")
echo "vantrel_startup_ms: $v"
echo "baseline_startup_ms: $b"
awk -v v="$v" -v b="$b" 'BEGIN { printf "ratio: %.2f\n", v / b }'
