#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the unit and
# integration tests, then each libFuzzer target for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

# The fuzz targets need clang's libFuzzer; they build in a folder of their own.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKESTROVA_FUZZ=ON -DKESTROVA_WARNINGS_AS_ERRORS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-fuzz --output-on-failure
ctest --test-dir build --output-on-failure -j2
