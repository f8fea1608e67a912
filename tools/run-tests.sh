#!/usr/bin/env bash
# Runs every test of the build trees through CTest and ends with one summary line.
#   run-tests.sh NATIVE_BUILD WINDOWS_BUILD FUZZ_BUILD
set -uo pipefail
native=$1
windows=$2
fuzz=$3
jobs=$(nproc)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

echo "== native tests (portable core, AddressSanitizer and UndefinedBehaviorSanitizer)"
ctest --test-dir "$native" --output-on-failure -j "$jobs" 2>&1 | tee -a "$log"
native_status=${PIPESTATUS[0]}

echo "== fuzz targets, each seed corpus replayed once"
ctest --test-dir "$fuzz" --output-on-failure -j "$jobs" 2>&1 | tee -a "$log"
fuzz_status=${PIPESTATUS[0]}

echo "== Windows tests (under Wine)"
# Windows need a display: a private Xvfb when none is there.
if [[ -n ${DISPLAY:-} ]]; then
  ctest --test-dir "$windows" --output-on-failure -j "$jobs" 2>&1 | tee -a "$log"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$windows" --output-on-failure -j "$jobs" 2>&1 | tee -a "$log"
fi
windows_status=${PIPESTATUS[0]}

# "100% tests passed, 0 tests failed out of 42" from each run, added up.
read -r passed failed < <(awk '/tests passed, .* tests failed out of/ {
    total += $NF; failed += $4 } END { print total - failed, failed + 0 }' "$log")
echo
if ((native_status != 0 || windows_status != 0 || fuzz_status != 0)) && ((failed == 0)); then
  failed=1 # a run that broke before its summary
fi
echo "$passed passed, $failed failed"
((native_status == 0 && windows_status == 0 && fuzz_status == 0))
