#!/usr/bin/env bash
# Builds everything (warnings are errors) and runs every test under ctest:
# unit and widget tests, the core tests again under ASan+UBSan, the web page
# tests in headless Chromium, and bounded fuzzing runs of the loader.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

jobs=$(nproc)

# The fuzz targets need clang's libFuzzer; they are built in a tree of their own.
# (A tree left by the former stand-alone fuzz project is made afresh.)
if grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$root/fuzz" "$root/build-fuzz/CMakeCache.txt" 2>/dev/null; then
    rm -rf "$root/build-fuzz"
fi
(cd "$root" && cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs")
fuzzer="$root/build-fuzz/bin/fuzz_loader"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVI_WERROR=ON -DVI_FUZZER="$fuzzer"
cmake --build "$root/build" -j "$jobs"

if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$jobs" --timeout 600
