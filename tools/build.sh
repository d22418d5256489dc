#!/usr/bin/env bash
# Builds the 32-bit program into build/ (build/brinkvale.exe). Extra arguments go to CMake's build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" "$@"
