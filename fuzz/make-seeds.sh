#!/usr/bin/env bash
# Writes the fuzzers' seed corpora into fuzz/corpus/<target>/: small archives in several formats
# (zip, tar, gzip, cpio and 7z through bsdtar from Debian's libarchive-tools) holding awkward member
# names, links and members that try to climb out, and menu files. The output is committed; rerun
# after changing this.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/tree/docs/sub" "$work/tree/empty dir"
cd "$work/tree"
printf a >docs/a.txt
printf d >docs/sub/d.txt
printf x >" leading.txt"
printf x >"$(printf 'latin\351.txt')"
printf x >"$(printf 'new\nline')"
ln -s docs/a.txt link
ln docs/a.txt "docs/hard link"
mkdir -p "$corpus"/{archive-listing,user-menu}
out=$corpus/archive-listing
rm -f "$out"/*
zip -qry "$out/sample.zip" .
tar -cf "$out/sample-dot.tar" .
tar -czf "$out/sample.tgz" -- *
bsdtar --format cpio -cf "$out/sample.cpio" -- *
bsdtar --format 7zip -cf "$out/sample.7z" -- *
tar -cf "$out/climbing.tar" -P --transform 's,^docs/a.txt$,../up.txt,;s,^docs/sub/d.txt$,/abs.txt,' \
    docs/a.txt docs/sub/d.txt
cd "$work"

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
