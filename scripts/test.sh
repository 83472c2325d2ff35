#!/usr/bin/env bash
# Installs what is missing, builds what the tests run and runs every test headless:
# the libFuzzer targets for a bounded time (clang), the tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the normal build, whose CTest summary closes the output.
# Each build tree builds only what its tests run (targets fuzz_targets and test_programs).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
JOBS=${JOBS:-2}

# ccache pays off from the second build on; a CI machine starts empty every time, so there it
# would only add its own work to every compile.
CCACHE=ON
if [ -n "${CI:-}" ] && [ "$CI" != false ]; then CCACHE=OFF; fi

if [ -f fuzz/CMakeLists.txt ]; then
  CC=clang CXX=clang++ cmake -G Ninja -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORRINDALE_FUZZ=ON -DORRINDALE_GUI=OFF -DORRINDALE_CCACHE="$CCACHE"
  cmake --build build-fuzz -j "$JOBS" --target fuzz_targets
  # Each fuzz test runs for a fixed time on one core, so they share the cores side by side.
  (cd build-fuzz && ctest --output-on-failure -j "$JOBS" -L fuzz)
fi

cmake -G Ninja -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORRINDALE_SANITIZE=ON \
  -DORRINDALE_CCACHE="$CCACHE"
cmake --build build-asan -j "$JOBS" --target test_programs
# Timing benchmarks run only in the optimised build below.
(cd build-asan && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$JOBS" -LE "fuzz|bench")

cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORRINDALE_CCACHE="$CCACHE"
# The benchmarks are among the test programs: each runs briefly as a test. The icon is built
# too, which only the installation takes.
cmake --build build -j "$JOBS" --target test_programs desktop_icon
# The installed program and its Debian package (tests/install_check.sh), before the CTest
# summary, which stays the last output.
bash tests/install_check.sh build build/bin/readlist
(cd build && ctest --output-on-failure -j "$JOBS" -LE fuzz)
