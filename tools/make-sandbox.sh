#!/usr/bin/env bash
# Prepares a sandbox machine: the folder that QuorvaneSandbox.exe treats as the
# PC it works on. It holds sparse disk image files partitioned with sfdisk and
# machine.ini, which names the images ([Disks] N=file) and the drive letters of
# their partitions ([Volumes] letter=disk,partition). Under Wine each letter
# must also be a drive: letters other than c (Wine's own drive C) become links
# in the prefix's dosdevices to folders of the build tree.
#
# Partition 1 of disk 0, the recovery partition, has no drive letter: Windows
# does not show it. The folder recovery/ beside machine.ini stands for it and
# holds the factory image FactoryImage.QVX, captured with wimlib-imagex from a
# small set of files that a new machine would hold. Only the sandbox's recovery
# environment (tools/recovery) reads it.
#
#   make-sandbox.sh SANDBOX_FOLDER [options]
#
# Without --disk the default machine is prepared:
#   disk 0, 200 GiB: 1 recovery (type 12, 20 GiB), 2 system (type 7, 100 GiB,
#                    active, letter c), 3 data (type 7, 50 GiB, letter d)
#   disk 1, 100 GiB: 1 (type 7, the whole disk, letter e)
#
# Options:
#   --disk N:SIZE:PARTITIONS  disk N (0..9) of SIZE (as truncate takes it: 200G).
#                             PARTITIONS: comma-separated SIZE/TYPE (hex), * after
#                             the type for the active one, no SIZE for the rest
#                             of the disk: 20G/12,100G/7*,/7
#   --volume L=D,P            letter L stands on partition P of disk D
#                             (without --disk and --volume: c=0,2 d=0,3 e=1,1)
#   --prefix DIR              the Wine prefix that gets the letters
#                             (default: <build>/wineprefix for <build>/bin/Sandbox)
#   --drives DIR              where the letters' folders are made
#                             (default: <build>/drives)
#   --no-drives               leave every Wine prefix alone
# Disk images, machine.ini and the factory image are made anew on every run;
# the drives' folders and what they hold are kept.
set -euo pipefail
export PATH=$PATH:/usr/sbin:/sbin

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//' >&2; exit 2; }

(($# >= 1)) || usage
sandbox=$1
shift
[[ $sandbox != -* ]] || usage
mkdir -p "$sandbox"
sandbox=$(cd "$sandbox" && pwd)
build=$(dirname "$(dirname "$sandbox")")
top=$(cd "$(dirname "$0")/.." && pwd)

disks=()
volumes=()
prefix=$build/wineprefix
drives=$build/drives
link_drives=1
while (($#)); do
  case $1 in
    --disk) disks+=("$2"); shift 2 ;;
    --volume) volumes+=("${2,}"); shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --drives) drives=$2; shift 2 ;;
    --no-drives) link_drives=0; shift ;;
    *) usage ;;
  esac
done
if ((${#disks[@]} == 0)); then
  disks=("0:200G:20G/12,100G/7*,50G/7" "1:100G:/7")
  ((${#volumes[@]})) || volumes=("c=0,2" "d=0,3" "e=1,1")
fi

# The sfdisk script of one disk from its PARTITIONS list.
sfdisk_script() {
  local number=$1 list=$2 item size type
  printf 'label: dos\nlabel-id: 0x5ab0d0%02x\nunit: sectors\n' "$number"
  IFS=, read -r -a items <<<"$list"
  for item in "${items[@]}"; do
    size=${item%%/*}
    type=${item#*/}
    printf '%s type=%s%s\n' "${size:+size=$size,}" "${type%\*}" "$([[ $type == *\* ]] && echo ', bootable')"
  done
}

machine=$sandbox/machine.ini
{
  printf '[Disks]\r\n'
  for disk in "${disks[@]}"; do
    IFS=: read -r number size partitions <<<"$disk"
    [[ $number =~ ^[0-9]$ && -n $size ]] || { echo "make-sandbox: bad --disk $disk" >&2; exit 2; }
    image=disk$number.img
    rm -f "$sandbox/$image"
    truncate -s "$size" "$sandbox/$image"
    if [[ -n $partitions ]]; then
      sfdisk_script "$number" "$partitions" |
        sfdisk --quiet --no-reread --no-tell-kernel "$sandbox/$image" >/dev/null
    fi
    printf '%s=%s\r\n' "$number" "$image"
  done
  printf '[Volumes]\r\n'
  for volume in "${volumes[@]}"; do
    [[ $volume =~ ^[a-z]=[0-9],[0-9]+$ ]] || { echo "make-sandbox: bad --volume $volume" >&2; exit 2; }
    printf '%s\r\n' "$volume"
  done
} >"$machine.new"
mv "$machine.new" "$machine"

# The factory image on the recovery partition: the files of a new machine.
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
mkdir -p "$fresh/Documents"
printf 'Welcome to your new PC.\r\nThis file came with it from the factory.\r\n' >"$fresh/Documents/Welcome.txt"
printf 'Factory state of the Quorvane sandbox machine.\r\n' >"$fresh/Readme.txt"
mkdir -p "$sandbox/recovery"
rm -f "$sandbox/recovery/FactoryImage.QVX"
wimlib-imagex capture "$fresh" "$sandbox/recovery/FactoryImage.QVX" "Factory image" \
  --compress=LZX --check >/dev/null

((link_drives)) || exit 0
letters=()
for volume in "${volumes[@]}"; do
  [[ ${volume%%=*} == c ]] || letters+=("${volume%%=*}")
done
((${#letters[@]})) || exit 0

# The prefix is created on its first use; make sure it is there before its
# dosdevices is changed.
# Preparing it starts no program, so no display-less wine server stays behind.
"$top/tools/wine-run.sh" --prefix "$prefix" --prepare
for letter in "${letters[@]}"; do
  link=$prefix/dosdevices/$letter:
  if [[ -e $link && ! -L $link ]]; then
    echo "make-sandbox: $link is not a link; left alone" >&2
    exit 1
  fi
  mkdir -p "$drives/$letter"
  ln -sfn "$(cd "$drives/$letter" && pwd)" "$link"
done
