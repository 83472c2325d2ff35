#!/usr/bin/env bash
# Keeps the layers apart, reading only the sources (nothing needs to be built):
#   engine  <-  panel/shared  <-  cards, viewer, plotter, memexp  <-  panel
# engine/ includes only engine/ and no Qt; panel/shared/ includes only engine/ and itself;
# a peripheral folder includes only engine/, panel/shared/ and itself. The rest of panel/
# (the main window and main.cpp) may use everything. Folders that do not exist yet are skipped.
# Prints every offending include as file:line and fails if there is one.
#   check_layers.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

peripherals=(cards viewer plotter memexp)

# The layer a path within the tree belongs to, or nothing for a path outside our folders.
layer_of() {
    case $1 in
    engine/*) echo engine ;;
    panel/shared/*) echo shared ;;
    panel/*) echo panel ;;
    cards/* | viewer/* | plotter/* | memexp/*) echo "${1%%/*}" ;;
    esac
}

# Whether a file of layer $1 may include a header of layer $2.
allowed() {
    local from=$1 to=$2
    [ "$from" = "$to" ] && return 0
    case $from in
    engine) return 1 ;;
    shared) [ "$to" = engine ] ;;
    *) [ "$to" = engine ] || [ "$to" = shared ] ;;
    esac
}

folders=()
for f in engine panel/shared "${peripherals[@]}"; do
    [ -d "$f" ] && folders+=("$f")
done

failures=0
while IFS= read -r file; do
    from=$(layer_of "$file")
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
done < <(find "${folders[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \
    -o -name '*.cc' -o -name '*.inl' \) | sort)

if [ "$failures" -gt 0 ]; then
    echo "$failures include(s) cross the layers"
    exit 1
fi
echo "layers ok: ${folders[*]}"
