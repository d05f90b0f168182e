# Starts an Xvfb display for the Windows programs under Wine (sourced by run-tests, run-bench and demo).
#   orvane_start_xvfb   starts one on a free display and exports DISPLAY; its process id is in ORVANE_XVFB_PID
# Xvfb picks the display number itself (-displayfd), so runs that start displays at the same time never race
# for one.
orvane_start_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  ORVANE_XVFB_PID=$!
  local number=
  for _ in $(seq 100); do
    # The number is written with its line end once the server takes connections.
    if [ "$(wc -l <"$number_file")" -ge 1 ]; then
      number=$(tr -dc 0-9 <"$number_file")
      break
    fi
    kill -0 "$ORVANE_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$number" ]; then
    echo "[xvfb] the X server did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}
