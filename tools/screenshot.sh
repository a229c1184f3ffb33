# Sourced: saves the X window titled $1 as the PNG $2, once it has been on
# screen for a moment. Fails when no such window appears within 15 s.
capture_window() {
  local title=$1 out=$2 geometry= i
  for i in $(seq 150); do
    geometry=$(xwininfo -name "$title" 2>/dev/null | sed -n 's/^ *-geometry \([0-9]*x[0-9]*\)[+-]\([0-9]*\)[+-]\([0-9]*\).*/\1+\2+\3/p' || true)
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  [ -n "$geometry" ] || { echo "screenshot: no window \"$title\"" >&2; return 1; }
  # Wine copies a window's painting to the screen once its thread has idled a while.
  sleep 1
  mkdir -p "$(dirname "$out")"
  import -window root -crop "$geometry" +repage "$out"
}
