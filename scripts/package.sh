#!/usr/bin/env bash
# Builds Tavrin (Release, in the folder the tests build too) and makes its Debian package there
# with CPack: build/tavrin_<version>_<arch>.deb, which `sudo apt install ./build/tavrin_*.deb`
# installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KIV_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
cd "$build"
cpack -G DEB | grep -F 'generated'
