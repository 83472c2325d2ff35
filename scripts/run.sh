#!/usr/bin/env bash
# Installs what is missing, builds the calculator and its program folder (pictures and help
# document, nothing else) and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "${JOBS:-2}" --target program_folder
exec build/bin/orrindale
