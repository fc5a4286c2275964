#!/usr/bin/env bash
# Configures and builds into build/: the targets named as arguments, else everything (the
# program, its schema tool, the tests and the benchmarks).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$here/build" -j "$(nproc)" "${targets[@]}"
