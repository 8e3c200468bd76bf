#!/usr/bin/env bash
# Checks that every core folder includes only the folders below it in the layer order, the
# order in which core/CMakeLists.txt builds them as libraries. Prints each include against the
# order and fails when there is one. docs/design.md says what each layer holds.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(base serial events report protocol datafile collect panel stations session remote util app store plot health)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for folder in core/*/; do
    layer=$(basename "$folder")
    own=$(rank "$layer")
    if [ "$own" -lt 0 ]; then
        echo "core/$layer is not in the layer order of scripts/check-layers.sh"
        status=1
        continue
    fi
    while IFS=: read -r file line text; do
        included=$(sed -E 's|.*#include "core/([a-z]+)/.*|\1|' <<<"$text")
        if [ "$(rank "$included")" -gt "$own" ]; then
            echo "$file:$line: $layer includes $included, a layer above it"
            status=1
        fi
    done < <(grep -rnE '^#include "core/[a-z]+/' "$folder" --include='*.h' --include='*.cpp' || true)
done
[ "$status" -eq 0 ] && echo "every core folder includes only the layers below it"
exit "$status"
