#!/usr/bin/env bash
# Pictures of the desktop program's windows: builds, starts the simulated logger and the program
# under a virtual display (Xvfb) with a demo home folder, opens the windows one after another and
# saves a PNG of each into a folder it prints at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target fenta21 fenta21-cli fenta21-sim fenta21-screenshots fenta21-data-screenshots

bin=build/default
work=$(mktemp -d /tmp/fenta21-screenshots.XXXXXX)
home="$work/home"
out="${1:-$work/pictures}"
mkdir -p "$home" "$work/data" "$out"
cp config/* "$home/"
link="$work/ttyLOGGER"
# COM1 a wind logger, COM2 a water level logger, COM3 a snow depth logger: each family's panel
# has dialogs of its own. COM4 a modem with the address book's two remote stations, for the
# modem port search and the arbitrary collection.
printf 'COM1 %s\nCOM2 %s\nCOM3 %s\nCOM4 %s\n' "$link" "$work/ttyLEVEL" "$work/ttySNOW" "$work/ttyMODEM" \
  > "$home/comports.txt"
# Two option programs, so that the menu with "ｵﾌﾟｼｮﾝ(&O)" and its list are pictured too.
touch "$home/binary.exe" "$home/plot.exe"
echo "ﾊﾞｲﾅﾘﾋﾞｭｰｱ" | iconv -f UTF-8 -t CP932 > "$home/binary"   # name files are in code page 932
echo "グラフ表示" | iconv -f UTF-8 -t CP932 > "$home/plot"
touch "$home/rimo.exe"

# Paced, so that the collection's window stays up long enough to be seen.
"$bin/sim/fenta21-sim" --link "$link" --name "KAWABE-01" --reply "rome=ROM V3.02" --pace 9600 \
  > "$work/sim.log" 2>&1 &
sims=$!
"$bin/sim/fenta21-sim" --link "$work/ttyLEVEL" --name "KAWABE-LV" --model LVLA-01 > "$work/sim-level.log" 2>&1 &
sims="$sims $!"
"$bin/sim/fenta21-sim" --link "$work/ttySNOW" --name "KAWABE-SD" --model QS-21 > "$work/sim-snow.log" 2>&1 &
sims="$sims $!"
"$bin/sim/fenta21-sim" --link "$work/ttyMODEM" --station 0311112222:1:KAWABE --station 0322223333:2:YAMADA \
  --pace 9600 > "$work/sim-modem.log" 2>&1 &
sims="$sims $!"
trap 'kill $sims 2>/dev/null; wait $sims 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "$link" ] && [ -e "$work/ttyLEVEL" ] && [ -e "$work/ttySNOW" ] && [ -e "$work/ttyMODEM" ] && break
  sleep 0.1
done

export FENTA21_TIME_SCALE=${FENTA21_TIME_SCALE:-0.25}
export FENTA21_START_TIME=${FENTA21_START_TIME:-2026-12-08T10:29:00}
export QT_QPA_PLATFORM=xcb
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/tests/gui/fenta21-screenshots" "$home" "$out" || status=$?

# The data program on the golden files of the plots: a wind station, a water level logger and an
# eight-channel strain logger, made from their recipes; its record store dialog on a home of its
# own whose store holds the wind station.
for recipe in tests/golden/plot/*.recipe; do
  "$bin/sim/fenta21-sim" --image-recipe "$recipe" --write-image "$work/data/$(basename "$recipe" .recipe).v38"
done
"$bin/cli/fenta21-cli" init "$work/plots/home" >/dev/null
"$bin/cli/fenta21-cli" --home "$work/plots/home" db import --station KAWABE-01 "$work/data/wind_station.v38" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/tests/gui/fenta21-data-screenshots" "$work/plots/home" "$work/data" "$out" \
  || status=$?
echo
echo "Pictures: $out"
exit $status
