#!/bin/sh
# Starts the tool on a private Xvfb display and writes a PNG of the screen.
# Usage: tools/screenshot.sh [out.png] [locale], e.g. zh_TW.UTF-8 or
# zh_CN.UTF-8 (Wine takes the system language from it; needs locales-all).
set -eu
CPK_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$CPK_ROOT"
out=$(realpath -m "${1:-build/screenshot.png}")
locale=${2:-en_US.UTF-8}
sh tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "${CPK_JOBS:-2}" --target ClickPKTester
. tools/xvfb.sh
# A prefix of its own: stopping its wineserver afterwards disturbs no test run.
CPK_PREFIX_NAME=wineprefix-shot
. tools/wine-env.sh
cleanup() { cpk_wine_down; cpk_stop_xvfb; true; }
trap cleanup EXIT INT TERM
cpk_start_xvfb
cpk_wine_up
LC_ALL=$locale LANG=$locale HOME="$CPK_WINEHOME" ${WINELOADER:-wine} build/win64/bin/ClickPKTester.exe &
tool=$!
sleep "${CPK_SHOT_DELAY:-6}"
import -window root "$out"
kill "$tool" 2>/dev/null || true
echo "screenshot: $out"
