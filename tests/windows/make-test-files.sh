#!/usr/bin/env bash
# Real files for the Windows tests, made before they run:
#   images/    WIM files made by wimlib-imagex from a small folder, with names
#              of our choosing
#   machines/  sandbox machines whose disk 0 has the recovery type 0x12 in
#              another table entry than the first
#   make-test-files.sh OUT_FOLDER
set -euo pipefail
export LC_ALL=C.UTF-8
out=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
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
capture unnamed.QVX "" none
cp "$out/images/unnamed.QVX" "$out/images/displayname.QVX"
wimlib-imagex info "$out/images/displayname.QVX" 1 --image-property DISPLAYNAME=Shown >/dev/null
wimlib-imagex info "$out/images/displayname.QVX" 1 --image-property NAME=Real >/dev/null
rm -rf "$out/content"

# 0x12 in the second, third or fourth entry of disk 0's table.
make_machine() { # NAME PARTITIONS
  "$top/tools/make-sandbox.sh" "$out/machines/$1" --disk "0:8G:$2" --no-drives
}
make_machine recovery-second 1G/7,1G/12
make_machine recovery-third 1G/7,1G/7,1G/12
make_machine recovery-fourth 1G/7,1G/7,1G/7,1G/12
