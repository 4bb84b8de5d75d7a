#!/usr/bin/env bash
# Builds Tavrin (Release, in the folder the tests build too) and starts it with the arguments given
# (`./scripts/run.sh ~/src /tmp` opens the panels there).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release
exec "${KIV_BUILD_DIR:-$root/build}/KivApp/tavrin" "$@"
