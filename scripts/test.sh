#!/usr/bin/env bash
# Builds ledgerbox and runs every test offscreen. With --sanitize: the same suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer (in build-asan/); a memory error, a leak of
# ours or undefined behaviour fails the test that shows it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
folder="$here/build"
if [ "${1:-}" = "--sanitize" ]; then
  bash "$here/scripts/build.sh" --sanitize
  folder="$here/build-asan"
  export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
  export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1"
else
  bash "$here/scripts/build.sh"
fi
cd "$folder"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600
