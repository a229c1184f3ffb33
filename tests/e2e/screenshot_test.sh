#!/usr/bin/env bash
# Starts Vantry.exe under Wine on the test display and saves its window as
# <folder>/vantry.png, the picture the README shows; checks that the picture
# is the window's size and not blank.
set -euo pipefail
exe=$1
out_dir=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/tools/wine-env.sh"
source "$repo/tools/screenshot.sh"

run_dir=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$run_dir"' EXIT
cp "$exe" "$run_dir/Vantry.exe"
"$WINE" "$run_dir/Vantry.exe" </dev/null >/dev/null 2>&1 &
pid=$!
capture_window Vantry "$out_dir/vantry.png"

size=$(identify -format '%wx%h' "$out_dir/vantry.png")
colours=$(identify -format '%k' "$out_dir/vantry.png")
echo "screenshot: $out_dir/vantry.png, $size, $colours colours"
[ "$size" = 216x175 ] || { echo "screenshot: expected 216x175" >&2; exit 1; }
[ "$colours" -gt 20 ] || { echo "screenshot: the window looks blank" >&2; exit 1; }
