#!/bin/sh
# Builds the tool and starts it under Wine on the current X display
# (DISPLAY); installs what is missing first. Options: --win32 for the 32-bit
# build (needs a kernel that runs 32-bit code).
set -eu
CPK_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$CPK_ROOT"
preset=win64
[ "${1:-}" = "--win32" ] && preset=win32
sh tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "${CPK_JOBS:-2}" --target ClickPKTester
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no X display (DISPLAY is empty); tools/screenshot.sh shows the tool on a private one" >&2
  exit 2
fi
. tools/wine-env.sh
cpk_wine_up
exec env HOME="$CPK_WINEHOME" ${WINELOADER:-wine} "build/$preset/bin/ClickPKTester.exe"
