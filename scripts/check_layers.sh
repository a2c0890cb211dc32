#!/usr/bin/env bash
# Checks that the game's folders stay layers, from top to bottom:
#
#   app -> ui, game -> board -> audio -> profile -> assets -> core
#
# A folder may use its own code and that of any folder below it; ui and game stand side by
# side and may not use each other. Fails when a source file
#   - includes a header of a folder above its own or beside it,
#   - declares a class of such a folder ("class Interface;"),
#   - defines a member of a class declared in another folder's headers (Route::update
#     defined in ui/), or a static data member of one,
#   - defines or declares a free function that only another folder's headers declare.
# Calls into a folder above are caught by the build: each layer's library is linked on its
# own with only the layers below it (mirevo_layer_<name>).
#
#   check_layers.sh [root]     checks the tree at root (default: this repository)
#   check_layers.sh --self-test
set -euo pipefail
SELF="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")"

# The layers and their height: a folder may use folders of a greater height only.
layers=(app ui game board audio profile assets core)
heights=(0 1 1 2 3 4 5 6)

height() {
    local i
    for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "${heights[$i]}" && return; done
    echo -1
}

# may_use <folder> <other>: true when code of <folder> may use <other>.
may_use() {
    [ "$1" = "$2" ] && return 0
    local own other
    own=$(height "$1")
    other=$(height "$2")
    [ "$other" -ge 0 ] && [ "$other" -gt "$own" ]
}

