#!/usr/bin/env bash
# Real files for the Windows tests, made before they run:
#   images/  WIM files made by wimlib-imagex from a small folder, with names
#            of our choosing
#   make-test-files.sh OUT_FOLDER
set -euo pipefail
export LC_ALL=C.UTF-8
out=$1
rm -rf "$out"
mkdir -p "$out/images" "$out/content/sub"
echo "some content" >"$out/content/a.txt"
echo "more" >"$out/content/sub/b.txt"

capture() { # FILE NAME [DESCRIPTION] COMPRESSION
  wimlib-imagex capture "$out/content" "$out/images/$1" "${@:2:$#-2}" --compress="${!#}" >/dev/null
}
capture monday.QVX "Monday" "weekly backup" none
capture accents.QVX "Café été & <co>" fast
capture cjk.QVX "备份 周一" "说明" maximum
rm -rf "$out/content"

