#!/usr/bin/env bash
# Writes the fuzzers' seed corpora into fuzz/corpus/<target>/: real "unzip -l" and "tar -tvf"
# output of a small archive with awkward member names (the nine-field layout from bsdtar, in
# Debian's libarchive-tools, when it is installed), plus hand-written lines of that layout, menu
# files and archive trees. The output is committed; rerun after changing this.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/tree/docs/sub/c" "$work/tree/empty dir"
cd "$work/tree"
printf a >docs/a.txt
printf bb >docs/sub/b.txt
printf d >docs/sub/c/d.txt
printf x >"read  me.md"
printf x >"a[1].txt"
printf x >"-dash.txt"
printf x >Name
printf x >"back\\slash"
printf x >"$(printf 'latin\351.txt')"
printf x >"$(printf 'tab\there')"
printf x >"a -> b.txt"
ln -s docs/a.txt link
ln docs/a.txt "docs/hard link"
zip -qry "$work/sample.zip" .
tar -cf "$work/sample.tar" -- *
tar -cf "$work/sample-dot.tar" .
cd "$work"

mkdir -p "$corpus"/{zip-listing,tar-listing,archive-children,user-menu}
unzip -l sample.zip >"$corpus/zip-listing/unzip-l.txt"
tar -tvf sample.tar >"$corpus/tar-listing/gnu-tar-tvf.txt"
tar --numeric-owner -tvf sample-dot.tar >"$corpus/tar-listing/gnu-tar-tvf-numeric.txt"
if command -v bsdtar >/dev/null; then
    bsdtar -tvf sample.tar >"$corpus/tar-listing/bsdtar-tvf.txt"
fi

cat >"$corpus/tar-listing/nine-field.txt" <<'LINES'
drwxr-xr-x  0 ann  staff       0 Mar  2 09:15 src/
-rw-r--r--  0 ann  staff    2048 Mar  2 09:15 src/main file.c
lrwxr-xr-x  0 ann  staff       0 Jan 15  2023 src/current -> main file.c
-rw-r--r--  0 ann  staff      -1 Jan 15  2023 src/odd  name
-rw-r--r--  0 ann  staff   1,024 Jan 15  2023 skipped
LINES

unzip -Z1 sample.zip | sed '1s/^/docs\/\n/' >"$corpus/archive-children/members.txt"
printf '\n/abs.txt\nx//y.txt\nfile10.txt\nFile9.txt\nnotes.zip\t7\nDir10/z\ndir9/z\na.txt\na.txt\t-1\n' \
    >"$corpus/archive-children/root.txt"

cat >"$corpus/user-menu/default.txt" <<'LINES'
# Tavrin - user menu (F2)
# Format: hotkey|label|shell command

1|List files by size|ls -lhS
2|Show disk usage here|du -sh ./* 2>/dev/null | sort -h
3|Git status|git status
4|Open Terminal here|open -a Terminal .
LINES
printf '  x | Edit | vi  \n\t# indented comment\n12|Twelve|echo 12\n|No key|ls\n5|Only label\n\xc3\xa9|Accent|echo \xc3\xa9\na|Archive|tar czf out.tgz . | cat\n' \
    >"$corpus/user-menu/odd-lines.txt"
