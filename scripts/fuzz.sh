#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $KIV_FUZZ_BUILD_DIR) and runs one
# of them for SECONDS seconds: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...].
# TARGET is archive-listing or user-menu. New inputs collect in
# build-fuzz/corpus/TARGET (the committed seeds in fuzz/corpus/TARGET are only read); an input
# that breaks an invariant or trips a sanitizer is saved as build-fuzz/artifacts/TARGET-crash-*;
# libFuzzer's log goes to build-fuzz/logs/TARGET/fuzz-0.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KIV_FUZZ_BUILD_DIR:-$root/build-fuzz}
if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
    exit 2
fi
target=$1 seconds=$2
shift 2

"$root/scripts/bootstrap.sh" clang
CXX=${KIV_FUZZ_CXX:-clang++} cmake -S "$root" -B "$build" -G Ninja -DKIV_FUZZ=ON -DKIV_BUILD_APP=OFF \
    -DKIV_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "kivfuzz-$target"

mkdir -p "$build/corpus/$target" "$build/artifacts" "$build/logs/$target"
cd "$build/logs/$target" # the worker of -jobs writes its log into the current folder
"$build/fuzz/kivfuzz-$target" -max_total_time="$seconds" -jobs=1 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" "$@" "$build/corpus/$target" "$root/fuzz/corpus/$target" || status=$?
tail -n 12 fuzz-0.log
exit "${status:-0}"
