#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix.
#   wine-run.sh --prefix DIR program.exe [arguments...]
#   wine-run.sh --prefix DIR --prepare     only make the prefix ready
# The prefix is created on first use: no Mono or Gecko prompts, quiet, windows
# unmanaged (no 2-second wait when a window closes under a bare Xvfb), no crash
# dialog, and Wine's own Tahoma known to it. The language files name the faces
# of Windows: Chinese and Korean ones stand for a CJK font of Debian's here, and
# Tahoma gets a Greek-capable font linked, since Wine's Tahoma has no Greek.
set -euo pipefail
prefix=
if [[ ${1:-} == --prefix ]]; then prefix=$2; shift 2; fi
prefix=${prefix:-${QUORVANE_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}}
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [[ ! -f $WINEPREFIX/.quorvane-ready ]]; then
  mkdir -p "$WINEPREFIX"
  (
    # One creator at a time; the others wait and then find it ready.
    flock 9
    if [[ ! -f $WINEPREFIX/.quorvane-ready ]]; then
      wineboot -i >/dev/null 2>&1 || true
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      for f in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.ttc; do
        [[ -e $f ]] && ln -sf "$f" "$WINEPREFIX/drive_c/windows/Fonts/"
      done
      wineserver -w
      touch "$WINEPREFIX/.quorvane-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# The faces the language files name (tools/wine-fonts.reg). Wine writes its own
# font links anew whenever a program starts under another locale than the last
# one, so the links are put back then, in a process of that locale: the
# program that follows keeps them.
locale_now=${LC_ALL:-${LANG:-C}}
if [[ $(cat "$WINEPREFIX/.quorvane-fonts-locale" 2>/dev/null) != "$locale_now" ]]; then
  (
    flock 9
    if [[ $(cat "$WINEPREFIX/.quorvane-fonts-locale" 2>/dev/null) != "$locale_now" ]]; then
      fonts=$(cd "$(dirname "$0")" && pwd)/wine-fonts.reg
      wine regedit /S "Z:${fonts//\//\\}" >/dev/null 2>&1
      [[ -n ${DISPLAY:-} ]] || wineserver -w
      echo "$locale_now" >"$WINEPREFIX/.quorvane-fonts-locale"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# A wine server started without a display and still alive would make a window
# program started next in the prefix end at once, unseen: preparing runs no
# program, and a program run without a display waits for its server to end.
[[ ${1:-} == --prepare ]] && exit 0
if [[ -n ${DISPLAY:-} ]]; then
  exec wine "$@"
fi
# Without a display the server goes with the program, for the same reason.
status=0
wine "$@" || status=$?
wineserver -w
exit $status
