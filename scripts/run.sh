#!/usr/bin/env bash
# Builds Tavrin and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
exec "${KIV_BUILD_DIR:-$root/build}/KivApp/tavrin"
