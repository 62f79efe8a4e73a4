# Sourced: starts a private Xvfb display for this shell and exports DISPLAY.
# The caller's EXIT trap should call cpk_stop_xvfb.
cpk_start_xvfb() {
  n=${CPK_XVFB_DISPLAY:-$((90 + $$ % 400))}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  CPK_XVFB_PID=$!
  i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ]; do
    i=$((i + 1))
    if [ $i -gt 100 ]; then echo "Xvfb did not start" >&2; return 1; fi
    sleep 0.1
  done
  export DISPLAY=":$n"
}
cpk_stop_xvfb() {
  if [ -n "${CPK_XVFB_PID:-}" ]; then kill "$CPK_XVFB_PID" 2>/dev/null || true; wait "$CPK_XVFB_PID" 2>/dev/null || true; fi
}
