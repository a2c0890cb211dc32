#!/usr/bin/env bash
# Fails when a game source file includes a header of a folder above its own. The folders,
# from top to bottom: app, game, ui, board, audio, profile, assets, core. A folder may include
# its own headers and those of any folder below it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
layers=(app game ui board audio profile assets core)
rank() {
    local i
    for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
    echo -1
}
bad=0
for dir in "${layers[@]}"; do
    own=$(rank "$dir")
    for file in $(find "$dir" -name '*.cpp' -o -name '*.h'); do
        while IFS= read -r inc; do
            other=$(rank "$inc")
            if [ "$other" -ge 0 ] && [ "$other" -lt "$own" ]; then
                echo "$file includes $inc/ (above $dir/)"
                bad=1
            fi
        done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$file")
    done
done
[ "$bad" -eq 0 ] && echo "includes run downward"
exit "$bad"
