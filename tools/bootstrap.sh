#!/usr/bin/env bash
# Installs, from Debian's packages only, whatever the build and the tests need and
# this machine lacks. Idempotent: on a machine that has everything it only checks.
set -euo pipefail

# command-or-file : package
needs=(
  "cmake:cmake"
  "g++:g++"
  "x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix"
  "x86_64-w64-mingw32-gcc-posix:gcc-mingw-w64-x86-64-posix"
  "x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64"
  "/usr/src/googletest/CMakeLists.txt:googletest"
  "/usr/include/gtest/gtest.h:libgtest-dev"
  "wine:wine"
  "/usr/lib/wine/wine64:wine64"
  "/usr/share/wine/fonts/tahoma.ttf:fonts-wine"
  "Xvfb:xvfb"
  "xvfb-run:xvfb"
  "xauth:xauth"
  "/usr/bin/python3:python3"
  "sfdisk:fdisk"
  "wimlib-imagex:wimtools"
  "identify:imagemagick"
  "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc:fonts-wqy-microhei"
  "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf:fonts-dejavu-extra"
  "wixl:wixl"
  "clang++-19:clang-19"
  "/usr/lib/llvm-19/lib/clang/19/lib/linux/libclang_rt.fuzzer-x86_64.a:libclang-rt-19-dev"
)

missing=()
for entry in "${needs[@]}"; do
  what=${entry%%:*}; pkg=${entry##*:}
  if [[ $what == /* ]]; then
    [[ -e $what ]] || missing+=("$pkg")
  else
    command -v "$what" >/dev/null 2>&1 || missing+=("$pkg")
  fi
done
# /usr/local/bin/convert may be a stand-in; ImageMagick proper ships /usr/bin/convert.
[[ -x /usr/bin/convert ]] || missing+=(imagemagick)

if ((${#missing[@]})); then
  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
  echo "bootstrap: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
