#!/usr/bin/env bash
# `make run`: prepares the sandbox machine and starts QuorvaneSandbox.exe under
# Wine. With a display the window stays for a person to use; without one it
# runs under Xvfb and one backup is walked through the real windows (main menu,
# Backup, Next, Start): a picture of each page goes to build/screens/, and the
# job file written and the sandbox disk's partition table are printed.
#   run-sandbox.sh WINDOWS_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
wine_run=("$top/tools/wine-run.sh" --prefix "$build/wineprefix")

"$top/tools/make-sandbox.sh" "$bin/Sandbox"

if [[ -n ${DISPLAY:-} ]]; then
  exec "${wine_run[@]}" "$bin/QuorvaneSandbox.exe"
fi

screens=$top/build/screens
mkdir -p "$screens"
prefix=$build/wineprefix
# The default machine's system partition is Wine's drive C.
job_file=$prefix/drive_c/Backup_Restore_Config.ini
rm -f "$job_file" "$bin/Sandbox/events.log"
export QUORVANE_WINEPREFIX=$prefix
# One backup through the real windows: main menu, Backup, Next, Start.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -e
  "$0" --prefix "$1" "$2/QuorvaneSandbox.exe" &
  program=$!
  "$0" --prefix "$1" "$2/quorvane_walkthrough.exe" "$3"
  wait $program
  WINEPREFIX="$1" wineserver -w
' "${wine_run[0]}" "$prefix" "$bin" "$screens"
pictures=()
for page in main-menu backup-options backup-confirm; do
  convert "$screens/$page.bmp" "$screens/$page.png"
  rm -f "$screens/$page.bmp"
  pictures+=("$screens/$page.png")
done
echo
echo "make run: no display, so the sandbox edition ran under Xvfb and one backup"
echo "was walked through its windows (main menu -> Backup -> Next -> Start)."
echo
echo "Job file written on the system partition (c:\\Backup_Restore_Config.ini):"
if [[ -f $job_file ]]; then
  iconv -f UTF-16 -t UTF-8 "$job_file" | tr -d '\r' | sed 's/^/  /'
else
  echo "  (none)"
fi
echo "Sandbox events: $(tr -d '\r' <"$bin/Sandbox/events.log" 2>/dev/null | paste -sd ' ' || echo none)"
echo
echo "Disk 0 of the sandbox machine as sfdisk reads it (partition 1 is now active):"
PATH=$PATH:/usr/sbin:/sbin sfdisk --json "$bin/Sandbox/disk0.img" | sed 's/^/  /'
echo
echo "Pictures of the pages it passed:"
printf '  %s\n' "${pictures[@]}"
