#!/usr/bin/env bash
# Builds Tavrin and runs every test suite twice: in the normal build (Release), then in a Debug
# build with AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails the run.
# Both builds treat compiler warnings as errors. `--quick` runs the normal build's suites only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KIV_BUILD_DIR:-$root/build}

"$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release -DKIV_WERROR=ON
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
[ "${1:-}" = "--quick" ] && exit 0

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The sanitizer build needs no benchmarks, and line tables (-g1) are enough for its reports.
KIV_BUILD_DIR="$build-sanitize" "$root/scripts/build.sh" -DKIV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DKIV_WERROR=ON \
    -DKIV_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG=-g1
ctest --test-dir "$build-sanitize" --output-on-failure -j"$(nproc)"
