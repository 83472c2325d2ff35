#!/usr/bin/env bash
# Checks every C++ source of the tree against the checked-in .clang-format, so a new folder is
# covered without being listed anywhere. In a git checkout that is every tracked or new file
# git does not ignore (build trees are ignored); elsewhere every file outside build trees.
#   check_format.sh CLANG_FORMAT [SOURCE_ROOT]
set -euo pipefail
clang_format=$1
cd "${2:-$(dirname "$0")/..}"

sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        # Tracked files deleted in the work tree are still listed; they have nothing to check.
        git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' |
            while IFS= read -r -d '' f; do if [ -f "$f" ]; then printf '%s\0' "$f"; fi; done
    else
        find . \( -path './.*' -o -name 'build*' -o -name out \) -prune -o \
            -type f \( -name '*.cpp' -o -name '*.h' \) -print0
    fi
}
sources | xargs -0 -r "$clang_format" --dry-run --Werror
