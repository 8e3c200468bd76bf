#!/usr/bin/env bash
# Installs what is missing, builds and runs every test in the given preset (default: default).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
