#!/usr/bin/env bash
# The release under Wine, in a Wine prefix of its own, as a PC maker or an IT
# department would use it. One step per CTest test (tests/package/CMakeLists.txt):
#   test-package.sh install BUILD VERSION  a fresh prefix; msiexec /i installs every
#                                          file, the shortcut and the uninstall entry
#   test-package.sh zip BUILD VERSION      the portable zip holds exactly those files
#   test-package.sh upgrade BUILD VERSION  a newer package replaces them, an older one
#                                          is refused, msiexec /x leaves nothing behind
set -euo pipefail
step=$1 build=$2 version=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$build/package-wineprefix
installed="$prefix/drive_c/Program Files/Quorvane"
work=$build/package-test
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The package's shortcut must make no menu entry on the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

failures=0
check() { # check WHAT COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
fails() { ! "$@"; }
in_prefix() { "$root/tools/wine-run.sh" --prefix "$prefix" "$@" </dev/null; }
msiexec_quiet() { in_prefix msiexec "$@" /qn; }

# Start menu shortcuts called Quorvane, the machine's or the user's (Wine puts a
# per-machine one into the user's menu).
shortcuts() { find "$prefix/drive_c" -path '*/Start Menu/Programs/Quorvane.lnk'; }

# "name|publisher|version|product code" of each Quorvane entry in Programs and Features.
entries() {
  local key
  in_prefix reg query "$uninstall" | tr -d '\r' | awk '/\\Uninstall\\/' | while read -r key; do
    in_prefix reg query "$key" | tr -d '\r' | awk -F '    ' -v code="${key##*\\}" '
        NF >= 4 { value[$2] = $4 }
        END { if (value["DisplayName"] == "Quorvane")
                  print value["DisplayName"] "|" value["Publisher"] "|" value["DisplayVersion"] "|" code }'
  done
}
# The same without the product code.
shown_entries() { entries | cut -d '|' -f 1-3; }

step_install() {
  # A fresh prefix: nothing left from an earlier run.
  if [[ -d $prefix ]]; then WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; fi
  rm -rf "$prefix"
  check "msiexec /i Quorvane-$version.msi /qn" msiexec_quiet /i "$build/Quorvane-$version.msi"
  check "every file in Program Files\\Quorvane with the build's bytes" diff -r "$build/release/Quorvane" "$installed"
  check "one Start menu shortcut" test "$(shortcuts | wc -l)" -eq 1
  check "the shortcut starts the installed program" grep -aqF 'C:\Program Files\Quorvane\Quorvane.exe' "$(shortcuts)"
  local entry
  entry=$(entries)
  check "one uninstall entry: Quorvane, by Quorvane, $version" test "${entry%|*}" = "Quorvane|Quorvane|$version"
  # Windows Installer keeps the product's icon, which Programs and Features and
  # the shortcut show, in its folder for the product.
  local code=${entry##*|}
  check "the entry's icon is the program's" cmp -s "$root/resources/quorvane.ico" "$prefix/drive_c/windows/Installer/$code/Quorvane.ico"
  check "the shortcut shows that icon" grep -qF 'C:\windows\Installer\'"$code"'\Quorvane.ico' <(strings -e l "$(shortcuts)")
}

step_zip() {
  rm -rf "$work/zip"
  mkdir -p "$work/zip"
  (cd "$work/zip" && cmake -E tar xf "$build/Quorvane-$version-portable.zip")
  check "the zip holds one folder, Quorvane" test "$(ls -A "$work/zip")" = Quorvane
  check "the zip holds exactly the installed files" diff -r "$installed" "$work/zip/Quorvane"
}

step_upgrade() {
  local major minor patch
  IFS=. read -r major minor patch <<<"$version"
  local newer=$major.$minor.$((patch + 1))
  # The newer version's files: a skin file no longer shipped, a language file changed.
  rm -rf "$work/resources" "$work/release"
  mkdir -p "$work/resources"
  cp -r "$root/resources/Data" "$root/resources/Lang" "$root/resources/quorvane.ico" "$work/resources/"
  rm "$work/resources/Data/$(ls "$work/resources/Data" | head -n 1)"
  printf ';\0\r\0\n\0' >>"$work/resources/Lang/Quorvane/409.ini"
  cmake -DVERSION="$newer" -DPROGRAM="$build/bin/Quorvane.exe" -DRESOURCES="$work/resources" -DOUTPUT="$work" \
    -P "$root/package/MakePackage.cmake" >/dev/null

  check "msiexec /i Quorvane-$newer.msi /qn" msiexec_quiet /i "$work/Quorvane-$newer.msi"
  check "the newer files replaced the older ones" diff -r "$work/release/Quorvane" "$installed"
  check "one uninstall entry, version $newer" test "$(shown_entries)" = "Quorvane|Quorvane|$newer"
  check "Quorvane-$version.msi does not install over $newer" fails msiexec_quiet /i "$build/Quorvane-$version.msi"
  check "$newer stays as it was" diff -r "$work/release/Quorvane" "$installed"
  check "$newer stays the one entry" test "$(shown_entries)" = "Quorvane|Quorvane|$newer"

  local code
  code=$(entries | cut -d '|' -f 4)
  check "msiexec /x $code /qn" msiexec_quiet /x "$code"
  check "no Program Files\\Quorvane left" test ! -e "$installed"
  check "no shortcut left" test -z "$(shortcuts)"
  check "no uninstall entry left" test -z "$(entries)"
}

case $step in
  install | zip | upgrade) "step_$step" ;;
  *) echo "unknown step $step" >&2; exit 2 ;;
esac
((failures == 0))
