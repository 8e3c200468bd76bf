#!/usr/bin/env bash
# Installs what the build, the tests and the demo need, where it is missing. The CF card window
# formats with dosfstools' mkfs.fat (the tests format card images with it) and unmounts and
# mounts a real card through udisks2. The package (scripts/package.sh) needs help2man for the
# manual pages, dpkg-dev and file for cpack's dependency scan, lintian, desktop-file-utils,
# and systemd for systemd-analyze. fenta21-cli writes its --json results with nlohmann-json.
# The fuzz targets (scripts/fuzz.sh) are built with clang, whose libFuzzer runtime is in
# libclang-rt-14-dev. Qt's own dialogs speak Japanese through qt6-translations-l10n. The record
# store keeps its records in SQLite (libsqlite3-dev) or PostgreSQL (libpq-dev; the tests start a
# server of their own from the postgresql package) and knows a file by its SHA-256 (libssl-dev).
# Plots are written as SVG through qt6-svg-dev.
set -euo pipefail
packages=(build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev lrzsz
          qt6-base-dev qt6-translations-l10n xvfb xauth fonts-noto-cjk dosfstools udisks2 nlohmann-json3-dev
          help2man dpkg-dev file lintian desktop-file-utils systemd clang libclang-rt-14-dev
          libsqlite3-dev libpq-dev libssl-dev postgresql qt6-svg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
