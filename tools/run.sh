#!/usr/bin/env bash
# Builds Vantry.exe and starts it under Wine. With DISPLAY set it opens there
# and runs until you close it; without, it opens on a private Xvfb, is saved
# as a screenshot, and is closed again.
here=$(dirname "$0")
source "$here/prepare.sh"
source "$here/screenshot.sh"

build_windows_for_tests >/dev/null
had_display=${DISPLAY:-}
start_display
trap 'stop_wine; stop_display' EXIT
prepare_wine_prefix

run_dir=$VANTRY_BUILD/run
mkdir -p "$run_dir"
cp "$VANTRY_BUILD/win64/bin/Vantry.exe" "$run_dir/"
if [ -n "$had_display" ]; then
  echo "Vantry is running on $DISPLAY; close its window to end."
  "$WINE" "$run_dir/Vantry.exe" </dev/null
else
  "$WINE" "$run_dir/Vantry.exe" </dev/null >/dev/null 2>&1 &
  shot=$VANTRY_BUILD/screenshots/vantry-run.png
  capture_window Vantry "$shot"
  echo "No display was set: Vantry ran on a private Xvfb; its window is saved in $shot"
fi
