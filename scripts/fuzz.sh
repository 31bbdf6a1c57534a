#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) and fuzzes every one of them in turn:
#   bash scripts/fuzz.sh [SECONDS-PER-TARGET]    (default 300)
# Each starts from its seed corpus in fuzz/corpus/ and keeps what it finds in
# build-fuzz/fuzz-runs/<target>/ (crashes under artifacts/). Ends with 1 when
# any target failed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKESTROVA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz

failed=()
for target in build-fuzz/bin/*_fuzz; do
  name=$(basename "$target")
  echo "== $name, ${seconds}s"
  if ! bash fuzz/run_fuzzer.sh "$target" "$seconds" "build-fuzz/fuzz-runs/$name"; then
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs under build-fuzz/fuzz-runs/<target>/artifacts/)" >&2
  exit 1
fi
echo "every target ran ${seconds}s without a finding"
