# Sourced: the checkout's own Wine prefix and home, shared by the test
# runs, the run command and the screenshot command (see wine-run.sh.in).
CPK_ROOT=${CPK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export WINEPREFIX="$CPK_ROOT/build/${CPK_PREFIX_NAME:-wineprefix}"
export CPK_WINEHOME="$CPK_ROOT/build/winehome"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
# True when this kernel runs 32-bit code, which Wine's 32-bit loader needs.
cpk_can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
if cpk_can_run_32bit; then
  cpk_wine() { HOME="$CPK_WINEHOME" wine "$@"; }
else
  export WINELOADER=/usr/lib/wine/wine64
  cpk_wine() { HOME="$CPK_WINEHOME" /usr/lib/wine/wine64 "$@"; }
fi
cpk_wineserver() { HOME="$CPK_WINEHOME" wineserver "$@"; }
# Creates the prefix once (about half a minute) and keeps one wineserver
# alive for everything that follows, so each test binary starts fast.
cpk_wine_up() {
  mkdir -p "$CPK_WINEHOME"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    cpk_wine wineboot --init >/dev/null 2>&1 || true
    # Chinese captions in the window font: link a CJK font behind Tahoma.
    cpk_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
  fi
  cpk_wineserver -p || true
  cpk_wine wineboot >/dev/null 2>&1 || true
}
cpk_wine_down() {
  cpk_wineserver -k 2>/dev/null || true
}
