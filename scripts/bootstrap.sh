#!/usr/bin/env bash
# Installs the Debian packages Tavrin needs to build, test and run, and any named on the command
# line (scripts/fuzz.sh adds clang). Safe to run again: it installs only what is missing, as root
# or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libglib2.0-dev libgl-dev libicu-dev libarchive-dev zlib1g-dev libgtest-dev librapidcheck-dev
  libvterm-dev libssh-dev openssh-server openssh-client ccache
  unzip zip tar gzip xz-utils bzip2 libarchive-tools util-linux
  fonts-dejavu-core fonts-wqy-microhei
  dpkg-dev file groff-base locales
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "bootstrap: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
