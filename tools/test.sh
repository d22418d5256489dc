#!/usr/bin/env bash
# Installs what is missing, builds the program and every test, and runs them all under Wine.
# The tests run on a 32-bit build where this machine can run 32-bit code, else on a 64-bit
# build of the same sources; the 32-bit program is then checked as a file.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/install-deps.sh
[ -n "${BV_SKIP_PRODUCT:-}" ] || bash tools/build.sh

source tools/wine-env.sh
if bv_can_run_win32; then export BV_ARCH=i686; else export BV_ARCH=x86_64; fi
tree="${BV_TREE:-build/test-$BV_ARCH}"
echo "test build: $BV_ARCH ($tree)"
cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$BV_ARCH.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DBV_TESTS=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/wine-run.sh;$(bv_wine_loader)" >/dev/null
cmake --build "$tree" -j"$(nproc)" ${BV_TARGETS:+--target $BV_TARGETS}

export WINEPREFIX="${BV_PREFIX:-$root/build/wineprefix-$BV_ARCH}"
trap bv_wine_down EXIT
bv_wine_up
cd "$tree"
ctest --output-on-failure -j2 "$@"
