#!/usr/bin/env bash
# Regenerates docs/screenshot.png: Tavrin started on a small sample home folder and drawn
# offscreen, the picture taken once start-up has finished (left panel focused, divider centred).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KIV_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"

# A short, home-like path reads better in the picture than a random temporary name.
base=/tmp/home
[ -e "$base" ] && base=$(mktemp -d)
home=$base/ann
trap 'rm -rf "$base"' EXIT
mkdir -p "$home"
cd "$home"
mkdir Documents Downloads Music Pictures projects
printf 'Buy milk\nCall the bank\n' > todo.txt
printf '# Notes\n\nThe quarterly figures are in Documents.\n' > notes.md
head -c 48213 /dev/zero > report.pdf
head -c 251904 /dev/zero > holiday.jpg
head -c 1048576 /dev/zero > backup.img
tar -czf photos-2025.tar.gz Pictures
printf 'export EDITOR=vi\n' > .profile
touch -d '2026-03-14 10:30' ./* .profile

mkdir -p "$root/docs"
HOME="$home" QT_QPA_PLATFORM=offscreen "$build/bench/startbench" --screenshot "$root/docs/screenshot.png"
echo "wrote $root/docs/screenshot.png"
