#!/usr/bin/env bash
# Installs what is missing, builds the calculator and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "${JOBS:-2}"
if [ -x build/bin/orrindale ]; then
  exec build/bin/orrindale
fi
# Until the calculator window exists, the headless key driver shows the engine at work.
echo "The calculator window is not built yet; running the key driver: keyrun 2 Sqrt"
exec build/bin/keyrun 2 Sqrt
