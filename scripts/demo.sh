#!/usr/bin/env bash
# Installs what is missing, builds, and talks to a simulated logger on a pseudo-terminal: with a
# display, the desktop program opens on it; without one (or with --cli), the command-line program
# names, collects and converts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

desktop=false
if [ "${1:-}" != "--cli" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then desktop=true; fi
# Only the programs the demo runs: a first look should not wait for every test to be built
# (scripts/test.sh builds the rest).
if $desktop; then programs=(fenta21 fenta21-sim); else programs=(fenta21-cli fenta21-sim); fi
cmake --preset default >/dev/null
cmake --build --preset default --target "${programs[@]}"

bin=build/default
demo=$(mktemp -d /tmp/fenta21-demo.XXXXXX)
home="$demo/home"
mkdir -p "$home" "$demo/data"
cp config/* "$home/"
link="$demo/ttyLOGGER"
echo "COM1 $link" > "$home/comports.txt"

"$bin/sim/fenta21-sim" --link "$link" --name "KAWABE-01" --reply "rome=ROM V3.02" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

if $desktop; then
  echo "Demo home folder: $home (comports.txt maps COM1 to the simulated logger)"
  echo "Data folder:      $demo/data"
  echo "== fenta21 --home $home   (F1 collects; close the window to end the demo)"
  "$bin/gui/fenta21" --home "$home"
  exit 0
fi

echo
echo "== fenta21-cli --home $home send eerm0 xerm0 rome"
"$bin/cli/fenta21-cli" --home "$home" send eerm0 xerm0 rome
echo
echo "== fenta21-cli --home $home collect   (searches the ports and speeds, then collects)"
export FENTA21_TIME_SCALE=${FENTA21_TIME_SCALE:-0.25}
files=$("$bin/cli/fenta21-cli" --home "$home" collect)
echo "$files"
csv=$(echo "$files" | grep '\.csv$' || true)
if [ -n "$csv" ]; then
  echo
  echo "== head of $csv (code page 932, shown as UTF-8)"
  head -n 14 "$csv" | iconv -f CP932 -t UTF-8
fi
echo
echo "Demo home folder: $home (comports.txt maps COM1 to the simulated logger)"
echo "Data folder:      $demo/data"
