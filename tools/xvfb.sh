# Sourced by the start and test scripts. start_xvfb SCREEN WHO: starts Xvfb on the first free display
# (the server picks it and writes its number once it accepts clients), sets xvfb_pid and exports
# DISPLAY; fails with the server's output when it does not come up. Needs $work.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local display="" n
  for _ in $(seq 100); do
    n=$(cat "$work/display" 2>/dev/null || true)
    if [[ $n =~ ^[0-9]+$ ]]; then display=":$n"; break; fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$display" ]; then
    echo "$2: Xvfb did not come up; its output:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  export DISPLAY=$display
}
