#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test; then builds once more with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the unit and end-to-end tests again, so memory faults and undefined
# behaviour fail the run. LORVANE_SANITIZE_STAGE=0 leaves that second stage out (a quick local run).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")

if [ "${LORVANE_SANITIZE_STAGE:-1}" = 0 ]; then
  exit 0
fi
# Benchmarks and content generators are not part of the product and stay out of this build.
"$root/scripts/build.sh" "$root/build-asan" -DLORVANE_SANITIZE=ON -DLORVANE_BENCH=OFF -DLORVANE_TOOLS=OFF
# Leaks in system libraries (fontconfig, D-Bus…) are suppressed by library name; ours are not.
export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$root/build-asan" && ctest --output-on-failure -j "$(nproc)")