self_test() {
    local tmp status=0
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' RETURN
    # A small clean tree: a board class, a ui class using it, a free function of the board.
    make_tree() {
        rm -rf "$tmp/tree"
        mkdir -p "$tmp/tree"/{app,ui,game,board,audio,profile,assets,core}
        cd "$tmp/tree"
        printf 'class Route {\npublic:\n    void update();\n    static int count;\n};\nvoid setupRoutes(int n);\n' >board/route.h
        printf '#include "board/route.h"\n\nint Route::count = 0;\nvoid Route::update() {}\nvoid setupRoutes(int n) {\n    Route::count = n;\n}\n' >board/route.cpp
        printf '#include "board/route.h"\n\nclass View {\npublic:\n    void draw(const Route& r);\n};\n' >ui/view.h
        printf '#include "ui/view.h"\n\nnamespace {\nint helper(int x) {\n    return x;\n}\n}  // namespace\n\nvoid View::draw(const Route&) {}\n' >ui/view.cpp
        printf '#include "board/route.h"\n\nclass Game {\npublic:\n    Route route;\n};\n' >game/game.h
        printf '#include "game/game.h"\n#include "ui/view.h"\n\nint main() {\n    return 0;\n}\n' >app/main.cpp
        cd - >/dev/null
    }
    # expect <name> <pass|fail> <text the report must contain>
    expect() {
        local out rc=0
        out=$(bash "$SELF" "$tmp/tree" 2>&1) || rc=$?
        if [ "$2" = pass ] && [ "$rc" -ne 0 ]; then
            echo "self-test $1: the clean tree failed: $out"
            status=1
        elif [ "$2" = fail ] && { [ "$rc" -eq 0 ] || ! grep -qF -- "$3" <<<"$out"; }; then
            echo "self-test $1: not caught (status $rc): $out"
            status=1
        fi
    }
    make_tree
    expect clean pass ""
    make_tree
    printf '\nvoid Route::update() {}\n' >>"$tmp/tree/ui/view.cpp"
    sed -i 's/^void Route::update() {}$//' "$tmp/tree/board/route.cpp"
    expect member-elsewhere fail "ui/view.cpp defines Route::update, a member of board/"
    make_tree
    printf '\nint Route::count = 0;\n' >>"$tmp/tree/ui/view.cpp"
    sed -i 's/^int Route::count = 0;$//' "$tmp/tree/board/route.cpp"
    expect static-member-elsewhere fail "ui/view.cpp defines Route::count, a member of board/"
    make_tree
    sed -i '/^void setupRoutes/,/^}/d' "$tmp/tree/board/route.cpp"
    printf '\nvoid setupRoutes(int n) {\n    Route::count = n;\n}\n' >>"$tmp/tree/ui/view.cpp"
    expect free-function-elsewhere fail "ui/view.cpp defines setupRoutes, declared in board/"
    make_tree
    printf '\nvoid setupRoutes(int n);\n' >>"$tmp/tree/ui/view.h"
    sed -i 's/^void setupRoutes(int n);$//' "$tmp/tree/board/route.h"
    printf '\nvoid setupRoutes(int n);\n' >>"$tmp/tree/game/game.cpp"
    expect declaration-of-function-beside fail "game/game.cpp declares setupRoutes, declared in ui/"
    make_tree
    sed -i '1i #include "ui/view.h"' "$tmp/tree/board/route.cpp"
    expect include-upward fail "board/route.cpp includes ui/ (above board/)"
    make_tree
    sed -i '1i #include "ui/view.h"' "$tmp/tree/game/game.h"
    expect include-beside fail "game/game.h includes ui/ (beside game/)"
    make_tree
    sed -i '1i class View;' "$tmp/tree/game/game.h"
    expect declaration-beside fail "game/game.h declares class View of ui/"
    [ "$status" -eq 0 ] && echo "self-test passed"
    return "$status"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
    exit $?
fi

ROOT="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$ROOT"
bad=0
report() {
    echo "$1"
    bad=1
}

relation() {  # the word for where <other> stands from <folder>
    if [ "$(height "$2")" -eq "$(height "$1")" ]; then echo beside; else echo above; fi
}

files_of() {  # files_of <folder> <pattern...>
    local dir="$1"
    shift
    [ -d "$dir" ] || return 0
    local args=() p
    for p in "$@"; do args+=(-o -name "$p"); done
    find "$dir" -type f \( "${args[@]:1}" \) | sort
}

# Classes each folder's headers declare (not mere forward declarations), as "folder class".
classes=$(for dir in "${layers[@]}"; do
    for file in $(files_of "$dir" '*.h'); do
        sed -n -E 's/^(class|struct) +([A-Za-z_][A-Za-z0-9_]*)( +final)? *([:{].*)?$/\2/p' "$file" |
            sed "s|^|$dir |"
    done
done | sort -u)
class_home() {  # the folders whose headers declare class $1
    awk -v c="$1" '$2 == c { print $1 }' <<<"$classes"
}

# Free functions each folder's headers declare (lines at the left margin), as "folder name".
functions=$(for dir in "${layers[@]}"; do
    for file in $(files_of "$dir" '*.h'); do
        grep -E '^[A-Za-z_]' "$file" |
            grep -vE '^(class|struct|enum|union|using|typedef|namespace|template|extern|#)' |
            sed -n -E 's/^[^(=]*[^A-Za-z0-9_:]([a-z_][A-Za-z0-9_]*) *\(.*/\1/p' |
            sed "s|^|$dir |"
    done
done | sort -u)

for dir in "${layers[@]}"; do
    for file in $(files_of "$dir" '*.cpp' '*.h'); do
        # Includes.
        while IFS= read -r inc; do
            [ "$(height "$inc")" -ge 0 ] || continue
            may_use "$dir" "$inc" ||
                report "$file includes $inc/ ($(relation "$dir" "$inc") $dir/)"
        done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$file")

        # Forward declarations of classes of folders it may not use.
        while IFS= read -r cls; do
            for home in $(class_home "$cls"); do
                may_use "$dir" "$home" || report "$file declares class $cls of $home/"
            done
        done < <(sed -n -E 's/^(class|struct) +([A-Za-z_][A-Za-z0-9_]*) *;.*/\2/p' "$file")

        case "$file" in *.cpp) ;; *) continue ;; esac

        # Definitions of members: Class::name( or Class::name = / ; / [ / { at the margin.
        while IFS= read -r def; do
            cls="${def%%::*}"
            homes=$(class_home "$cls")
            [ -n "$homes" ] || continue  # a class of a library, not of the game
            grep -qx "$dir" <<<"$homes" ||
                report "$file defines $def, a member of $(echo $homes | sed 's|\([a-z]*\)|\1/|g')"
        done < <(grep -E '^[A-Za-z_~]' "$file" | grep -vE '^(return|using|namespace|typedef)\b' |
            grep -oE '\b[A-Z][A-Za-z0-9_]*::~?[A-Za-z_][A-Za-z0-9_]* *[(=;[{]' |
            sed -E 's/ *[(=;[{]$//' | sort -u)

        # Free functions defined or declared here (outside unnamed namespaces, not static)
        # that another folder's headers declare.
        while read -r verb name; do
            own=$(awk -v d="$dir" -v n="$name" '$1 == d && $2 == n' <<<"$functions")
            [ -z "$own" ] || continue
            for home in $(awk -v n="$name" '$2 == n { print $1 }' <<<"$functions"); do
                report "$file $verb $name, declared in $home/"
            done
        done < <(awk '
            /^namespace *\{/ { unnamed = 1; next }
            unnamed && /^\}  \/\/ namespace/ { unnamed = 0; next }
            unnamed || /^(static|return|using|typedef|namespace|class|struct|enum|#|\/\/)/ { next }
            /^[A-Za-z_]/ && !/::[A-Za-z_~][A-Za-z0-9_]* *\(/ {
                line = $0
                sub(/\(.*/, "", line)
                if (line ~ /[=;]/) next
                n = split(line, words, /[^A-Za-z0-9_]+/)
                name = words[n]
                verb = $0 ~ /\) *;/ ? "declares" : "defines"
                if (name ~ /^[a-z_][A-Za-z0-9_]*$/ && n > 1) print verb, name
            }' "$file" | sort -u)
    done
done
[ "$bad" -eq 0 ] && echo "layers hold: app -> ui, game -> board -> audio -> profile -> assets -> core"
exit "$bad"
