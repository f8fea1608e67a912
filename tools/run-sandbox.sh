#!/usr/bin/env bash
# `make run`: prepares the sandbox machine and starts QuorvaneSandbox.exe under
# Wine. With a display the window stays for a person to use. Without one it
# runs under Xvfb and walks a backup and then a restore through the real
# windows, printing each job file and the active partition after each hand-off
# and saving a picture of every page passed in build/screens/run/.
#   run-sandbox.sh WINDOWS_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
prefix=$build/wineprefix
wine_run=("$top/tools/wine-run.sh" --prefix "$prefix")
export PATH=$PATH:/usr/sbin:/sbin

"$top/tools/make-sandbox.sh" "$bin/Sandbox"

if [[ -n ${DISPLAY:-} ]]; then
  exec "${wine_run[@]}" "$bin/QuorvaneSandbox.exe"
fi

screens=$top/build/screens/run
mkdir -p "$screens"
# The default machine's system partition is Wine's drive C, its data partition d.
job_file=$prefix/drive_c/Backup_Restore_Config.ini
drive_d=$build/drives/d

# One walk through the windows: the program and the walkthrough under one Xvfb.
walk() {
  rm -f "$job_file" "$bin/Sandbox/events.log"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" --prefix "$1" "$2/QuorvaneSandbox.exe" &
    program=$!
    status=0
    "$0" --prefix "$1" "$2/quorvane_walkthrough.exe" "${@:3}" || status=$?
    wait $program || true
    WINEPREFIX="$1" wineserver -w
    exit $status
  ' "${wine_run[0]}" "$prefix" "$bin" "$@"
}

# What the hand-off left: the job file and the partition that boots next.
report_hand_off() {
  echo "  job file c:\\Backup_Restore_Config.ini:"
  if [[ -f $job_file ]]; then
    iconv -f UTF-16 -t UTF-8 "$job_file" | tr -d '\r' | sed 's/^\xEF\xBB\xBF//; s/^/    /'
  else
    echo "    (none)"
  fi
  local active
  active=$(sfdisk -d "$bin/Sandbox/disk0.img" | sed -n 's/^.*img\([0-9]\) :.*bootable.*$/\1/p')
  echo "  active partition of disk 0 (sfdisk): ${active:-none}"
  echo "  sandbox events: $(tr -d '\r' <"$bin/Sandbox/events.log" 2>/dev/null | paste -sd ' ' || echo none)"
}

echo
echo "make run: no display, so the sandbox edition runs under Xvfb and a backup and a"
echo "restore are walked through its windows."
echo
echo "1. Backup: main menu -> Backup -> Next -> Start"
walk backup "$screens"
report_hand_off

echo
echo "2. Restore: a backup image on drive D, listed in D:\\Backup_Image_List.ini;"
echo "   main menu -> Restore -> the image's row -> Next -> Start"
"$top/tools/make-sandbox.sh" "$bin/Sandbox" # partition 2 boots again
sample=$(mktemp -d)
trap 'rm -rf "$sample"' EXIT
mkdir -p "$sample/Documents" "$drive_d/Backups"
echo "A letter kept in the backup." >"$sample/Documents/letter.txt"
wimlib-imagex capture "$sample" "$drive_d/Backups/monday.QVX" "Monday, before the update" --compress=fast >/dev/null
{
  printf '\xff\xfe'
  printf '[BackupImage]\r\nTotalImageCount=1\r\n[Image0]\r\nPath=D:\\Backups\\monday.QVX\r\nPartID=3\r\nDiskID=0\r\n' |
    iconv -f UTF-8 -t UTF-16LE
} >"$drive_d/Backup_Image_List.ini"
walk restore "$screens" monday.QVX
report_hand_off

echo
echo "Pictures of the pages passed:"
for picture in "$screens"/*.bmp; do
  convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
  echo "  ${picture%.bmp}.png"
done
