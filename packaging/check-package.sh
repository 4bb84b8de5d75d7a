#!/usr/bin/env bash
# Makes the Debian package of the built tree BUILD with CPack, in a scratch folder, and checks it
# without installing it: its name, that it holds every file it must and nothing else, and that
# dpkg-shlibdeps found the libraries it needs. Prints what is missing or extra and fails.
# Usage: check-package.sh BUILD VERSION
set -euo pipefail
build=$1 version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  exit 1
fi
deb="$scratch/tavrin_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  echo "no package named $(basename "$deb"); CPack made:" "$scratch"/*.deb
  exit 1
fi

icons=/usr/share/icons/hicolor
expected=(
  /usr/bin/tavrin
  /usr/share/applications/tavrin.desktop
  $icons/scalable/apps/tavrin.svg
  $icons/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/tavrin.png
  /usr/share/metainfo/org.tavrin.Tavrin.metainfo.xml
  /usr/share/man/man1/tavrin.1.gz
  /usr/share/doc/tavrin/copyright
  /usr/share/doc/tavrin/changelog.gz
)
status=0
# Every file but folders, as "/usr/...".
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }' | sort >"$scratch/held"
printf '%s\n' "${expected[@]}" | sort >"$scratch/expected"
if ! diff "$scratch/expected" "$scratch/held" >"$scratch/difference"; then
  echo "The package's files differ from those expected ('<' missing, '>' not expected):"
  grep '^[<>]' "$scratch/difference"
  status=1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 qt6-qpa-plugins; do
  if ! grep -q "\b$library\b" <<<"$depends"; then
    echo "Depends lacks $library: $depends"
    status=1
  fi
done
exit $status
