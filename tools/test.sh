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
run_ctest win32
run_ctest win64

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
