#!/usr/bin/env bash
# Builds Tavrin (Release, in the folder the tests build too) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release
exec "${KIV_BUILD_DIR:-$root/build}/KivApp/tavrin"
