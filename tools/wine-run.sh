#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix.
#   wine-run.sh --prefix DIR program.exe [arguments...]
# The prefix is created on first use: no Mono or Gecko prompts, quiet, windows
# unmanaged (no 2-second wait when a window closes under a bare Xvfb), no crash
# dialog, and Wine's own Tahoma known to it.
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
exec wine "$@"
