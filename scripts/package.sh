#!/usr/bin/env bash
# Builds the Debian package from the default build (cpack), lists what it holds, runs lintian
# on it, installs it into a throw-away root with dpkg, checks what was installed there (the
# programs start, the files are where they belong, the user unit passes systemd-analyze
# verify) and removes it again. Any failure ends the script with a non-zero status.
#
# The throw-away root is a folder with an empty dpkg database and log of its own: "dpkg --root"
# installs into it and purges from it without touching the system's packages. It works
# unprivileged too (--force-not-root: the files then belong to the user, not to root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build/default
[ -f "$build/CPackConfig.cmake" ] || cmake --preset default
cmake --build --preset default --target fenta21 fenta21-cli fenta21-sim fenta21-data fenta21-plot fenta21-man

rm -rf "$build/package"
(cd "$build" && cpack --config CPackConfig.cmake)
deb=$(ls "$build"/package/fenta21_*.deb)
echo "== $deb"
dpkg-deb --info "$deb"
echo "== contents"
dpkg-deb --contents "$deb"

echo "== lintian"
lintian --info --display-level '>=pedantic' --fail-on error,warning "$deb"

root=$(mktemp -d "${TMPDIR:-/tmp}/fenta21-root.XXXXXX")
trap 'rm -rf "$root"' EXIT
echo "== install into $root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
in_root=(dpkg --root="$root" --log="$root/var/log/dpkg.log")
[ "$(id -u)" -eq 0 ] || in_root+=(--force-not-root)
# The root has none of the libraries the package depends on; the system it is checked on has.
"${in_root[@]}" --force-depends --install "$deb"
# Each output is taken whole before it is searched: grep -q on a pipe may end the writer early.
status=$("${in_root[@]}" --status fenta21)
grep -q '^Status: install ok installed$' <<<"$status"

echo "== checks of the installed files"
usr=$root/usr
for file in bin/fenta21 bin/fenta21-cli bin/fenta21-sim bin/fenta21-data libexec/fenta21/fenta21-plot \
            share/fenta21/type.dat share/fenta21/cmd.dat \
            share/man/man1/fenta21.1.gz share/man/man1/fenta21-cli.1.gz share/man/man1/fenta21-sim.1.gz \
            share/man/man1/fenta21-data.1.gz \
            share/applications/fenta21.desktop share/applications/fenta21-data.desktop \
            share/icons/hicolor/scalable/apps/fenta21.svg \
            share/bash-completion/completions/fenta21-cli lib/systemd/user/fenta21-schedule@.service \
            share/doc/fenta21/copyright share/doc/fenta21/changelog.gz; do
  [ -e "$usr/$file" ] || { echo "missing: /usr/$file" >&2; exit 1; }
done
# Every installation file of the source tree is there, byte for byte.
diff -r config "$usr/share/fenta21"
help=$("$usr/bin/fenta21-cli" --help)
grep -q '^  ports ' <<<"$help"
"$usr/bin/fenta21-sim" --help >/dev/null
QT_QPA_PLATFORM=offscreen "$usr/bin/fenta21" --help >/dev/null
"$usr/bin/fenta21-data" --help >/dev/null
home=$(mktemp -d "$root/home.XXXXXX")
"$usr/bin/fenta21-cli" --home "$home" ports
# A picture without a display: fenta21-cli finds its helper in libexec, and the model files of
# the installation serve a home that has none.
"$usr/bin/fenta21-sim" --write-image "$home/DEMO.v38"
(unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; "$usr/bin/fenta21-cli" --home "$home" plot "$home/DEMO.v38" --out "$home/demo.png")
[ -s "$home/demo.png" ]
page=$(zcat "$usr/share/man/man1/fenta21-cli.1.gz")
grep -q '^\.SS ports' <<<"$page"
bash -n "$usr/share/bash-completion/completions/fenta21-cli"
desktop-file-validate "$usr/share/applications/fenta21.desktop" "$usr/share/applications/fenta21-data.desktop"
unit=$usr/lib/systemd/user/fenta21-schedule@.service
grep -q '^ExecStart=/usr/bin/fenta21-cli --home %h/%i schedule$' "$unit"

echo "== systemd-analyze verify"
# verify runs a user manager of its own, which needs a runtime folder (a container's root has
# none); it wants the program of ExecStart at the path named, so the unit is checked with
# ExecStart pointed at the throw-away root's copy, and it looks the Documentation= page up
# with man, which finds the root's pages through MANPATH. verify exits 0 on a key it ignores
# or cannot parse and only says so: anything it says fails the check.
units=$(mktemp -d)
runtime=$(mktemp -d)
sed "s|^ExecStart=/usr/bin/|ExecStart=$usr/bin/|" "$unit" > "$units/fenta21-schedule@.service"
said=$(XDG_RUNTIME_DIR="$runtime" MANPATH="$usr/share/man" \
       systemd-analyze --user verify "$units/fenta21-schedule@.service" 2>&1) || { echo "$said" >&2; exit 1; }
rm -rf "$units" "$runtime"
[ -z "$said" ] || { echo "$said" >&2; exit 1; }
echo "fenta21-schedule@.service: verified"

echo "== purge"
"${in_root[@]}" --purge fenta21
left=$(find "$usr" -name '*fenta21*' 2>/dev/null || true)
[ -z "$left" ] || { echo "left after purge: $left" >&2; exit 1; }
echo "package: $deb built, lintian clean, installed with dpkg --root into a throw-away root, checked and purged"
