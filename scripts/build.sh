#!/usr/bin/env bash
# Configures and builds: into build/ the targets named as arguments, else everything (the
# program, its schema tool, the tests and the benchmarks). With --sanitize first: into
# build-asan/, everything but the benchmarks, instrumented with AddressSanitizer and
# UndefinedBehaviorSanitizer (unoptimised, so that it builds fast; any undefined behaviour stops
# the program that shows it).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
folder="$here/build"
# Optimised, without debugging information, which would cost a third of the build time.
options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG")
if [ "${1:-}" = "--sanitize" ]; then
  shift
  folder="$here/build-asan"
  options=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1"
           -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
           -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON)
fi
cmake -S "$here" -B "$folder" -G Ninja "${options[@]}" >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$folder" -j "$(nproc)" "${targets[@]}"
