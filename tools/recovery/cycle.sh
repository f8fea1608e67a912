# shellcheck shell=bash
# Steps of the backup-and-restore cycle that `make run` shows without a
# display, as shell functions for tools/run-sandbox.sh: the user's files on
# drive C, the account of each hand-off, the recovery environment's run and the
# byte-for-byte check of the files afterwards. Source it, then call
#   cycle_setup SANDBOX_FOLDER WINE_PREFIX WORK_FOLDER
# The sandbox machine is the default one of make-sandbox.sh: its system
# partition is Wine's drive C.

cycle_setup() {
  cycle_sandbox=$1
  cycle_prefix=$2
  cycle_work=$3
  cycle_system=$cycle_prefix/drive_c
  cycle_job_file=$cycle_system/Backup_Restore_Config.ini
  cycle_recovery=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/recovery.py
  rm -rf "$cycle_work"
  mkdir -p "$cycle_work/expected"
}

# A Documents folder with a text file and a shopping list on drive C; a copy of
# each is kept as what the restore must bring back.
cycle_put_files() {
  rm -rf "$cycle_system/Documents"
  mkdir -p "$cycle_system/Documents"
  printf 'Notes for the week\r\nMonday: call the garage\r\nTuesday: caf\xc3\xa9 with Ann\r\n' \
    >"$cycle_system/Documents/Notes.txt"
  printf 'milk\r\nbread\r\napples\r\n' >"$cycle_system/Documents/Shopping list.txt"
  cp -a "$cycle_system/Documents" "$cycle_work/expected/"
  cycle_list_files "$cycle_system/Documents"
}

# The text file changed and the shopping list deleted, as a user might.
cycle_change_files() {
  printf 'Notes for the week\r\nall plans cancelled\r\n' >"$cycle_system/Documents/Notes.txt"
  rm -f "$cycle_system/Documents/Shopping list.txt"
  cycle_list_files "$cycle_system/Documents"
}

cycle_list_files() { # FOLDER
  local file
  for file in "$1"/*; do
    printf '     c:\\Documents\\%-18s %3d bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
  done
}

# A value of the job file on drive C ("" when there is none).
cycle_job_value() { # KEY
  [[ -f $cycle_job_file ]] || return 0
  iconv -f UTF-16 -t UTF-8 "$cycle_job_file" | tr -d '\r' | sed -n "s/^$1=//p" | head -n 1
}

# The partition of disk 0 that carries the boot flag, as sfdisk reads it.
cycle_active_partition() {
  PATH=$PATH:/usr/sbin:/sbin sfdisk --dump "$cycle_sandbox/disk0.img" |
    sed -n 's/^[^ ]*\.img\([0-9]*\) :.*bootable.*/\1/p' | paste -sd ' '
}

# What the hand-off left: the job file and the active partition.
cycle_show_handoff() {
  echo "   The job file it wrote, c:\\Backup_Restore_Config.ini:"
  if [[ -f $cycle_job_file ]]; then
    iconv -f UTF-16 -t UTF-8 "$cycle_job_file" | tr -d '\r' | sed 's/^/     /'
  else
    echo "     (none)"
  fi
  echo "   Active partition of disk 0: $(cycle_active_partition) (1 is the recovery partition)"
}

# The restart into the recovery environment; false when the job was not done.
cycle_recover() {
  local status=0
  "$cycle_recovery" "$cycle_sandbox" --prefix "$cycle_prefix" >"$cycle_work/recovery.out" 2>&1 || status=$?
  sed 's/^/     /' "$cycle_work/recovery.out"
  echo "   Active partition of disk 0 afterwards: $(cycle_active_partition)"
  return $status
}

# Each kept file compared with the one on drive C, byte for byte; false when
# one differs or is missing.
cycle_check_files() {
  local file name ok=0
  for file in "$cycle_work/expected/Documents"/*; do
    name=$(basename "$file")
    if [[ ! -f $cycle_system/Documents/$name ]]; then
      echo "     c:\\Documents\\$name: missing"
      ok=1
    elif cmp -s "$file" "$cycle_system/Documents/$name"; then
      echo "     c:\\Documents\\$name: back, the same $(stat -c %s "$file") bytes as before the backup"
    else
      echo "     c:\\Documents\\$name: differs from the file that was backed up"
      ok=1
    fi
  done
  return $ok
}
