#!/usr/bin/env bash
# Builds everything (warnings are errors) and runs every test under ctest:
# unit and widget tests, the core tests again under ASan+UBSan, the web page
# tests in headless Chromium, and a bounded fuzzing run of the loader.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

jobs=$(nproc)

# The loader fuzzer needs clang's libFuzzer; it is built in a tree of its own.
fuzzer=""
if [ -f "$root/fuzz/CMakeLists.txt" ]; then
    cmake -S "$root/fuzz" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++
    cmake --build "$root/build-fuzz" -j "$jobs"
    fuzzer="$root/build-fuzz/fuzz_loader"
fi

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVI_WERROR=ON -DVI_FUZZER="$fuzzer"
cmake --build "$root/build" -j "$jobs"

if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$jobs" --timeout 600
