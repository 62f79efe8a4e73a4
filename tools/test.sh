#!/bin/sh
# The one test command: installs what is missing, builds the host, win32 and
# win64 configurations, and runs every test: host unit tests (ASan, UBSan),
# then the Windows and end-to-end tests of both targets under Wine on a
# private Xvfb display with one wineserver kept alive.
set -eu
CPK_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$CPK_ROOT"
sh tools/install-deps.sh
. tools/xvfb.sh
. tools/wine-env.sh
cleanup() { cpk_wine_down; cpk_stop_xvfb; }
trap cleanup EXIT INT TERM

jobs=${CPK_JOBS:-2}
passed=0
failed=0
run_ctest() {
  log=build/ctest-$1.log
  if ctest --preset "$1" 2>&1 | tee "$log"; then :; fi
  # ctest's summary line: "N% tests passed, F tests failed out of T"
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  t=$(echo "$line" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
  passed=$((passed + t - f))
  failed=$((failed + f))
}

for preset in host win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

run_ctest host
cpk_start_xvfb
cpk_wine_up
if cpk_can_run_32bit; then
  run_ctest win32
else
  # Wine's 32-bit loader is a 32-bit Linux program; some kernels (sandboxed
  # ones among them) cannot execute those at all. The win32 build is still
  # compiled and linked above; its tests need a kernel that runs 32-bit code.
  echo "win32: NOT RUN - this kernel cannot execute 32-bit programs, so Wine cannot run the 32-bit test binaries"
fi
run_ctest win64

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
