#!/usr/bin/env bash
# Wall time and peak memory of the programs themselves on a full logger memory (2 million
# records): "fenta21-cli plot" to PNG, SVG and PDF beside "fenta21-cli csv" of the same file.
# Run after a build of plot_bench, fenta21-cli and fenta21-plot (build/default).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/default
work=$(mktemp -d "${TMPDIR:-/tmp}/fenta21-plot-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$bin/bench/plot_bench" --write-image "$work/FULL.v38"
"$bin/cli/fenta21-cli" init "$work/home" >/dev/null
for format in png svg pdf; do
  /usr/bin/time -f "plot $format: %e s, peak %M KiB" \
    "$bin/cli/fenta21-cli" --home "$work/home" plot "$work/FULL.v38" --out "$work/FULL.$format" --size 1920x1080 \
    >/dev/null
done
/usr/bin/time -f "csv: %e s, peak %M KiB" "$bin/cli/fenta21-cli" --home "$work/home" csv --yes "$work/FULL.v38" >/dev/null
