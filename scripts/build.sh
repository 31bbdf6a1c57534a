#!/usr/bin/env bash
# Configures and builds the program, tools, tests and benchmarks in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build
