#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless:
# the libFuzzer targets for a bounded time (clang), the tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the normal build, whose CTest summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
JOBS=${JOBS:-2}

if [ -f fuzz/CMakeLists.txt ]; then
  CC=clang CXX=clang++ cmake -G Ninja -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORRINDALE_FUZZ=ON -DORRINDALE_GUI=OFF
  cmake --build build-fuzz -j "$JOBS"
  (cd build-fuzz && ctest --output-on-failure -L fuzz)
fi

cmake -G Ninja -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORRINDALE_SANITIZE=ON
cmake --build build-asan -j "$JOBS"
(cd build-asan && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$JOBS" -LE fuzz)

cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS" -LE fuzz)
