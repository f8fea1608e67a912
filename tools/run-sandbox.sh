#!/usr/bin/env bash
# `make run`: prepares the sandbox machine and starts QuorvaneSandbox.exe under
# Wine.
# - With a display the window stays for a person to use. Each time the program
#   ends with a restart that it requested, the machine's recovery environment
#   (tools/recovery) runs, one line says what it did, and the program starts
#   again; closing it without a restart ends `make run`.
# - Without one, everything runs under one Xvfb and a whole backup-and-restore
#   cycle goes through the real windows: files on drive C, a backup, the
#   recovery environment capturing it, the files changed, a restore, the
#   recovery environment restoring it, and the files checked byte for byte. A
#   short account of each step is printed and a picture of each page passed
#   goes to build/screens/run/.
#   run-sandbox.sh WINDOWS_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
prefix=$build/wineprefix
wine_run=("$top/tools/wine-run.sh" --prefix "$prefix")
events=$bin/Sandbox/events.log

# One Xvfb for the whole cycle: every Wine program of the prefix, the prefix's
# creation included, then shares its display.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$1" --cycle
fi

"$top/tools/make-sandbox.sh" "$bin/Sandbox"

restarts() { tr -d '\r' <"$events" 2>/dev/null | grep -c '^restart$' || true; }

if [[ ${2:-} != --cycle ]]; then
  while :; do
    before=$(restarts)
    "${wine_run[@]}" "$bin/QuorvaneSandbox.exe" || true
    (($(restarts) > before)) || break
    output=$("$top/tools/recovery/recovery.py" "$bin/Sandbox" --prefix "$prefix" 2>&1) || true
    echo "make run: restart -> ${output##*$'\n'}"
  done
  exit 0
fi

# --- Without a display: the whole cycle ---------------------------------------
source "$top/tools/recovery/cycle.sh"
cycle_setup "$bin/Sandbox" "$prefix" "$build/cycle"
screens=$top/build/screens/run
mkdir -p "$screens"
rm -f "$cycle_job_file" "$events"
started=$EPOCHREALTIME

finish() { # STATUS MESSAGE
  WINEPREFIX=$prefix wineserver -w
  local pictures=("$screens"/*.bmp)
  if [[ -e ${pictures[0]} ]]; then
    echo
    echo "Pictures of the pages passed:"
    for picture in "${pictures[@]}"; do
      convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
      echo "  ${picture%.bmp}.png"
    done
  fi
  echo
  echo "$2 (took $(awk -v from="$started" -v to="$EPOCHREALTIME" 'BEGIN { printf "%.1f", to - from }') s)"
  exit "$1"
}
failed() { finish 1 "backup and restore cycle: FAILED: $1"; }

# The program and the walkthrough that clicks through its pages as a user
# would; both end when the hand-off restarts the machine.
walk() { # backup | restore IMAGE_FILE_NAME
  "${wine_run[@]}" "$bin/QuorvaneSandbox.exe" &
  local program=$!
  "${wine_run[@]}" "$bin/quorvane_walkthrough.exe" "$1" "$screens" "${@:2}" | sed 's/^/     /' || return 1
  wait $program
}

echo
echo "make run: no display, so the sandbox edition runs under Xvfb for one whole"
echo "backup-and-restore cycle through its windows."
echo
echo "1. Files put on drive C, the system partition:"
cycle_put_files
echo "2. Backup through the windows: main menu -> Backup -> Next -> Start."
walk backup || failed "the backup walk did not end in a hand-off"
cycle_show_handoff
image=$(cycle_job_value Path)
[[ $(cycle_active_partition) == 1 ]] || failed "the backup hand-off did not make partition 1 active"
echo "3. The machine restarts into the recovery environment:"
cycle_recover || failed "the recovery environment did not capture the backup"
echo "4. Windows is back. The text file is changed and the shopping list deleted:"
cycle_change_files
echo "5. Quorvane starts again. Restore through the windows: main menu -> Restore ->"
echo "   the row of ${image##*\\} -> Next -> Start."
walk restore "${image##*\\}" || failed "the restore walk did not end in a hand-off"
cycle_show_handoff
[[ $(cycle_active_partition) == 1 ]] || failed "the restore hand-off did not make partition 1 active"
echo "6. The machine restarts into the recovery environment:"
cycle_recover || failed "the recovery environment did not restore the backup"
echo "7. The files on drive C:"
cycle_check_files || failed "the files on drive C are not the ones backed up"
echo "   Sandbox events: $(tr -d '\r' <"$events" | paste -sd ',' | sed 's/,/; /g')"
finish 0 "backup and restore cycle: ok"
