#!/usr/bin/env bash
# The folder tree is the layer diagram; this check reads only the sources (nothing is built):
#   floor 1   engine/   common/          the calculator (standard library only, no Qt) and what
#                                        every window uses; common/ may include engine/
#   floor 2   cards/magnetic/ cards/marked/ viewer/ plotter/ memexp/
#                                        the peripherals, each including only floor 1 and itself
#   floor 3   panel/                     the main window, which may include everything below
#   floor 4   tools/ bench/ fuzz/ tests/ may include everything
# Prints every offending include as file:line and fails if there is one.
#   check_layers.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# The layer a path within the tree belongs to, or nothing for a path outside our folders.
layer_of() {
    case $1 in
    engine/*) echo engine ;;
    common/*) echo common ;;
    cards/magnetic/*) echo cards/magnetic ;;
    cards/marked/*) echo cards/marked ;;
    cards/*) echo cards ;; # only its build file: every source lives in one of the two families
    viewer/* | plotter/* | memexp/*) echo "${1%%/*}" ;;
    panel/*) echo panel ;;
    tools/* | bench/* | fuzz/* | tests/*) echo top ;;
    esac
}

floor_of() {
    case $1 in
    engine | common) echo 1 ;;
    panel) echo 3 ;;
    top) echo 4 ;;
    *) echo 2 ;;
    esac
}

# Whether a file of layer $1 may include a header of layer $2: its own layer, or a lower floor
# (the engine excepted, which includes only itself).
allowed() {
    local from=$1 to=$2
    [ "$from" = "$to" ] && return 0
    [ "$from" = engine ] && return 1
    [ "$from" = common ] && { [ "$to" = engine ]; return; }
    [ "$(floor_of "$to")" -lt "$(floor_of "$from")" ]
}

failures=0
while IFS= read -r file; do
    from=$(layer_of "$file")
    [ -n "$from" ] || continue
    dir=$(dirname "$file")
    # file:line:text of every include directive, quoted or angled.
    while IFS=: read -r line text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            name=${BASH_REMATCH[1]}
            # A quoted name is looked up beside the including file first, then from the root.
            if [ -e "$dir/$name" ]; then
                target=$(realpath -m --relative-to=. "$dir/$name")
            else
                target=$(realpath -m --relative-to=. "$name")
            fi
            to=$(layer_of "$target")
            if [ -n "$to" ] && ! allowed "$from" "$to"; then
                echo "$file:$line: $from code must not include $target ($to)"
                failures=$((failures + 1))
            fi
        elif [ "$from" = engine ] &&
            [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[^\>]*)\> ]]; then
            echo "$file:$line: the engine must not use Qt (${BASH_REMATCH[1]})"
            failures=$((failures + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find engine common cards viewer plotter memexp panel tools bench fuzz tests -type f \
    \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.inl' \) | sort)

if [ "$failures" -gt 0 ]; then
    echo "$failures include(s) cross the layers"
    exit 1
fi
echo "layers ok"
