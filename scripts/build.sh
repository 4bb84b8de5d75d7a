#!/usr/bin/env bash
# Configures and builds Tavrin into build/ (or $KIV_BUILD_DIR) with the given extra CMake options.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KIV_BUILD_DIR:-$root/build}
"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build"
