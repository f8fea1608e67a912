#!/usr/bin/env bash
# `make bench`: the program's figures against floors measured in the same run,
# on the default sandbox machine with real images on its data partition.
#   bench.sh WINDOWS_BUILD [RUNS]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-${BENCH_RUNS:-15}}
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
export PATH=$PATH:/usr/sbin:/sbin

"$top/tools/make-sandbox.sh" "$bin/Sandbox"
# 1,000 copies of one real image on drive D, the default machine's data partition.
images=$build/drives/d/BenchImages
work=$(mktemp -d)
trap 'rm -rf "$work" "$images"' EXIT
mkdir -p "$work/content/Documents" "$images"
echo "A letter." >"$work/content/Documents/letter.txt"
wimlib-imagex capture "$work/content" "$work/image.QVX" "Bench image" --compress=fast >/dev/null
for i in $(seq -w 1 1000); do cp "$work/image.QVX" "$images/image$i.QVX"; done

echo "Quorvane.exe: $(stat -c %s "$bin/Quorvane.exe") bytes (target: at most 1,048,576);" \
  "DLLs: $(x86_64-w64-mingw32-objdump -p "$bin/Quorvane.exe" | sed -n 's/.*DLL Name: //p' | paste -sd ' ')"
echo
# Every Wine process of the run, the wine server included, shares one core. A
# request to the server then costs the same in every process; across cores it
# costs from 20 to 300 us, after where each side happens to wake, and the
# figures of two processes could not be compared. A server that already runs
# for the prefix would stay unpinned: its programs end first.
export WINEPREFIX=$build/wineprefix
if ! timeout 2 wineserver -w; then
  echo "bench: waiting for the Wine programs of $WINEPREFIX to end" >&2
  wineserver -w
fi
bench=(taskset -c 0 "$top/tools/wine-run.sh" --prefix "$build/wineprefix" "$bin/quorvane_bench.exe" "$runs"
       'd:\Backup_Image_List.ini' 'd:\BenchImages')
if [[ -n ${DISPLAY:-} ]]; then
  "${bench[@]}"
else
  # The wine server goes before the display does.
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '"$@"; status=$?; wineserver -w; exit $status' bench "${bench[@]}"
fi
